#include "ui/outputannouncement_notification.h"

void raisePlatformAnnouncement(QWidget *, const QString &)
{
    // AT-SPI screen readers, Orca among them, read a notification as it appears: nothing more.
}

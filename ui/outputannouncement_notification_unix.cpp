#include "ui/outputannouncement.h"

void OutputAnnouncement::raisePlatformAnnouncement(QWidget *, const QString &)
{
    // AT-SPI screen readers, Orca among them, read a notification as it appears: nothing more.
}

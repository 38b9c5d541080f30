#include "support/heardannouncements.h"

#include <QAccessibleAnnouncementEvent>

QString announcedText(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::Announcement)
        return QString();
    return static_cast<QAccessibleAnnouncementEvent *>(event)->message();
}

#include "support/heardannouncements.h"

#include <QAccessible>

// A notification is read as it appears.
QString announcedText(QAccessibleEvent *event)
{
    QAccessibleInterface *object = event->accessibleInterface();
    if (event->type() != QAccessible::ObjectShow || !object
        || object->role() != QAccessible::Notification)
        return QString();
    return object->text(QAccessible::Name);
}

#include "ui/outputannouncement_notification.h"

#include <QAccessible>
#include <QWidget>

void raisePlatformAnnouncement(QWidget *notification, const QString &text)
{
    // Qt's UI Automation bridge raises a change of a control's value to a text as a UI
    // Automation notification, which Narrator and NVDA read wherever the focus is; it sends no
    // event for a control that appears.
    QAccessibleValueChangeEvent event(notification, text);
    QAccessible::updateAccessibility(&event);
}

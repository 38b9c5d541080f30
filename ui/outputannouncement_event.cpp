#include "ui/outputannouncement.h"

#include <QAccessibleAnnouncementEvent>
#include <QWidget>

// Qt 6.8 and later hand an announcement to the platform's screen readers as one: AT-SPI's
// announcement, which Orca reads wherever the focus is, and a UI Automation notification, which
// Narrator and NVDA read. It comes from the output box: Orca drops a second announcement from a
// plain container that follows the first within 0.1 s, but none from a text box.
void OutputAnnouncement::say(const QString &text)
{
    QAccessibleAnnouncementEvent event(m_output, text);
    QAccessible::updateAccessibility(&event);
}

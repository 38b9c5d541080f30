#include "ui/outputannouncement.h"

#include <QTimer>
#include <QWidget>

OutputAnnouncement::OutputAnnouncement(QWidget *output) : QObject(output), m_output(output) { }

void OutputAnnouncement::announce(const QString &before, const QString &after)
{
    if (before.isEmpty() && after.isEmpty())
        return;
    const int write = ++m_writes;
    if (!after.isEmpty()) {
        say(after);
        return;
    }
    QTimer::singleShot(0, this, [this, write] {
        if (write == m_writes)
            say(tr("blank"));
    });
}

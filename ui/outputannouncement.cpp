#include "ui/outputannouncement.h"

#include <QAccessibleWidget>
#include <QTimer>

namespace {

QAccessibleInterface *announcementFactory(const QString &className, QObject *object)
{
    if (className == u"OutputAnnouncement")
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

OutputAnnouncement::OutputAnnouncement(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(announcementFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("OutputAnnouncement"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void OutputAnnouncement::announce(const QString &before, const QString &after)
{
    if (before.isEmpty() && after.isEmpty())
        return;
    const int write = ++m_writes;
    if (!after.isEmpty()) {
        appear(after);
        return;
    }
    QTimer::singleShot(0, this, [this, write] {
        if (write == m_writes)
            appear(tr("blank"));
    });
}

void OutputAnnouncement::appear(const QString &text)
{
    // A screen reader reads a notification as it appears.
    hide();
    setAccessibleName(text);
    QWidget::show();
    raisePlatformAnnouncement(text);
    // Said, it goes again: a screen reader's user browsing the window meets the output box
    // alone, not a stale copy of what it said. The reader has its event and reads the name,
    // which stays, whenever it comes to it.
    QTimer::singleShot(0, this, &QWidget::hide);
}

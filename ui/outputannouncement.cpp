#include "ui/outputannouncement.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace {

const auto NotificationName = QStringLiteral("OutputAnnouncement");

// How long a notification stays once it has appeared. Each write has a notification of its
// own, and it goes only once a screen reader has long read it: Orca drops an appearance that
// is followed, before it has come to it, by the same object disappearing. Then a user browsing
// the window meets the output box alone, not a stale copy of what it said.
constexpr int NotificationLifetimeMs = 5000;

QAccessibleInterface *notificationFactory(const QString &, QObject *object)
{
    if (object->isWidgetType() && object->objectName() == NotificationName)
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

OutputAnnouncement::OutputAnnouncement(QWidget *surface) : QObject(surface), m_surface(surface)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);
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
    auto *notification = new QWidget(m_surface);
    notification->setObjectName(NotificationName);
    notification->setFocusPolicy(Qt::NoFocus);
    notification->setAttribute(Qt::WA_TransparentForMouseEvents);
    notification->setGeometry(0, 0, 0, 0);
    notification->setAccessibleName(text);
    // A screen reader reads a notification as it appears.
    notification->show();
    raisePlatformAnnouncement(notification, text);
    QTimer::singleShot(NotificationLifetimeMs, notification, &QObject::deleteLater);
}

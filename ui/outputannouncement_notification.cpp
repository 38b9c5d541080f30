#include "ui/outputannouncement.h"
#include "ui/outputannouncement_notification.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

// Qt before 6.8 has no announcement event, and its accessibility bridge sends a changed name or
// description as a reference to the object rather than the text. A notification that appears is
// read at once (Orca says "notification" and the text): each write is one, with no size, so
// nothing changes on the screen. The Qt workarounds' table in docs/desktops.md has this one too.

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

void OutputAnnouncement::say(const QString &text)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFactory);
        return true;
    }();
    Q_UNUSED(installed);

    // In the window's client area: a disabled output box would disable it too.
    auto *notification = new QWidget(m_output->parentWidget());
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

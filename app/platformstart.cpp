#include "app/platformstart.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category; // null where Qt gave none
    QString text;

    QMessageLogContext context() const
    {
        return QMessageLogContext(nullptr, 0, nullptr,
                                  category.isNull() ? nullptr : category.constData());
    }
};

std::mutex heldMutex;
bool holding = false;
QList<HeldMessage> heldMessages;
QtMessageHandler qtHandler = nullptr;

// The name in one of Qt's texts, such as the platform in 'Could not find the Qt platform plugin
// "bogus" in ""'.
QString captured(const QString &text, const QRegularExpression &pattern)
{
    return pattern.match(text).captured(1);
}

// One line for the user, after what Qt said: what to do, for the first cause Qt named. A
// platform missing comes first, since it is what stops even a display that is there.
QByteArray advice(const QString &fatal)
{
    static const QRegularExpression missing(
            QStringLiteral(R"re(^Could not find the Qt platform plugin "([^"]*)")re"));
    static const QRegularExpression unloaded(
            QStringLiteral(R"re(^Could not load the Qt platform plugin "([^"]*)".*even though)re"));
    static const QRegularExpression available(
            QStringLiteral(R"re(Available platform plugins are: ([^\n]*)\.)re"));
    QString missingPlatform, unloadedPlatform;
    bool unreachable = false;
    for (const HeldMessage &message : std::as_const(heldMessages)) {
        if (missingPlatform.isEmpty())
            missingPlatform = captured(message.text, missing);
        if (unloadedPlatform.isEmpty())
            unloadedPlatform = captured(message.text, unloaded);
        // Qt's X11 and Wayland clients, when the display named cannot be connected to.
        unreachable = unreachable || message.text.startsWith(u"could not connect to display")
                || message.text.startsWith(u"Failed to create wl_display");
    }

    if (!missingPlatform.isEmpty()) {
        const QStringList platforms = captured(fatal, available).split(QStringLiteral(", "));
        // Every name of Qt's Wayland client begins so, and it comes in a package of its own.
        if (missingPlatform.startsWith(u"wayland") && !platforms.contains(u"wayland"))
            return "Qt's Wayland platform is not installed: install the package qt6-wayland";
        return "Qt has no platform \"" + missingPlatform.toLocal8Bit()
                + "\": name one of those above in QT_QPA_PLATFORM or -platform, or neither";
    }
    if (unreachable) {
        const QByteArray x = qgetenv("DISPLAY"), wayland = qgetenv("WAYLAND_DISPLAY");
        const QByteArray displays = x.isEmpty() && wayland.isEmpty()
                ? QByteArrayLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set")
                : "DISPLAY=" + x + ", WAYLAND_DISPLAY=" + wayland;
        return "no display could be reached (" + displays
                + "); start it from a desktop session, or on a virtual display with xvfb-run -a "
                  "tallyvex";
    }
    if (!unloadedPlatform.isEmpty())
        return "Qt's platform \"" + unloadedPlatform.toLocal8Bit()
                + "\" could not be loaded; QT_DEBUG_PLUGINS=1 tallyvex says why";
    return "Qt could not start a platform for the window";
}

// What Qt said meanwhile, as it would have said it.
void sayHeld(const QList<HeldMessage> &messages)
{
    for (const HeldMessage &message : messages)
        qtHandler(message.type, message.context(), message.text);
}

void holdStartMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    std::unique_lock lock(heldMutex);
    if (!holding) {
        lock.unlock();
        qtHandler(type, context, text);
        return;
    }
    if (type != QtFatalMsg) {
        heldMessages.append({ type, QByteArray(context.category), text });
        return;
    }
    // Qt found no platform it could start: what it said, its fatal message too, without its
    // abort.
    sayHeld(heldMessages);
    std::fputs(qFormatLogMessage(type, context, text).trimmed().toLocal8Bit() + "\n", stderr);
    std::fputs("tallyvex: " + advice(text) + "\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

PlatformStartGuard::PlatformStartGuard()
{
    const std::lock_guard lock(heldMutex);
    holding = true;
    qtHandler = qInstallMessageHandler(holdStartMessage);
}

PlatformStartGuard::~PlatformStartGuard()
{
    QList<HeldMessage> messages;
    {
        const std::lock_guard lock(heldMutex);
        holding = false;
        qInstallMessageHandler(qtHandler);
        messages.swap(heldMessages);
    }
    sayHeld(messages);
}

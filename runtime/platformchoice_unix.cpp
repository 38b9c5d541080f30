#include "runtime/platformchoice.h"

#include <QProcessEnvironment>

namespace runtime {

namespace {

bool userChosePlatform(const QProcessEnvironment &environment, const QList<QByteArray> &arguments)
{
    if (environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        return true;
    return arguments.contains("-platform") || arguments.contains("--platform");
}

// XDG_CURRENT_DESKTOP is a list, such as "ubuntu:GNOME".
bool isGnomeSession(const QProcessEnvironment &environment)
{
    for (const char *variable : { "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP" }) {
        const QStringList desktops =
                environment.value(QLatin1StringView(variable)).toLower().split(u':');
        if (desktops.contains(u"gnome"))
            return true;
    }
    return false;
}

} // namespace

// In GNOME, through Xwayland where it runs: on Wayland, Mutter opens some boxes in the screen's
// corner without the focus (Qt 6.4 with Mutter 43, and Qt 6.8 with Mutter 48; the Qt
// workarounds' table in docs/desktops.md has the details), while under Xwayland it centres them
// over the window, as every other desktop does. Qt tries the platforms in the order given, so
// where the X display cannot be reached (a stale DISPLAY) the window opens on Wayland instead.
// QT_QPA_PLATFORM=wayland keeps the window on Wayland.
QByteArray platformOverride(const QProcessEnvironment &environment,
                            const QList<QByteArray> &arguments)
{
    if (userChosePlatform(environment, arguments)
        || environment.value(QStringLiteral("DISPLAY")).isEmpty() || !isGnomeSession(environment))
        return {};
    return QByteArrayLiteral("xcb;wayland");
}

} // namespace runtime

#include "runtime/sessionplatform.h"

#include <QList>
#include <QtGlobal>

#include <cstring>

namespace runtime {

namespace {

bool userChosePlatform(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

// XDG_CURRENT_DESKTOP is a list, such as "ubuntu:GNOME".
bool isGnomeSession()
{
    for (const char *variable : { "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP" }) {
        const QList<QByteArray> desktops = qgetenv(variable).toLower().split(':');
        if (desktops.contains("gnome"))
            return true;
    }
    return false;
}

} // namespace

// In GNOME, through Xwayland where it runs. Mutter 43 places a Wayland window of Qt 6.4's that
// has a parent like any new window, in the corner of the screen, since Qt does not mark it modal
// over gtk_shell1; and Qt's own title bar there offers Maximize on a window of fixed size. Under
// Xwayland, Mutter centres the boxes over the window and draws the buttons the window's hints
// ask for, as every other desktop does. QT_QPA_PLATFORM=wayland keeps the window on Wayland.
QByteArray sessionPlatform(int argc, char *argv[])
{
    if (userChosePlatform(argc, argv) || !qEnvironmentVariableIsSet("DISPLAY") || !isGnomeSession())
        return {};
    return QByteArrayLiteral("xcb");
}

} // namespace runtime

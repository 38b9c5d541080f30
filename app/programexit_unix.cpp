#include "app/programexit.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

// Qt's Wayland client, qtwayland 6.4.2 and 6.8.2, can hang for good while it tears its display
// down. When its event thread is told to stop just after the main thread prepared a read for it,
// it quits without cancelling that read; libwayland then holds every other reader until it
// completes, so the frame events' thread never returns from wl_display_read_events and
// ~QWaylandDisplay waits for it, with the window gone. On Wayland that teardown does nothing the
// desktop keeps (a Wayland clipboard goes with its program, and there is no session manager to
// leave), so the process ends here and the system frees the connection. Every name of Qt's
// Wayland client begins with "wayland": "wayland", "wayland-egl" and "wayland-brcm" (qtwayland's
// src/plugins/platforms). On X11 Qt's own exit runs: it hands the clipboard to the desktop's
// clipboard manager and leaves the session manager. The Qt workarounds' table in
// docs/desktops.md says how to tell when this is no longer needed.
void exitSkippingWaylandTeardown(int status)
{
    if (!QGuiApplication::platformName().startsWith(u"wayland"))
        return;
    std::fflush(nullptr);
    std::_Exit(status);
}

#include "app/windowidentity.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_intern_atom_cookie_t requestAtom(xcb_connection_t *connection, const char *name)
{
    return xcb_intern_atom(connection, false, uint16_t(qstrlen(name)), name);
}

xcb_atom_t atomReply(xcb_connection_t *connection, xcb_intern_atom_cookie_t cookie)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

void nameDesktopEntryOnWindow(QWidget &window)
{
    // On Wayland the app id, which Qt takes from the desktop file name, names the entry. Other
    // platforms may offer the X11 interface too (offscreen does), with no connection behind it.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    // Both asked for before either answer is awaited: one round trip to the server at start-up.
    const xcb_intern_atom_cookie_t propertyCookie =
            requestAtom(connection, "_KDE_NET_WM_DESKTOP_FILE");
    const xcb_intern_atom_cookie_t utf8Cookie = requestAtom(connection, "UTF8_STRING");
    const xcb_atom_t property = atomReply(connection, propertyCookie);
    const xcb_atom_t utf8 = atomReply(connection, utf8Cookie);
    if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return;
    const QByteArray entry = QGuiApplication::desktopFileName().toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), property,
                        utf8, 8, entry.size(), entry.constData());
    xcb_flush(connection);
}

#include "app/windowidentity.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const QByteArray &name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection,
                                  xcb_intern_atom(connection, false, name.size(), name.constData()),
                                  nullptr),
            &std::free);
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
    const xcb_atom_t property = atom(connection, QByteArrayLiteral("_KDE_NET_WM_DESKTOP_FILE"));
    const xcb_atom_t utf8 = atom(connection, QByteArrayLiteral("UTF8_STRING"));
    if (property == XCB_ATOM_NONE || utf8 == XCB_ATOM_NONE)
        return;
    const QByteArray entry = QGuiApplication::desktopFileName().toUtf8();
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), property,
                        utf8, 8, entry.size(), entry.constData());
    xcb_flush(connection);
}

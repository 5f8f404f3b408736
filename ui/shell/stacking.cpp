#include "ui/shell/stacking.h"

#include <QGuiApplication>
#include <QWidget>

#if KELVO_X11_STACKING
#include <xcb/xcb.h>
#endif

namespace kelvo::shell {

void KeepAboveOwner(QWidget* window, QWidget* owner) {
#if KELVO_X11_STACKING
    // Only on the X11 platform itself (another platform may answer for X11 without a connection).
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb") || !window || window == owner) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (owner) {
        const auto owner_id = static_cast<xcb_window_t>(owner->winId());
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1,
                            &owner_id);
    } else {
        xcb_delete_property(connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(connection);
#else
    (void)window, (void)owner;
#endif
}

}  // namespace kelvo::shell

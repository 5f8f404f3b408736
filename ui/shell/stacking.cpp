#include "ui/shell/stacking.h"

#include <QGuiApplication>
#include <QWidget>

#if KELVO_X11_STACKING
#include <xcb/xcb.h>
#endif

namespace kelvo::shell {

void KeepAboveOwner(QWidget* window, QWidget* owner) {
#if KELVO_X11_STACKING
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !window || window == owner) return;
    xcb_connection_t* connection = x11->connection();
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

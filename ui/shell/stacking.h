// The one place that speaks to the window system about stacking: a window kept above its owner as
// the window manager keeps a transient window (on X11, the window's WM_TRANSIENT_FOR), so that a
// click on the owner does not bury it. Elsewhere (offscreen, Wayland) it does nothing.
#pragma once

class QWidget;

namespace kelvo::shell {

// Keeps `window` above `owner`; a null `owner` lets the window go under it again.
void KeepAboveOwner(QWidget* window, QWidget* owner);

}  // namespace kelvo::shell

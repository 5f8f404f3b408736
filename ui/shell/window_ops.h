// Window operations shared by the program's windows.
#pragma once

#include <QtCore/qnamespace.h>

class QWidget;

namespace kelvo::shell {

class SkinnedWindow;

// Changes a window's flags; a visible window stays where it is, as large as it is, and shown
// (activated only when asked).
void SetWindowFlagsKeepingPlace(QWidget* window, Qt::WindowFlags flags, bool activate);

// Hides (show false) or restores (show true) the system title bar, keeping the window's outer
// rectangle. Hiding parks the caption in Tag; restoring moves it back, returns the system-menu,
// minimise and maximise buttons the window is designed with, and gives a title bar only to a
// window whose caption is empty.
void ShowTitleBar(SkinnedWindow& window, bool show);

// Keeps a window above all others, or releases it, without moving, resizing or activating it.
void SetAlwaysOnTop(QWidget* window, bool on);

}  // namespace kelvo::shell

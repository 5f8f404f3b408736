// A window the window system destroys without asking it to close (another X client can): the
// program then does what the window's own close button does (the main window ends the program,
// a picture viewer is made anew when next opened), instead of living on with a window that is
// gone.
#pragma once

class QCoreApplication;

namespace kelvo::shell {

// Watches the window system's notes of destroyed windows for the application's windows.
void WatchWindowsDestroyedFromOutside(QCoreApplication& application);

}  // namespace kelvo::shell

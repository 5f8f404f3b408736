// Ending the program, and the main window as the shell's windows see it.
#pragma once

#include <QRect>

class QWidget;
#include <functional>

namespace kelvo::shell {

// Ends the program: every window closes and the event loop stops.
void EndProgram();
// Replaces what EndProgram does (tests observe it instead of quitting); an empty function
// restores the default.
void SetEndProgramHandler(std::function<void()> handler);
// The question asked before the user's close of the main window or of a message window ends the
// program (a result not saved, say); it answers whether to end. None: the program just ends.
void SetEndQuestion(std::function<bool()> question);
// Closes as the user's close does: asks the question when the window is still on screen (a window
// destroyed by another program ends the program without one), then ends the program if agreed.
// False when the user chose to go on.
bool EndProgramAsked(QWidget* closed);
// Whether EndProgram is closing the windows (their close is then the program's own).
bool ProgramEnding();

// What the message window needs of the main window. The main window implements it and
// registers itself; the shell never includes the main window.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    // Empties the current, power and result boxes after a message, through the boxes' own
    // setters so that their change rules run: Text2, Text1, txtI, txtP, Label4, then the
    // protection results.
    virtual void ClearAfterMessage() = 0;
    // Where the main window is on the screen, for the windows opened over it.
    virtual QRect MainWindowGeometry() const { return {}; }
};

void SetMainWindowLink(MainWindowLink* link);
MainWindowLink* GetMainWindowLink();

// Where a window of the program is first put: in the middle of the main window, or beside it
// (right, else left) when the screen has room there, so that it hides none of the main window's
// boxes (else in the middle too).
enum class Placement { Centred, Beside };

// Places a window as `placement` says, kept inside the screen the main window is on; the first
// time only, so that a window the user moved stays where it was put.
void PlaceOverMainWindow(QWidget* window, Placement placement = Placement::Centred);

// Shows a window of the program over the main window: placed (PlaceOverMainWindow), a window of
// its own that the window system keeps above its owner, stacked as the main window is ("Всегда
// сверху" or not), raised and made active.
void ShowOverMainWindow(QWidget* window, Placement placement = Placement::Centred);

}  // namespace kelvo::shell

#include "ui/shell/program.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"
#include "ui/shell/stacking.h"
#include "ui/shell/window_ops.h"

namespace kelvo::shell {
namespace {

std::function<void()>& EndHandler() {
    static std::function<void()> handler;
    return handler;
}

bool g_ending = false;

MainWindowLink*& Link() {
    static MainWindowLink* link = nullptr;
    return link;
}

}  // namespace

void EndProgram() {
    if (EndHandler()) {
        EndHandler()();
        return;
    }
    g_ending = true;
    ReleaseForm2();
    ReleaseForm3();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

bool ProgramEnding() { return g_ending; }

namespace {
std::function<bool()>& EndQuestion() {
    static std::function<bool()> question;
    return question;
}
}  // namespace

void SetEndQuestion(std::function<bool()> question) { EndQuestion() = std::move(question); }

bool EndProgramAsked(QWidget* closed) {
    const bool on_screen = closed->windowHandle() && closed->windowHandle()->handle();
    if (on_screen && EndQuestion() && !EndQuestion()()) return false;
    EndProgram();
    return true;
}

void SetEndProgramHandler(std::function<void()> handler) { EndHandler() = std::move(handler); }

void SetMainWindowLink(MainWindowLink* link) { Link() = link; }

void PlaceOverMainWindow(QWidget* window, Placement placement) {
    // Once per window: a window placed already keeps the place the user may have given it.
    static const char* const kPlaced = "kelvoPlacedOverMainWindow";
    if (window->property(kPlaced).toBool()) return;
    window->setProperty(kPlaced, true);
    const MainWindowLink* link = GetMainWindowLink();
    const QRect main = link ? link->MainWindowGeometry() : QRect();
    QScreen* screen = main.isValid() ? QGuiApplication::screenAt(main.center()) : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    QRect placed(QPoint(), window->frameGeometry().size());
    placed.moveCenter(main.isValid() ? main.center() : available.center());
    constexpr int kGap = 8;
    if (placement == Placement::Beside && main.isValid()) {
        if (available.right() - main.right() >= placed.width() + kGap)
            placed.moveTopLeft({main.right() + kGap, main.top()});
        else if (main.left() - available.left() >= placed.width() + kGap)
            placed.moveTopRight({main.left() - kGap, main.top()});
    }
    // Inside the screen; a window larger than the screen keeps its top left corner on it.
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    window->move(placed.topLeft());
}
void ShowOverMainWindow(QWidget* window, Placement placement) {
    PlaceOverMainWindow(window, placement);
    auto* main = dynamic_cast<QWidget*>(GetMainWindowLink());
    if (main && main != window) {
        const bool on_top = main->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        SetAlwaysOnTop(window, on_top);
        window->winId();  // its native window, to be kept above the main window's
        if (window->windowHandle() && main->windowHandle())
            window->windowHandle()->setTransientParent(main->windowHandle());
    }
    window->show();
    // After show(): the toolkit writes the window's stacking hints as it maps it.
    if (main && main != window)
        KeepAboveOwner(window, main->windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? main : nullptr);
    window->raise();
    window->activateWindow();
}

MainWindowLink* GetMainWindowLink() { return Link(); }

}  // namespace kelvo::shell

#include "ui/shell/program.h"

#include <QApplication>

#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"

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

void SetEndProgramHandler(std::function<void()> handler) { EndHandler() = std::move(handler); }

void SetMainWindowLink(MainWindowLink* link) { Link() = link; }
MainWindowLink* GetMainWindowLink() { return Link(); }

}  // namespace kelvo::shell

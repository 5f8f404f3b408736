// The smallest Qt Widgets program: a window with one label, as large as kelvo's main window so
// that both pay the same for the window's own pixels. The start-up benchmark measures kelvo
// against it.
#include <QApplication>
#include <QLabel>

#include "ui/shell/startup_report.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Qt"));
    label.setWindowTitle(QStringLiteral("bare qt"));
    label.resize(776, 593);
    kelvo::shell::StartupReport::Install(&label);
    label.show();
    return QApplication::exec();
}

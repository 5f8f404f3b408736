// Ends the program with a window's close button, as a user does, with the message window and
// the viewer open, and checks that everything is released (the sanitizer build also checks
// for leaks at exit). Argument: "form1" or "form2", the window whose close button is pressed;
// with "-wm" after it ("form1-wm"), the window is closed as a window manager closes it. A
// program still running after five seconds has been left without a way out: exit 3.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool from_message = argc > 1 && std::strncmp(argv[1], "form2", 5) == 0;
    const bool by_window_manager = argc > 1 && std::strstr(argv[1], "-wm") != nullptr;
    int status = 0;
    {
        kelvo::mainwindow::MainWindow window;
        window.show();
        window.txtP->Write(QStringLiteral("2,5"));
        window.Command2->Press();
        kelvo::shell::OpenPicture(kelvo::shell::HelpRequest());
        kelvo::shell::ShowMessage(QStringLiteral("Установите сечение"), kelvo::shell::MainWindowWhileShown::Visible,
                                  true);
        QTimer::singleShot(0, [&] {
            QWidget* closed = from_message ? static_cast<QWidget*>(&kelvo::shell::Form2()) : &window;
            if (by_window_manager) {
                closed->close();
                // The viewer's own close button afterwards: nothing may be left running.
                if (kelvo::shell::Form3Exists()) QTest::mouseClick(kelvo::shell::Form3().Picture1(0), Qt::LeftButton);
            } else {
                QWidget* button = from_message ? kelvo::shell::Form2().Picture1(0) : window.Picture1(0);
                QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        QTimer::singleShot(5000, [] {
            std::fprintf(stderr, "the program kept running without a window to end it\n");
            std::_Exit(3);
        });
        status = QApplication::exec();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (status != 0 || kelvo::shell::Form2Exists() || kelvo::shell::Form3Exists()) {
        std::fprintf(stderr, "the program did not end cleanly\n");
        return 1;
    }
    std::printf("the program ended cleanly\n");
    return 0;
}

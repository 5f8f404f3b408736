// Ends the program with a window's close button, as a user does, with the message window and
// the viewer open, and checks that everything is released (the sanitizer build also checks
// for leaks at exit). Argument: "form1" or "form2", the window whose close button is pressed.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstring>

#include "ui/main/main_window.h"
#include "ui/shell/message_window.h"
#include "ui/shell/picture_viewer.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool from_message = argc > 1 && std::strcmp(argv[1], "form2") == 0;
    int status = 0;
    {
        kelvo::mainwindow::MainWindow window;
        window.show();
        window.txtP->Write(QStringLiteral("2,5"));
        window.Command2->Press();
        kelvo::shell::OpenPicture(kelvo::shell::HelpRequest());
        kelvo::shell::ShowMessage(QStringLiteral("Установите сечение"),
                                  kelvo::shell::MainWindowWhileShown::Visible, true);
        QTimer::singleShot(0, [&] {
            QWidget* button = from_message ? kelvo::shell::Form2().Picture1(0) : window.Picture1(0);
            QTest::mouseClick(button, Qt::LeftButton);
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

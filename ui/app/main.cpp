// kelvo: choice of conductor cross-section and line protection.
#include <QApplication>
#include <QStyleFactory>

#include "ui/main/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kelvo"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    int status = 0;
    {
        kelvo::mainwindow::MainWindow window;
        window.show();
        status = QApplication::exec();
    }
    // Windows released by the last event go now, before the application itself.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

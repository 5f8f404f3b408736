// kelvo: choice of conductor cross-section and line protection.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>
#include <fontconfig/fontconfig.h>
#include <thread>

#include "ui/main/main_window.h"
#include "ui/shell/pictures.h"
#include "ui/shell/skin.h"
#include "ui/shell/startup_report.h"
#include "ui/shell/translations.h"

int main(int argc, char** argv) {
    // The font configuration and cache take a few milliseconds to read, the first time any text
    // is measured. A second thread reads them while the application connects to the display;
    // the toolkit's own font set-up then finds them ready.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setApplicationName(QStringLiteral("kelvo"));
    QApplication::setApplicationVersion(QStringLiteral(KELVO_VERSION));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kelvo::shell::InstallRussianTranslation(app);
    // Every text is drawn in the windows' face, the toolkit's own tooltips, menus and dialogs
    // too; so no second face is loaded (a line edit lays its first, empty text out in the
    // application's face before it takes its own).
    QApplication::setFont(kelvo::shell::UiFont());
    // The window's own icon, for title bars and task lists; larger places take the installed
    // icon of the desktop entry. Set before any window exists, it reaches no widget but the
    // application.
    QIcon icon;
    for (const int size : kelvo::shell::pictures::kWindowIconSizes)
        icon.addPixmap(QPixmap::fromImage(kelvo::shell::pictures::AppIcon(size)));
    QApplication::setWindowIcon(icon);
    int status = 0;
    {
        kelvo::mainwindow::MainWindow window;
        kelvo::shell::StartupReport::Install(&window);
        window.show();
        // `kelvo FILE` (as a file manager's "Open with" starts it) opens a cable schedule.
        const QStringList arguments = QApplication::arguments();
        for (qsizetype i = 1; i < arguments.size(); ++i) window.OpenSchedule(arguments[i]);
        status = QApplication::exec();
    }
    // Windows released by the last event go now, before the application itself.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

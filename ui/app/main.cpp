// kelvo: choice of conductor cross-section and line protection.
#include <QApplication>
#include <QImage>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>
#include <array>
#include <fontconfig/fontconfig.h>
#include <thread>

#include "ui/main/main_window.h"
#include "ui/shell/pictures.h"
#include "ui/shell/startup_report.h"

int main(int argc, char** argv) {
    // The font configuration and cache take a few milliseconds to read, the first time any text
    // is measured. A second thread reads them while the application connects to the display;
    // the toolkit's own font set-up then finds them ready.
    std::thread fonts([] { FcInit(); });
    QApplication app(argc, argv);
    fonts.join();
    QApplication::setApplicationName(QStringLiteral("kelvo"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    int status = 0;
    {
        // The window's own icon, for title bars and task lists (up to 32 pixels at twice the
        // density); larger places take the installed icon of the desktop entry. Its sizes are
        // drawn on a second thread while the window is built.
        static constexpr std::array<int, 5> kIconSizes = {16, 24, 32, 48, 64};
        std::array<QImage, kIconSizes.size()> icon_images;
        std::thread icons([&icon_images] {
            for (std::size_t i = 0; i < kIconSizes.size(); ++i)
                icon_images[i] = kelvo::shell::pictures::AppIcon(kIconSizes[i]);
        });
        kelvo::mainwindow::MainWindow window;
        icons.join();
        QIcon icon;
        for (const QImage& image : icon_images) icon.addPixmap(QPixmap::fromImage(image));
        QApplication::setWindowIcon(icon);

        kelvo::shell::StartupReport::Install(&window);
        window.show();
        status = QApplication::exec();
    }
    // Windows released by the last event go now, before the application itself.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return status;
}

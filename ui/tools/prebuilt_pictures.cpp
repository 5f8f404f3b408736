// Draws the main window's start-up pictures at the ratios 1 and 2 (<name>@<ratio>x.pic) and the
// window icon's sizes (icon-<size>.pic) into the folder given, to be embedded in the program as
// ready-made pictures.
#include <QApplication>
#include <QDir>
#include <QFile>

#include "ui/shell/pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // the text in the pictures needs the fonts
    if (argc < 2) return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) return 1;
    for (const auto& picture : kelvo::shell::pictures::kPrebuiltPictures) {
        for (const int ratio : {1, 2}) {
            QFile file(folder.filePath(QStringLiteral("%1@%2x.pic").arg(picture.name).arg(ratio)));
            const QByteArray data = kelvo::shell::pictures::EncodePicture(picture.draw(ratio));
            if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) return 1;
        }
    }
    for (const int size : kelvo::shell::pictures::kWindowIconSizes) {
        QFile file(folder.filePath(QStringLiteral("icon-%1.pic").arg(size)));
        const QByteArray data = kelvo::shell::pictures::EncodePicture(kelvo::shell::pictures::DrawAppIcon(size));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) return 1;
    }
    return 0;
}

// Writes the program's icon as PNG files of the usual sizes into the folder given, for
// installation: <folder>/<size>/example.kelvo.Kelvo.png.
#include <QDir>
#include <QImage>

#include "ui/shell/pictures.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QString::number(size);
        if (!folder.mkpath(sub)) return 1;
        if (!kelvo::shell::pictures::AppIcon(size).save(
                folder.filePath(sub + QStringLiteral("/example.kelvo.Kelvo.png"))))
            return 1;
    }
    return 0;
}

// The store of ready-made pictures: the pictures the main window needs from the start, drawn
// when the program was built and embedded, found by name and loaded instead of drawn.
#include <QGuiApplication>
#include <QResource>
#include <cstring>

#include "ui/shell/picture_drawing.h"
#include "ui/shell/pictures.h"

namespace kelvo::shell::pictures {

qreal ScreenPixelRatio() { return qApp ? qApp->devicePixelRatio() : 1.0; }

namespace {

// Where a ready-made picture is embedded.
QString PrebuiltPath(const QString& name, qreal ratio) {
    return QStringLiteral(":/prebuilt/%1@%2x.pic").arg(name).arg(qRound(ratio));
}

constexpr char kMagic[4] = {'K', 'P', 'I', 'C'};

quint32 ReadWord(const char* data) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[i]);
    return value;
}

void AppendWord(QByteArray& data, quint32 value) {
    for (int i = 0; i < 4; ++i) data.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The ready-made picture embedded at the path, or a null image where there is none.
QImage ReadyMade(const QString& path) {
    const QResource resource(path);
    return resource.isValid() ? DecodePicture(resource.uncompressedData()) : QImage();
}

// A ready-made picture for the ratios it was made for, drawn for any other (or where it is
// missing).
QImage ReadyOrDrawn(Prebuilt which, qreal ratio) {
    const PrebuiltPicture& picture = kPrebuiltPictures[static_cast<std::size_t>(which)];
    if (ratio == 1.0 || ratio == 2.0) {
        QImage image = ReadyMade(PrebuiltPath(picture.name, ratio));
        if (!image.isNull()) {
            // Opaque premultiplied pixels are the same words as opaque RGB ones.
            if (picture.opaque) image.reinterpretAsFormat(QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            return image;
        }
    }
    return picture.draw(ratio);
}

}  // namespace

const QString kMainWindowTitle = QStringLiteral("Выбор сечения проводника");

QString PrebuiltIconPath(int size) { return QStringLiteral(":/prebuilt/icon-%1.pic").arg(size); }

// In the order of Prebuilt.
// clang-format off
const std::array<PrebuiltPicture, kPrebuiltCount> kPrebuiltPictures = {{
    {QStringLiteral("banner"), &DrawBanner, true},
    {QStringLiteral("ordering"), &DrawOrderingPicture, true},
    {QStringLiteral("title"), [](qreal ratio) { return DrawTitlePicture(kMainWindowTitle, ratio); }, true},
    {QStringLiteral("globe"), &DrawGlobe, false},
    {QStringLiteral("pointer"), &DrawLinkPointer, false},
}};
// clang-format on

QByteArray EncodePicture(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray data(kMagic, sizeof kMagic);
    AppendWord(data, static_cast<quint32>(image.width()));
    AppendWord(data, static_cast<quint32>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        data.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    return data;
}

QImage DecodePicture(const QByteArray& data) {
    constexpr qsizetype kHeader = sizeof kMagic + 8;
    if (data.size() < kHeader || !data.startsWith(QByteArray(kMagic, sizeof kMagic))) return {};
    const quint64 width = ReadWord(data.constData() + 4);
    const quint64 height = ReadWord(data.constData() + 8);
    // The sizes must account for the data exactly, so that nothing is read beyond it.
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        static_cast<quint64>(data.size()) != kHeader + width * height * 4)
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return {};
    const char* pixels = data.constData() + kHeader;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), pixels + static_cast<qsizetype>(y) * image.width() * 4,
                    static_cast<std::size_t>(image.width()) * 4);
    return image;
}

QImage Banner(qreal ratio) { return ReadyOrDrawn(Prebuilt::Banner, ratio); }

QImage OrderingPicture(qreal ratio) { return ReadyOrDrawn(Prebuilt::Ordering, ratio); }

QImage Globe(qreal ratio) { return ReadyOrDrawn(Prebuilt::Globe, ratio); }

QImage TitlePicture(const QString& title, qreal ratio) {
    return title == kMainWindowTitle ? ReadyOrDrawn(Prebuilt::Title, ratio) : DrawTitlePicture(title, ratio);
}

QImage LinkPointerPicture(qreal ratio) { return ReadyOrDrawn(Prebuilt::Pointer, ratio); }

QImage AppIcon(int size) {
    const QImage ready = ReadyMade(PrebuiltIconPath(size));
    return ready.isNull() ? DrawAppIcon(size) : ready;
}

}  // namespace kelvo::shell::pictures

// The program's pictures, all drawn here in code at their design pixel sizes. Each is drawn for
// a device-pixel ratio (2 on a HiDPI screen), so that it stays sharp however the screen scales.
#pragma once

#include <array>
#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

#include "ui/shell/reference_tables.h"

namespace kelvo::shell::pictures {

// Numbers of the pictures the viewer shows.
enum class Reference { Power = 101, Breakers = 102, WireCurrents = 103, Help = 104 };

// The ratio of the screen the program starts on.
qreal ScreenPixelRatio();

// The pictures the main window needs from the start (banner, ordering picture, title picture,
// globe, link pointer) come ready-made with the program for the ratios 1 and 2, drawn by this
// same code when it was built: loading them is quicker than drawing them at every start. Other
// ratios, and a program built without them, draw them. They are embedded as the resources
// ":/prebuilt/<name>@<ratio>x.pic", in a form that needs no decoding (see EncodePicture).
struct PrebuiltPicture {
    QString name;
    QImage (*draw)(qreal ratio);
    // Every pixel opaque: loaded as an opaque image, which the screen takes without looking
    // for transparent pixels first.
    bool opaque;
};
// The ready-made pictures by name, and all of them in that order (for the build tool).
enum class Prebuilt { Banner, Ordering, Title, Globe, Pointer };
inline constexpr std::size_t kPrebuiltCount = 5;
extern const std::array<PrebuiltPicture, kPrebuiltCount> kPrebuiltPictures;
// The main window's title: its title picture is the ready-made one.
extern const QString kMainWindowTitle;
// A ready-made picture's bytes: "KPIC", width and height (32-bit, least significant byte
// first), then the pixels, premultiplied ARGB words row by row. Decoding gives a null image
// for anything that is not such a picture.
QByteArray EncodePicture(const QImage& picture);
QImage DecodePicture(const QByteArray& data);

// 54 × depth, stretched across: the title picture's gradient at `top`, its first and last rows
// carried above and below it.
QImage TitleStrip(int top = 0, int depth = 24, qreal ratio = ScreenPixelRatio());
QImage TitlePicture(const QString& title, qreal ratio = ScreenPixelRatio());  // 873 × 24
QImage CloseButton(qreal ratio = ScreenPixelRatio());                         // 21 × 21
QImage MinimiseButton(qreal ratio = ScreenPixelRatio());                      // 21 × 21
QImage Banner(qreal ratio = ScreenPixelRatio());                              // 760 × 100
QImage OrderingPicture(qreal ratio = ScreenPixelRatio());                     // 266 × 101
QImage Globe(qreal ratio = ScreenPixelRatio());                               // 43 × 39
// The program's icon at a size in pixels: ready-made for the sizes of the window icon, drawn
// for others.
QImage AppIcon(int size);
QImage DrawAppIcon(int size);
// The sizes of the window icon (title bars and task lists, up to 32 pixels at twice the
// density), embedded ready-made at PrebuiltIconPath(size) as the start-up pictures are.
inline constexpr std::array<int, 5> kWindowIconSizes = {16, 24, 32, 48, 64};
QString PrebuiltIconPath(int size);
QImage LinkPointerPicture(qreal ratio = ScreenPixelRatio());  // 32 × 32
QCursor LinkPointer();  // the pointer over menu labels and links, made from that picture
QImage ReferencePicture(Reference which, qreal ratio = ScreenPixelRatio());  // 101–103, 104 help

// Where a header cell of a table picture is drawn and in which face: the largest face of the
// pictures that shows the header whole in its cell.
struct HeaderPlace {
    QRect cell;       // the cell's border
    QRect text_area;  // inside it, where the text goes
    QFont font;
};
inline constexpr int kHeaderTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
// For every header cell of the table, in order; measured on `device` (a picture of the ratio it
// is drawn for), or on the screen when none is given.
std::vector<HeaderPlace> HeaderPlaces(const ReferenceTable& table, int width, const QPaintDevice* device = nullptr);
// Whether the text shows whole in the place's text area in its face.
bool HeaderFits(const HeaderPlace& place, const QString& text, const QPaintDevice* device = nullptr);

// Where the links are drawn in the pictures (pixels, in the picture's own coordinates), so that
// the viewer's link areas lie over them.
QRect TableSiteLinkArea();
QRect HelpMailLinkArea();
QRect HelpSiteLinkArea();

}  // namespace kelvo::shell::pictures

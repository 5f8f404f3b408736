#include "ui/shell/skin.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace kelvo::shell {
namespace {

int TwipsPerPixel(double dpi) {
    if (dpi <= 0) return 15;
    return std::max(1, static_cast<int>(std::lround(1440.0 / dpi)));
}

}  // namespace

int TwipsPerPixelX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? TwipsPerPixel(screen->logicalDotsPerInchX()) : 15;
}

int TwipsPerPixelY() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? TwipsPerPixel(screen->logicalDotsPerInchY()) : 15;
}

int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }

void PlaceTwips(QWidget* widget, double left, double top, double width, double height) {
    widget->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

void MoveTwips(QWidget* widget, double left, double top) { widget->move(TwipsToPixelsX(left), TwipsToPixelsY(top)); }

QLabel* TwipsCaption(QWidget* parent, const QString& text, double left, double top, double width) {
    auto* label = new QLabel(text, parent);
    label->setFont(UiFont(8.25));
    PlaceTwips(label, left, top, width, 255);
    return label;
}

QRect GeometryTwips(const QWidget* widget) {
    const QRect g = widget->geometry();
    const int x = TwipsPerPixelX(), y = TwipsPerPixelY();
    return {g.x() * x, g.y() * y, g.width() * x, g.height() * y};
}

QFont UiFont(double points, bool bold) {
    // The windows are laid out for a narrow 8-point sans face; Liberation Sans has the closest
    // widths on Debian (the package depends on it). Where it is missing, the system's font
    // matching picks a sans face: one family only, so that each size is matched once.
    QFont font(QStringLiteral("Liberation Sans"));
    // A character the face lacks (an older face without "²") comes from another sans face, never
    // from the system's default serif one.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Nimbus Sans")});
    font.setStyleHint(QFont::SansSerif);
    // A screen font is drawn at whole pixels: the size is the nearest whole number of the
    // screen's pixels (11 for 8,25 points at 96 dpi). 6,75 and 7 points, or 8 and 8,25, are then
    // one size, with one set of glyphs to prepare.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 20 / TwipsPerPixelY()))));
    font.setBold(bold);
    // Glyphs fitted to the pixel grid: crisp at the small sizes of the window, and quicker to
    // draw than the light hinting of the desktop default. Nor does the text take kerning or
    // ligatures, which the captions are not measured with: simple scripts are then laid out
    // without the shaping engine, which is much quicker.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

void FillOutline(QPainter& p, const QRect& r, const QColor& color) {
    p.fillRect(QRect(r.left(), r.top(), r.width() + 1, 1), color);
    p.fillRect(QRect(r.left(), r.top() + r.height(), r.width() + 1, 1), color);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height() + 1), color);
    p.fillRect(QRect(r.left() + r.width(), r.top(), 1, r.height() + 1), color);
}

void SetBackground(QWidget* widget, const QColor& color) {
    // A widget that already shows the colour, its own or its parent's, only starts filling its
    // background: setting an equal palette would resolve the palettes of all its children again.
    widget->setAutoFillBackground(true);
    if (widget->palette().color(QPalette::Window) == color && widget->palette().color(QPalette::Button) == color)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void SetBaseColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
}

}  // namespace kelvo::shell

#include "ui/shell/skin.h"

#include <QGuiApplication>
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
    widget->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                        TwipsToPixelsY(height));
}

void MoveTwips(QWidget* widget, double left, double top) {
    widget->move(TwipsToPixelsX(left), TwipsToPixelsY(top));
}

QRect GeometryTwips(const QWidget* widget) {
    const QRect g = widget->geometry();
    const int x = TwipsPerPixelX(), y = TwipsPerPixelY();
    return {g.x() * x, g.y() * y, g.width() * x, g.height() * y};
}

QFont UiFont(double points, bool bold) {
    // The design face is "MS Sans Serif"; Liberation Sans has the closest widths on Debian (the
    // package depends on it). Where it is missing, the system's font matching picks a sans
    // face: one family only, so that each size is matched once.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace kelvo::shell

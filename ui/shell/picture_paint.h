// What the program's pictures are painted with: fonts in pixels, blank images at a ratio, and the
// marks several pictures share (the title's gradient, the lightning, the globe, a link).
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace kelvo::shell::pictures {

// Text in the pictures is laid out in pixels, whatever the screen's dpi.
QFont PixelFont(int pixels, bool bold = false, const QString& family = {});
// An image of a size in logical pixels, at the ratio given.
QImage Blank(int width, int height, const QColor& fill, qreal ratio);
void PaintTitleGradient(QPainter& p, const QRect& area);
void PaintLightning(QPainter& p, const QRectF& box, const QColor& color);
void PaintGlobe(QPainter& p, const QRectF& box);
void PaintLink(QPainter& p, const QRect& area, const QString& text, int pixels);

}  // namespace kelvo::shell::pictures

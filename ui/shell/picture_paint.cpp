#include "ui/shell/picture_paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "ui/shell/skin.h"

namespace kelvo::shell::pictures {

QFont PixelFont(int pixels, bool bold, const QString& family) {
    QFont font = UiFont(8.25, bold);
    if (!family.isEmpty()) font.setFamilies({family, QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    return font;
}

QImage Blank(int width, int height, const QColor& fill, qreal ratio) {
    QImage image(qRound(width * ratio), qRound(height * ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(fill);
    return image;
}

void PaintTitleGradient(QPainter& p, const QRect& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0.0, QColor(96, 150, 230));
    gradient.setColorAt(0.45, QColor(20, 70, 190));
    gradient.setColorAt(1.0, QColor(8, 36, 120));
    p.fillRect(area, gradient);
    // Thin light bands give the strip its banded look.
    p.setPen(QColor(140, 185, 245, 90));
    for (int y = area.top() + 2; y < area.bottom(); y += 4) p.drawLine(area.left(), y, area.right(), y);
}

void PaintLightning(QPainter& p, const QRectF& box, const QColor& color) {
    const double x = box.x(), y = box.y(), w = box.width(), h = box.height();
    QPainterPath bolt;
    bolt.moveTo(x + 0.60 * w, y);
    bolt.lineTo(x + 0.15 * w, y + 0.56 * h);
    bolt.lineTo(x + 0.46 * w, y + 0.56 * h);
    bolt.lineTo(x + 0.32 * w, y + h);
    bolt.lineTo(x + 0.88 * w, y + 0.40 * h);
    bolt.lineTo(x + 0.55 * w, y + 0.40 * h);
    bolt.closeSubpath();
    p.fillPath(bolt, color);
}

void PaintGlobe(QPainter& p, const QRectF& box) {
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sea(box.center() - QPointF(box.width() / 6, box.height() / 6), box.width() / 1.6);
    sea.setColorAt(0, QColor(140, 200, 255));
    sea.setColorAt(1, QColor(20, 80, 170));
    p.setBrush(sea);
    p.setPen(QPen(QColor(10, 50, 120), 1));
    p.drawEllipse(box);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 240, 255, 200), 1));
    p.drawEllipse(box.adjusted(box.width() * 0.3, 0, -box.width() * 0.3, 0));
    p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    p.drawArc(box.adjusted(0, box.height() * 0.2, 0, -box.height() * 0.45), 200 * 16, 140 * 16);
    p.drawArc(box.adjusted(0, box.height() * 0.45, 0, -box.height() * 0.2), 20 * 16, 140 * 16);
}

void PaintLink(QPainter& p, const QRect& area, const QString& text, int pixels) {
    QFont font = PixelFont(pixels, true);
    font.setUnderline(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 200));
    p.drawText(area, Qt::AlignCenter, text);
}

}  // namespace kelvo::shell::pictures

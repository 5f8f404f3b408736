#include "ui/shell/pictures.h"
#include "ui/shell/picture_drawing.h"
#include "ui/shell/picture_paint.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include "core/messages.h"
#include "ui/shell/maker.h"
#include "ui/shell/qtext.h"
#include "ui/shell/reference_tables.h"
#include "ui/shell/skin.h"

namespace kelvo::shell::pictures {

QImage TitleStrip(int top, int depth, qreal ratio) {
    QImage band = Blank(54, 24, Qt::black, ratio);
    {
        QPainter p(&band);
        PaintTitleGradient(p, QRect(0, 0, 54, 24));
    }
    QImage image = Blank(54, depth, Qt::black, ratio);
    QPainter p(&image);
    const QImage first = band.copy(QRect(QPoint(0, 0), QSize(band.width(), 1)));
    const QImage last = band.copy(QRect(QPoint(0, band.height() - 1), QSize(band.width(), 1)));
    for (int y = 0; y < top; ++y) p.drawImage(QRect(0, y, 54, 1), first);
    for (int y = top + 24; y < depth; ++y) p.drawImage(QRect(0, y, 54, 1), last);
    p.drawImage(QRect(0, top, 54, 24), band);
    return image;
}

QImage DrawTitlePicture(const QString& title, qreal ratio) {
    QImage image = Blank(873, 24, Qt::black, ratio);
    QPainter p(&image);
    PaintTitleGradient(p, QRect(0, 0, 873, 24));
    p.setRenderHint(QPainter::Antialiasing);
    PaintLightning(p, QRectF(6, 3, 12, 18), QColor(255, 210, 40));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::white);
    p.setFont(PixelFont(13, true));
    const QString name = maker::kCaption;
    p.drawText(QRect(24, 0, 200, 24), Qt::AlignLeft | Qt::AlignVCenter, name);
    if (!title.isEmpty()) {
        const int after = 24 + QFontMetrics(p.font()).horizontalAdvance(name) + 18;
        p.setFont(PixelFont(13));
        p.drawText(QRect(after, 0, 873 - after, 24), Qt::AlignLeft | Qt::AlignVCenter, title);
    }
    return image;
}

QImage CloseButton(qreal ratio) {
    QImage image = Blank(21, 21, QColor(221, 90, 55), ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 50, 30), 1));
    p.drawRect(QRectF(0.5, 0.5, 20, 20));
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 6), QPointF(15, 15));
    p.drawLine(QPointF(15, 6), QPointF(6, 15));
    return image;
}

QImage MinimiseButton(qreal ratio) {
    QImage image = Blank(21, 21, QColor(41, 123, 240), ratio);
    QPainter p(&image);
    p.setPen(QPen(QColor(20, 70, 160), 1));
    p.drawRect(QRect(0, 0, 20, 20));
    p.fillRect(QRect(6, 14, 9, 3), Qt::white);
    return image;
}

QImage DrawBanner(qreal ratio) {
    QImage image = Blank(760, 100, Qt::white, ratio);
    QPainter p(&image);
    QLinearGradient ground(0, 0, 760, 0);
    ground.setColorAt(0, QColor(250, 238, 200));
    ground.setColorAt(1, QColor(226, 200, 140));
    p.fillRect(QRect(0, 0, 760, 100), ground);
    p.setRenderHint(QPainter::Antialiasing);
    // Three cable cores fanning out from a sheath, the maker's emblem.
    const QColor cores[] = {QColor(200, 120, 40), QColor(60, 60, 60), QColor(40, 90, 200)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(cores[i], 7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 50), QPointF(84, 24 + 26 * i));
    }
    p.setPen(QPen(QColor(30, 30, 30), 16, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 50), QPointF(30, 50));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(40, 50, 120));
    p.setFont(PixelFont(40, true));
    p.drawText(QRect(104, 4, 300, 52), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("КЕЛЬВО"));
    p.setFont(PixelFont(15, true));
    p.setPen(QColor(90, 60, 20));
    p.drawText(QRect(104, 56, 640, 20), Qt::AlignLeft, QStringLiteral("Кабель, провод и электроустановочные изделия"));
    p.setFont(PixelFont(13));
    p.drawText(QRect(104, 76, 640, 20), Qt::AlignLeft,
               QStringLiteral("Телефоны: ") + maker::kPhones + QStringLiteral("    www.") + maker::kSiteHost);
    PaintLightning(p, QRectF(690, 12, 44, 70), QColor(230, 160, 20));
    return image;
}

QImage DrawOrderingPicture(qreal ratio) {
    // Short enough to leave the globe under it room inside the information frame.
    QImage image = Blank(266, 101, QColor(250, 244, 222), ratio);
    QPainter p(&image);
    p.setPen(QPen(QColor(120, 100, 60), 1));
    p.drawRect(QRect(0, 0, 265, 100));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(40, 50, 120));
    p.setFont(PixelFont(14, true));
    p.drawText(QRect(0, 4, 266, 20), Qt::AlignHCenter, QStringLiteral("Закажите кабель и провод"));
    p.setPen(QColor(60, 40, 20));
    p.setFont(PixelFont(12));
    p.drawText(QRect(8, 24, 250, 34), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("по телефонам ") + maker::kPhones);
    p.drawText(QRect(8, 60, 250, 16), Qt::AlignHCenter, QStringLiteral("или на сайте"));
    PaintLink(p, QRect(8, 78, 250, 16), QStringLiteral("www.") + maker::kSiteHost, 12);
    return image;
}

QImage DrawGlobe(qreal ratio) {
    QImage image = Blank(43, 39, Qt::transparent, ratio);
    QPainter p(&image);
    PaintGlobe(p, QRectF(2, 1, 38, 37));
    return image;
}

// A pointing arrow with a small lightning mark: the program's own link pointer, 32 × 32.
QImage DrawLinkPointer(qreal ratio) {
    QImage image = Blank(32, 32, Qt::transparent, ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(2, 1);
    arrow.lineTo(2, 21);
    arrow.lineTo(7, 16);
    arrow.lineTo(11, 25);
    arrow.lineTo(14, 24);
    arrow.lineTo(10, 15);
    arrow.lineTo(17, 15);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(arrow);
    PaintLightning(p, QRectF(18, 14, 10, 16), QColor(230, 160, 20));
    return image;
}

QImage DrawAppIcon(int size) {
    // A lightning sign on a blue rounded square, drawn on a 64-unit grid.
    QImage image = Blank(size, size, Qt::transparent, 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient ground(0, 0, 0, 64);
    ground.setColorAt(0, QColor(70, 130, 230));
    ground.setColorAt(1, QColor(10, 40, 130));
    p.setPen(QPen(QColor(8, 30, 100), 1.5));
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    PaintLightning(p, QRectF(18, 8, 28, 48), QColor(255, 205, 40));
    return image;
}

QCursor LinkPointer() { return QCursor(QPixmap::fromImage(LinkPointerPicture()), 2, 1); }

}  // namespace kelvo::shell::pictures

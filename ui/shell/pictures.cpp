#include "ui/shell/pictures.h"
#include "ui/shell/picture_drawing.h"

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
namespace {

// Text in the pictures is laid out in pixels, whatever the screen's dpi.
QFont PixelFont(int pixels, bool bold = false, const QString& family = {}) {
    QFont font = UiFont(8.25, bold);
    if (!family.isEmpty()) font.setFamilies({family, QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixels);
    return font;
}

// An image of a size in logical pixels, at the ratio given.
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

// Ordering notice and warning under the tables.
void PaintTableFooter(QPainter& p, int width) {
    const QRect notice(12, 349, width - 24, 46);
    p.setPen(QPen(QColor(120, 100, 60), 1));
    p.setBrush(QColor(250, 244, 222));
    p.drawRect(notice);
    p.setFont(PixelFont(11, true));
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(notice.left() + 8, notice.top() + 1, notice.width() - 16, 14), Qt::AlignLeft,
               QStringLiteral("Кабель и провод от производителя: заказ по телефонам ") + maker::kPhones);
    p.setFont(PixelFont(11));
    p.drawText(QRect(notice.left() + 8, notice.top() + 17, 500, 16), Qt::AlignLeft,
               QStringLiteral("Каталог, цены и сроки поставки смотрите на сайте:"));
    PaintLink(p, TableSiteLinkArea(), QStringLiteral("www.") + maker::kSiteHost, 11);

    p.setPen(QColor(150, 20, 20));
    p.setFont(PixelFont(11, true));
    p.drawText(QRect(0, 398, width, 15), Qt::AlignHCenter, Q(messages::kWarningFirst));
    p.drawText(QRect(0, 413, width, 15), Qt::AlignHCenter, Q(messages::kWarningSecond));
}

// The columns' left edges and the rows' top edges of a table picture, in pixels.
struct TableGrid {
    std::vector<int> x, y;
};

TableGrid GridOf(const ReferenceTable& table, int width) {
    constexpr int kMargin = 10;
    TableGrid grid;
    int weight_sum = 0;
    for (const int w : table.column_weights) weight_sum += w;
    const int grid_width = width - 2 * kMargin;
    grid.x.push_back(kMargin);
    int acc = 0;
    for (const int w : table.column_weights) {
        acc += w;
        grid.x.push_back(kMargin + grid_width * acc / weight_sum);
    }
    grid.y.push_back(17 * static_cast<int>(table.title.size()) + 6);
    for (const int h : table.header_heights) grid.y.push_back(grid.y.back() + h);
    return grid;
}

QImage TablePicture(const ReferenceTable& table, int width, int height, qreal ratio) {
    QImage image = Blank(width, height, QColor(245, 236, 204), ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(50, 30, 10));
    p.setFont(PixelFont(13, true));
    for (int i = 0; i < table.title.size(); ++i)
        p.drawText(QRect(0, 4 + 17 * i, width, 17), Qt::AlignHCenter | Qt::AlignVCenter, table.title[i]);

    const QColor grid_line(110, 110, 70), header_fill(228, 206, 150), cell_fill(236, 243, 196),
        emphasis_fill(212, 224, 150);
    const auto places = HeaderPlaces(table, width, &image);
    for (std::size_t i = 0; i < places.size(); ++i) {
        p.setBrush(header_fill);
        p.setPen(QPen(grid_line, 1));
        p.drawRect(places[i].cell);
        p.setPen(QColor(40, 30, 10));
        p.setFont(places[i].font);
        p.drawText(places[i].text_area, kHeaderTextFlags, table.header[i].text);
    }
    const TableGrid grid = GridOf(table, width);
    const int body_top = grid.y.back();
    const int body_bottom = 345;
    const int rows = static_cast<int>(table.rows.size());
    const int row_height = std::min(18, (body_bottom - body_top) / std::max(1, rows));
    for (int r = 0; r < rows; ++r) {
        const int top = body_top + r * row_height;
        for (int c = 0; c < static_cast<int>(table.column_weights.size()); ++c) {
            const QRect cell(QPoint(grid.x[c], top), QPoint(grid.x[c + 1] - 1, top + row_height - 1));
            const bool emphasised = c == table.emphasised_column;
            p.setBrush(emphasised ? emphasis_fill : cell_fill);
            p.setPen(QPen(grid_line, 1));
            p.drawRect(cell);
            p.setPen(QColor(20, 20, 20));
            const QString text = c < table.rows[r].size() ? table.rows[r][c] : QString();
            p.setFont(PixelFont(text.size() > 12 ? 10 : 11, emphasised));
            p.drawText(cell.adjusted(3, 0, -3, 0),
                       (text.size() > 12 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter, text);
        }
    }
    PaintTableFooter(p, width);
    return image;
}

QImage HelpPage(qreal ratio) {
    QImage image = Blank(607, 421, QColor(245, 236, 204), ratio);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 100, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(4, 4, 598, 412));

    PaintLightning(p, QRectF(26, 18, 34, 52), QColor(230, 170, 20));
    p.setPen(QColor(30, 50, 130));
    p.setFont(PixelFont(44, true));
    p.drawText(QRect(72, 12, 200, 58), Qt::AlignLeft | Qt::AlignVCenter, maker::kProgramName);
    p.setFont(PixelFont(18, true));
    p.drawText(QRect(232, 36, 80, 30), Qt::AlignLeft | Qt::AlignVCenter, maker::kVersion);
    p.setFont(PixelFont(13));
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(30, 78, 550, 20), Qt::AlignLeft, QStringLiteral("Выбор сечения проводника и защиты линии"));

    p.setFont(PixelFont(12, true));
    p.drawText(QRect(30, 112, 550, 18), Qt::AlignLeft, QStringLiteral("Лицензия"));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, 132, 550, 180), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Программа распространяется бесплатно. Её можно свободно устанавливать, "
                              "запускать и передавать другим лицам без изменений, в том числе для работы "
                              "в организациях. Продажа программы запрещена.\n\n"
                              "Программа предоставляется «как есть», без каких-либо гарантий. Результаты "
                              "расчета ориентировочные и носят рекомендательный характер; автор не "
                              "отвечает за последствия их применения. В каждом конкретном случае "
                              "обращайтесь к специалистам."));

    p.setFont(PixelFont(12, true));
    p.drawText(QRect(30, 256, 550, 18), Qt::AlignLeft, QStringLiteral("Кабельный журнал"));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, 274, 550, 56), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Файл CSV или XLSX перетащите на окно программы или откройте клавишами Ctrl+O: "
                              "каждая строка рассчитывается, как в окне, результат сохраняется кнопкой "
                              "«Сохранить». Из командной строки — kelvo-calc (справка: kelvo-calc --help)."));

    p.setFont(PixelFont(12));
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(30, HelpMailLinkArea().top(), 400, HelpMailLinkArea().height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Вопросы и пожелания присылайте по адресу:"));
    PaintLink(p, HelpMailLinkArea(), maker::kSupportMail, 12);
    p.setPen(QColor(60, 40, 20));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, HelpSiteLinkArea().top(), 370, HelpSiteLinkArea().height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Новые версии программы на сайте:"));
    PaintLink(p, HelpSiteLinkArea(), QStringLiteral("www.") + maker::kSiteHost, 12);

    PaintGlobe(p, QRectF(556, 374, 42, 38));
    return image;
}

}  // namespace

QImage TitleStrip(qreal ratio) {
    QImage image = Blank(54, 24, Qt::black, ratio);
    QPainter p(&image);
    PaintTitleGradient(p, QRect(0, 0, 54, 24));
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

std::vector<HeaderPlace> HeaderPlaces(const ReferenceTable& table, int width, const QPaintDevice* device) {
    const TableGrid grid = GridOf(table, width);
    std::vector<HeaderPlace> places;
    for (const auto& cell : table.header) {
        HeaderPlace place;
        place.cell = QRect(QPoint(grid.x[cell.column], grid.y[cell.row]),
                           QPoint(grid.x[cell.column + cell.column_span] - 1, grid.y[cell.row + cell.row_span] - 1));
        place.text_area = place.cell.adjusted(2, 0, -2, 0);
        places.push_back(place);
    }
    // The headers that begin on one row share the largest of the faces that shows each of them
    // whole, broken only where it says ("\n" after a hyphen) or between words: bold 11 pixels,
    // then 10, then 9.
    for (int row = 0; row < static_cast<int>(table.header_heights.size()); ++row) {
        for (const auto& [pixels, bold] : {std::pair{11, true}, {10, false}, {9, false}}) {
            bool all_fit = true;
            for (std::size_t i = 0; i < places.size(); ++i) {
                if (table.header[i].row != row) continue;
                places[i].font = PixelFont(pixels, bold);
                all_fit &= HeaderFits(places[i], table.header[i].text, device);
            }
            if (all_fit) break;
        }
    }
    return places;
}

bool HeaderFits(const HeaderPlace& place, const QString& text, const QPaintDevice* device) {
    const QFontMetrics metrics = device ? QFontMetrics(place.font, device) : QFontMetrics(place.font);
    const QRect needed = metrics.boundingRect(place.text_area, kHeaderTextFlags, text);
    // Word wrap never breaks a word: a word wider than the area shows as a wider rectangle.
    return place.text_area.contains(needed);
}

QImage ReferencePicture(Reference which, qreal ratio) {
    switch (which) {
        case Reference::Power:
            return TablePicture(PowerTable(), 779, 429, ratio);
        case Reference::Breakers:
            return TablePicture(BreakerTable(), 780, 431, ratio);
        case Reference::WireCurrents:
            return TablePicture(WireCurrentTable(), 780, 431, ratio);
        case Reference::Help:
            return HelpPage(ratio);
    }
    return {};
}

// The viewer's link areas lie at fixed places of the window; with the picture area 24 pixels
// down and at the picture's Left, these are the places in the pictures.
QRect TableSiteLinkArea() { return {527, 360, 121, 25}; }
QRect HelpMailLinkArea() { return {437, 336, 137, 17}; }
QRect HelpSiteLinkArea() { return {405, 392, 145, 17}; }

}  // namespace kelvo::shell::pictures

// The reference pictures: the three tables and the help page, drawn from the program's own
// tables and texts.
#include "ui/shell/pictures.h"

#include "core/help_text.h"
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
namespace {

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
    p.drawText(QRect(30, 78, 550, 20), Qt::AlignLeft, Q(help::kSubtitle));

    p.setFont(PixelFont(12, true));
    p.drawText(QRect(30, 104, 550, 18), Qt::AlignLeft, Q(help::kLicenceHeading));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, 122, 550, 116), Qt::AlignLeft | Qt::TextWordWrap, Q(help::kLicence));

    p.setFont(PixelFont(12, true));
    p.drawText(QRect(30, 238, 550, 18), Qt::AlignLeft, Q(help::kScheduleHeading));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, 256, 550, 50), Qt::AlignLeft | Qt::TextWordWrap, Q(help::kSchedule));

    // The rule of the disconnection check, with the program's texts above the contacts.
    p.setFont(PixelFont(11));
    p.drawText(QRect(30, 305, 550, 30), Qt::AlignLeft | Qt::TextWordWrap, Q(help::kDisconnection));
    p.drawText(QRect(30, 336, 550, 30), Qt::AlignLeft | Qt::TextWordWrap, Q(help::kConditions));

    p.setFont(PixelFont(12));
    p.setPen(QColor(60, 40, 20));
    p.drawText(QRect(30, HelpMailLinkArea().top(), 400, HelpMailLinkArea().height()), Qt::AlignLeft | Qt::AlignVCenter,
               Q(help::kMailCaption));
    PaintLink(p, HelpMailLinkArea(), maker::kSupportMail, 12);
    p.setPen(QColor(60, 40, 20));
    p.setFont(PixelFont(12));
    p.drawText(QRect(30, HelpSiteLinkArea().top(), 370, HelpSiteLinkArea().height()), Qt::AlignLeft | Qt::AlignVCenter,
               Q(help::kSiteCaption));
    PaintLink(p, HelpSiteLinkArea(), QStringLiteral("www.") + maker::kSiteHost, 12);

    PaintGlobe(p, QRectF(548, 20, 42, 38));  // inside the border, clear of its corner and the links
    return image;
}

}  // namespace

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
QRect HelpMailLinkArea() { return {437, 370, 137, 17}; }
QRect HelpSiteLinkArea() { return {405, 392, 145, 17}; }

}  // namespace kelvo::shell::pictures

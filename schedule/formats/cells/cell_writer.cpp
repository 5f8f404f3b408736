#include "schedule/formats/cells/cell_writer.h"

namespace kelvo::schedule {

ResultCell ResultCellOf(std::string_view field, bool always_text) {
    ResultCell cell;
    if (always_text) return cell;
    if (const auto number = NumberCellValue(field)) {
        cell.kind = ResultCell::Kind::Number;
        cell.number = *number;
    } else if (ReadShownDate(field, cell.date)) {
        cell.kind = ResultCell::Kind::Date;
    }
    return cell;
}

}  // namespace kelvo::schedule

#include "ui/shell/reference_tables.h"

#include "core/reference_tables.h"
#include "ui/shell/qtext.h"

namespace kelvo::shell {
namespace {

// The table of the calculation's core in the toolkit's texts.
ReferenceTable Shown(const kelvo::ReferenceTable& table) {
    ReferenceTable shown;
    for (const std::string& line : table.title) shown.title << Q(line);
    shown.header_heights = table.header_heights;
    for (const auto& cell : table.header)
        shown.header.push_back({cell.row, cell.column, cell.row_span, cell.column_span, Q(cell.text)});
    shown.column_weights = table.column_weights;
    for (const auto& row : table.rows) {
        QStringList cells;
        for (const std::string& cell : row) cells << Q(cell);
        shown.rows.push_back(cells);
    }
    shown.emphasised_column = table.emphasised_column;
    return shown;
}

}  // namespace

ReferenceTable PowerTable() { return Shown(kelvo::PowerTable()); }
ReferenceTable BreakerTable() { return Shown(kelvo::BreakerTable()); }
ReferenceTable WireCurrentTable() { return Shown(kelvo::WireCurrentTable()); }

}  // namespace kelvo::shell

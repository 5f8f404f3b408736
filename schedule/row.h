// One row of a cable schedule calculated as the window calculates one line.
#pragma once

#include <string_view>
#include <vector>

#include <cstdint>
#include <span>
#include <string>

#include "core/line_calculation.h"
#include "schedule/columns.h"
#include "schedule/formats/table.h"
#include "schedule/formats/record.h"

namespace kelvo::schedule {

// A workbook's row as the spreadsheet shows it: how each cell is shown (TableReader::Shown), and
// the sheet's row number to name a cell in a message.
struct SheetRow {
    std::span<const CellShown> shown;
    std::uint64_t number = 0;
};

// Calculates one row into `result` (whatever it held before is replaced). Returns whether the
// row was calculated without a message. Codes are read whatever their case ("Медь", "1Ф", "P1"),
// the multiplicity by its value ("1,00" is 1).
// `fields_are_utf8`: the reader has checked the row's encoding already. `sheet`: the row comes
// from a workbook; a cell the calculation reads that shows a formula without a kept result, an
// error, a date or time, or a percent (but in the loss column, where the percent shown is read:
// the text is the percent shown, 2,5 for 2,5 %) gives the row a message naming the cell.
// `disconnection`: where a row that gives the upstream loop impedance gets its disconnection check
// (core/disconnection.h) on the recommended section (forward) or the given one (reverse) and the
// breaker selected, at the row's length when it gives one; a figure of the check that cannot be
// read gives the row a message. `numbers`: how the file writes its numbers (shown_numbers.h).
bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& result,
                  bool fields_are_utf8 = false, const SheetRow* sheet = nullptr,
                  DisconnectionFields* disconnection = nullptr, DecimalSign numbers = DecimalSign::Comma);

}  // namespace kelvo::schedule

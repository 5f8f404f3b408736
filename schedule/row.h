// One row of a cable schedule calculated as the window calculates one line.
#pragma once

#include <string_view>
#include <vector>

#include "core/line_calculation.h"
#include "schedule/columns.h"

namespace kelvo::schedule {

// Calculates one row into `result` (whatever it held before is replaced). Returns whether the
// row was calculated without a message.
// `fields_are_utf8`: the reader has checked the row's encoding already.
bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& result,
                  bool fields_are_utf8 = false);

}  // namespace kelvo::schedule

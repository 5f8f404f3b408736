// The largest continuous current a conductor of a given cross-section may carry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conductor.h"
#include "range_table.h"

namespace kelvo {

// Rows [lower end, cross-section] -> maximum current in A; a last row "нет" (no current) for
// cross-sections above the table, where the table has one.
using CurrentTable = RangeTable<std::optional<double>, 32>;

const CurrentTable& MaximumCurrentTable(Material material, LayingMethod laying);

// The table's answer for a cross-section of `size` mm²: whether the table has a row for it (not
// when the choice is incomplete), and the row's current, none above the table.
struct MaximumCurrent {
    bool in_table = false;
    std::optional<double> amperes;
};
MaximumCurrent MaximumCurrentOfSize(double size, const ConductorChoice& choice);

// The maximum current as a comma text ("30", "14,5"), "нет" above the table, or the empty text
// (incomplete choice, not a number, or a cross-section the table has no row for).
std::string MaximumCurrentBySection(std::string_view section, const ConductorChoice& choice);

}  // namespace kelvo

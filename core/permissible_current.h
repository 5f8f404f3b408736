// Permissible continuous current of wires and cables, and the choice of the cross-section that
// carries a given load current.
#pragma once

#include <string>
#include <string_view>

#include "conductor.h"
#include "number_text.h"
#include "range_table.h"

namespace kelvo {

// One table per material and laying method: rows [0, limit] -> cross-section text, walked in
// ascending order, then the exceed row [0, exceed limit] -> "1,111".
using SectionTable = RangeTable<TableNumber, 24>;

const SectionTable& PermissibleCurrentTable(Material material, LayingMethod laying);

// The cross-section text for the current text, the exceed marker "1,111" for a current above
// the table up to its exceed limit, or the empty text (incomplete choice, not a number,
// negative, or above the exceed limit).
std::string SelectSectionByCurrent(std::string_view current, const ConductorChoice& choice);
// The same for a current already read as a number; the section comes with its value.
TableNumber SelectSectionByCurrent(double amperes, const ConductorChoice& choice);

}  // namespace kelvo

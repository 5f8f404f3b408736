// The codes that section and protection boxes may hold besides a number.
#pragma once

#include <string_view>

#include "number_text.h"

namespace kelvo {

// The load is above the largest row of the table: no cross-section or breaker for it.
inline constexpr std::string_view kExceedMarker = "1,111";
inline constexpr double kExceedMarkerValue = TableTextValue(kExceedMarker);

// The cross-section is above the table of this laying method: no current for it.
inline constexpr std::string_view kAboveTable = "нет";

}  // namespace kelvo

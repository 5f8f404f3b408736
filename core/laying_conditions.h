// The permissible current corrected for the conditions a line is laid in, beyond those the
// current tables assume (air at +25 °C, ground at +15 °C, conductors at +65 °C, one cable in its
// trench): Iдоп' = Kt × Kn × Iдоп.
//
//   Kt  the ambient temperature's factor, from the code's table of correction factors by ambient
//       temperature (the rows for a conductor at +65 °C): a laying in air takes the row for
//       +25 °C, a laying in ground (k3, k5, k7, k9) the row for +15 °C. A temperature between two
//       columns takes the hotter column (the smaller factor); below −5 °C the −5 column; above
//       +50 °C there is none. Every cell is √((65 − t) / (65 − t₀)), rounded half up.
//   Kn  cables side by side in the ground (working cables, in pipes or without), ground layings
//       only: a distance between two rows takes the smaller distance's row, none given the
//       100 mm row, above 300 mm the 300 row; below 100 mm or more than 6 cables there is none.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/conductor.h"
#include "core/number_text.h"

namespace kelvo {

// clang-format off
inline constexpr std::array<int, 12> kAmbientColumns = {-5, 0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50};
inline constexpr std::array<std::string_view, 12> kAmbientInAir =     // conductor +65 °C, air +25 °C
    {"1,32", "1,27", "1,22", "1,17", "1,12", "1,06", "1,00", "0,94", "0,87", "0,79", "0,71", "0,61"};
inline constexpr std::array<std::string_view, 12> kAmbientInGround =  // conductor +65 °C, ground +15 °C
    {"1,18", "1,14", "1,10", "1,05", "1,00", "0,95", "0,89", "0,84", "0,77", "0,71", "0,63", "0,55"};

inline constexpr std::array<int, 3> kCableDistances = {100, 200, 300};  // clear distance, mm
inline constexpr std::array<std::array<std::string_view, 6>, 3> kSideBySide = {{  // 1 … 6 cables
    {"1,00", "0,90", "0,85", "0,80", "0,78", "0,75"},
    {"1,00", "0,92", "0,87", "0,84", "0,82", "0,81"},
    {"1,00", "0,93", "0,90", "0,87", "0,86", "0,85"},
}};
// clang-format on

// Whether a laying is in the ground (the cables in ground k3, k5, k7 and the five-core k9).
constexpr bool InGround(LayingMethod laying) {
    return laying == LayingMethod::k3 || laying == LayingMethod::k5 || laying == LayingMethod::k7 ||
           laying == LayingMethod::k9;
}

// The conditions as typed; an empty text is the tables' own condition.
struct LayingConditions {
    std::string_view ambient;   // °C
    std::string_view cables;    // working cables side by side in the ground
    std::string_view distance;  // clear distance between them, mm
    bool Given() const { return !ambient.empty() || !cables.empty() || !distance.empty(); }
};

struct Correction {
    Fixed4 kt = Fixed4::FromTicks(Fixed4::kScale);
    Fixed4 kn = Fixed4::FromTicks(Fixed4::kScale);
    Fixed4 k = Fixed4::FromTicks(Fixed4::kScale);  // kt × kn, exact
};

// The factors for a laying, or the message (in Russian, naming the value) when a figure is no
// number or lies outside the tables, or the cables are counted for a laying in air.
std::variant<Correction, std::string> CorrectionFor(LayingMethod laying, const LayingConditions& conditions);

// The section by permissible current for a current as typed, under the factor `k` (none: the
// tables' own conditions): the table's section for I / K, as SelectSectionByCurrent words it.
std::string SelectSectionByCorrectedCurrent(std::string_view current, const ConductorChoice& choice,
                                            std::optional<Fixed4> k);
// The maximum current of a section as typed, under the factor `k`: K × Iмакс as currents are
// shown, as MaximumCurrentBySection words it.
std::string CorrectedMaximumCurrentBySection(std::string_view section, const ConductorChoice& choice,
                                             std::optional<Fixed4> k);
// The factor for a choice and the conditions typed: none for the tables' own conditions or an
// incomplete choice, the message when a figure cannot be used.
std::variant<std::optional<Fixed4>, std::string> FactorFor(const ConductorChoice& choice,
                                                           const LayingConditions& conditions);

// The corrected current k × amperes, rounded halves to even to two decimals as currents are
// shown (from the exact product).
double CorrectedCurrent(double amperes, Fixed4 k);

}  // namespace kelvo

// Selection of the cross-section by the allowed voltage loss over the line, and the small
// voltage figures shown beside the loss list.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conductor.h"
#include "number_text.h"
#include "range_table.h"

namespace kelvo {

// Resistivities in Ω·mm²/m; the conductivity is their reciprocal.
constexpr double kCopperResistivity = 0.0175;
constexpr double kAluminiumResistivity = 0.028;

struct LineData {
    double power_kw;
    double length_m;
    double loss_percent;
    double voltage;
};

// The required cross-section S in mm² (not rounded). Nothing when the divisor is zero or the
// result is not a finite number.
std::optional<double> RequiredSection(const LineData& line, SupplyKind supply, Material material);

// Rows [0, bound] -> section text, then the exceed row up to the table's limit -> "1,111".
using LossTable = RangeTable<TableNumber, 24>;

// The table for the choice: the five-core tables for cable k8/k9, otherwise the
// ladder table of the material, conductor kind and laying. Nothing for an incomplete choice.
const LossTable* VoltageLossTable(const ConductorChoice& choice);

// The standard section for the required section text (as written to the hidden box): a section
// text, "1,111", or the empty text (incomplete choice, not a number, below 0, above the limit).
std::string SelectSectionByVoltageLoss(std::string_view required, const ConductorChoice& choice);
// The same for a required section already read as a number; the section comes with its value.
TableNumber SelectSectionByVoltageLoss(double required, const ConductorChoice& choice);

// The loss in volts and the voltage that remains, as shown beside the loss list.
struct VoltageFigures {
    std::string loss_volts;
    std::string remaining_volts;
};

// Nothing when the loss or the voltage text is not a number.
std::optional<VoltageFigures> ComputeVoltageFigures(std::string_view loss_percent, std::string_view voltage);

// "Номинальное напряжение 220 В при 4 % потерь составит 211,2 В"
std::string VoltageHint(std::string_view voltage, std::string_view loss_percent, std::string_view remaining_volts);

}  // namespace kelvo

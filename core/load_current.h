// Load current from power and power from current, for the three supply kinds.
#pragma once

#include <optional>

#include "conductor.h"

namespace kelvo {

// The factor of three-phase supplies: 1,732, to which the worked figures of the tables are
// calculated (not the exact root of 3).
constexpr double kSqrt3 = 1.732;

// The load's power factor, efficiency and an additional coefficient; all 1 in the program's use.
struct LoadCoefficients {
    double cos_phi = 1;
    double efficiency = 1;
    double extra = 1;
};

// I in A from P in kW at U in V. DC ignores the coefficients. Nothing when the divisor is zero
// or the result is not a finite number; the caller ends its action without a result then.
std::optional<double> CurrentFromPower(double power_kw, double voltage, LoadCoefficients c, SupplyKind supply);

// P in kW from I in A at U in V. DC uses the coefficients as single-phase does. Nothing when
// the result is not a finite number.
std::optional<double> PowerFromCurrent(double current, double voltage, LoadCoefficients c, SupplyKind supply);

}  // namespace kelvo

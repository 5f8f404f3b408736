#include "load_current.h"

#include <cmath>

namespace kelvo {
namespace {

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

// The products are evaluated left to right exactly as written in the formulas, so that the
// results match the worked figures to the last digit.
std::optional<double> CurrentFromPower(double power_kw, double voltage, LoadCoefficients c, SupplyKind supply) {
    double divisor = 0;
    switch (supply) {
        case SupplyKind::ThreePhase:
            divisor = voltage * kSqrt3 * c.cos_phi * c.efficiency * c.extra;
            break;
        case SupplyKind::SinglePhase:
            divisor = voltage * c.cos_phi * c.efficiency * c.extra;
            break;
        case SupplyKind::DC:
            divisor = voltage;
            break;
    }
    if (divisor == 0) return std::nullopt;
    return Finite(1000 * power_kw / divisor);
}

std::optional<double> PowerFromCurrent(double current, double voltage, LoadCoefficients c, SupplyKind supply) {
    if (supply == SupplyKind::ThreePhase)
        return Finite(voltage * kSqrt3 * current * c.cos_phi * c.efficiency * c.extra / 1000);
    return Finite(voltage * current * c.cos_phi * c.efficiency * c.extra / 1000);
}

}  // namespace kelvo

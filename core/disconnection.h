// Automatic disconnection at the far end of a line of a TN system: when the phase touches the
// protective conductor there, is the fault current large enough for the breaker's instantaneous
// release, so that the supply is cut within the time the code allows (0,4 s at 220 V phase
// voltage, 0,2 s at 380 V)?
//
// The rule, with its constants:
//   U0    phase voltage: U for single-phase, U / √3 for three-phase (the line's voltage is
//         between phases); direct current is not checked.
//   r0    the loop of phase and protective conductor per metre: ρ × (1/S + 1/S_PE), ρ at 70 °C
//         = 1,2 × the 20 °C resistivity (copper 0,0175, aluminium 0,028 Ω·mm²/m);
//   x0    the loop's reactance, 0,00015 Ω/m; z0 = √(r0² + x0²);
//   Z_up  the loop impedance from the source to the line's start (measured or designed), added
//         arithmetically, which errs on the safe side;
//   Ik    = U0 / (Z_up + L × z0), shown as every current is (two decimals, halves to even);
//   Ia    = m × In: In the breaker's rating, m = 5, 10, 20 for the characteristics B, C, D (the
//         top of each band: the current at which tripping is certain);
//   disconnection is ensured when the shown Ik ≥ Ia;
//   L_max = (U0 / Ia − Z_up) / z0 rounded down to whole metres, 0 when Z_up alone is too large;
//         with Ik compared as shown, the longest whole length whose shown Ik ≥ Ia.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conductor.h"

namespace kelvo {

enum class TripCharacteristic { B, C, D };

// "B", "C", "D" in Latin or Cyrillic letters ("В", "С", "Д"), any case, spaces around allowed;
// empty means C.
std::optional<TripCharacteristic> ReadTripCharacteristic(std::string_view text);
// The multiple of the rating at which the instantaneous release trips for certain.
double InstantaneousMultiple(TripCharacteristic characteristic);

inline constexpr double kLoopReactancePerMetre = 0.00015;  // Ω/m
inline constexpr double kHotResistivityFactor = 1.2;       // 70 °C against 20 °C

struct DisconnectionInput {
    SupplyKind supply = SupplyKind::SinglePhase;
    double voltage = 220;  // V, between phases for three-phase
    Material material = Material::Copper;
    double section = 0;             // mm², the phase conductor
    double pe_section = 0;          // mm², the protective conductor (the phase section when 0)
    std::optional<double> length;   // m
    double upstream_impedance = 0;  // Z_up, Ω
    double breaker_rating = 0;      // In, A
    TripCharacteristic characteristic = TripCharacteristic::C;
};

struct DisconnectionResult {
    double phase_voltage = 0;             // U0, V
    double loop_impedance_per_metre = 0;  // z0, Ω/m
    double trip_current = 0;              // Ia, A
    std::optional<double> fault_current;  // Ik as shown, A, when a length is given
    std::optional<bool> ensured;          // Ik ≥ Ia, when a length is given
    long longest_line = 0;                // L_max, whole metres
};

// The check, or nothing for direct current and for figures that make no line (a section,
// rating or voltage not above zero, a negative impedance or length).
std::optional<DisconnectionResult> CheckDisconnection(const DisconnectionInput& input);

// The smallest section of the laying's own table (of permissible currents) for which the check
// holds at the input's length, the protective conductor as large as the phase: its text, or
// "нет" when none does (or the input makes no line).
std::string SmallestSectionForDisconnection(DisconnectionInput input, LayingMethod laying);

// A calculated line as both programs hand it to the check: its texts as shown (the voltage, the
// section, the length, empty when none is given, and the breaker's rating, which may be the mark of
// a current above every table), and the check's own inputs.
struct DisconnectionLine {
    SupplyKind supply = SupplyKind::SinglePhase;
    Material material = Material::Copper;
    LayingMethod laying = LayingMethod::p1;
    std::string_view voltage, section, length, breaker;
    double upstream_impedance = 0;  // Ω, not negative
    double pe_section = 0;          // mm², 0 for the phase section
    TripCharacteristic characteristic = TripCharacteristic::C;
};

// The check in words, as a schedule row writes it and the window shows it: the fault current, the
// release's current, the verdict, the longest line and the smallest section (each empty where the
// line has none).
struct DisconnectionTexts {
    std::string fault_current, trip_current, verdict, longest_line, smallest_section;
    bool not_ensured = false;  // checked, and the breaker does not trip in time
    void Clear() {
        fault_current.clear(), trip_current.clear(), verdict.clear(), longest_line.clear();
        smallest_section.clear();
        not_ensured = false;
    }
};

// The check of the line into `texts` (cleared first): for direct current, and for a line without
// a breaker or a section, only the verdict says why it is not made.
void DescribeDisconnection(const DisconnectionLine& line, DisconnectionTexts& texts);

}  // namespace kelvo

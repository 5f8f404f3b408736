// One line of a cable schedule calculated the way the main window calculates it: the same
// rules, the same rounding and the same order of steps, from the same texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conductor.h"
#include "messages.h"

namespace kelvo {

enum class GivenLoad { Power, Current };

struct LineInput {
    SupplyKind supply = SupplyKind::SinglePhase;
    std::string voltage = "220";
    ConductorChoice conductor;
    std::string length = "1";        // m
    std::string loss_percent = "4";  // allowed voltage loss
    std::string multiplicity = "1";
};

struct ForwardInput {
    LineInput line;
    GivenLoad given = GivenLoad::Power;
    std::string load;  // kW or A, as typed
};

struct ReverseInput {
    LineInput line;
    std::string section;  // mm²
};

enum class Basis { None, Current, VoltageLoss };

struct LineResult {
    std::string current;            // A: the load current, or the maximum current
    std::string power;              // kW
    std::string section_by_current;
    std::string section_by_loss;
    std::string recommended;        // the section to take
    Basis basis = Basis::None;
    std::string current_at_multiplicity;
    std::string breaker;
    std::string rcd_rated;
    std::string rcd_trip;
    // The message the window would show; the results are then empty, as the window's "ОК"
    // leaves them. Empty when the line was calculated.
    std::string message;
};

// The section to take of the two, and why: the larger one, compared in single precision as the
// sections are shown; a tie goes to the section by permissible current. Nothing when either
// text is not a number (the exceed marker is one: 1,111).
struct Recommendation {
    Basis basis = Basis::None;
    std::string_view section;  // one of the two texts given
};
std::optional<Recommendation> Recommend(std::string_view by_current, std::string_view by_loss);

LineResult CalculateForward(const ForwardInput& input);
// The recommendation as the window words it ("Выбрать по … сечение … мм.кв"); empty when there
// is none.
std::string RecommendationText(const LineResult& result);
LineResult CalculateReverse(const ReverseInput& input);


}  // namespace kelvo

// One line of a cable schedule calculated the way the main window calculates it: the same
// rules, the same rounding and the same order of steps, from the same texts.
//
// What is shared and what is not: the window runs its own cascade of handlers over its boxes
// (ui/main/calculation_flow.cpp and the protection pipeline), and calls from here the checks
// and the decision it shares with kelvo-calc: FiguresFault, SectionFault, AboveEveryTable and
// Recommend. Beneath both stand the same rules of core/ (SelectSectionByCurrent,
// SelectSectionByVoltageLoss, MaximumCurrentBySection, CurrentAtMultiplicity,
// SelectBreakerRating, SelectRcdRatedCurrent, SelectRcdTripCurrent) and every message text
// (messages.h). CalculateForward and CalculateReverse are kelvo-calc's and the schedule window's
// whole line, step for step as the window's cascade goes; a test compares the two on the same
// lines (tests/ui/window_vs_batch_test.cpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "conductor.h"
#include "laying_conditions.h"
#include "messages.h"
#include "number_text.h"

namespace kelvo {

enum class GivenLoad { Power, Current };

// The texts of a line as typed (views: the texts must outlive the calculation).
struct LineInput {
    SupplyKind supply = SupplyKind::SinglePhase;
    std::string_view voltage = "220";
    ConductorChoice conductor;
    std::string_view length = "1";        // m
    std::string_view loss_percent = "4";  // allowed voltage loss
    std::string_view multiplicity = "1";
    LayingConditions conditions;  // none given: the tables' own
};

struct ForwardInput {
    LineInput line;
    GivenLoad given = GivenLoad::Power;
    std::string_view load;  // kW or A, as typed
};

struct ReverseInput {
    LineInput line;
    std::string_view section;  // mm²
};

enum class Basis { None, Current, VoltageLoss };

struct LineResult {
    std::string current;  // A: the load current, or the maximum current
    std::string power;    // kW
    std::string section_by_current;
    std::string section_by_loss;
    std::string recommended;  // the section to take
    Basis basis = Basis::None;
    std::string current_at_multiplicity;
    std::string breaker;
    std::string rcd_rated;
    std::string rcd_trip;
    // The correction factor K = Kt × Kn of the laying conditions, when they are given.
    std::string correction;
    // The message the window shows; the results are then empty, as the window's "ОК"
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
// The same for two sections of the tables, compared by their values; nothing when either is
// empty.
std::optional<Recommendation> Recommend(const TableNumber& by_current, const TableNumber& by_loss);

// The fault of a line's figures, as typed, that leaves no meaningful result, in the order it is
// told: a negative load, then a voltage, a length or an allowed loss that is not above zero.
// The length and the loss are not checked while the length is empty (that has its own
// message); nothing is said while a figure is not a number (the decimal-comma message is).
std::optional<std::string_view> FiguresFault(std::string_view load, std::string_view voltage, std::string_view length,
                                             std::string_view loss);

// The fault of a cross-section as typed for the reverse calculation: none given, or not a
// number. Without a fault, `size` (when given) receives the number the text reads as.
std::optional<std::string_view> SectionFault(std::string_view section, double* size = nullptr);

// Whether an empty selection by voltage loss means that the required section lies above every
// table (rather than that the conductor is incomplete or the required section not a number).
bool AboveEveryTable(std::string_view required, std::string_view selected, const ConductorChoice& conductor);

LineResult CalculateForward(const ForwardInput& input);
// The same into `out`, whose strings keep their room from one line to the next.
void CalculateForward(const ForwardInput& input, LineResult& out);
// Gives the line a message and empties its results; its strings keep their room.
void SetMessage(LineResult& out, std::string_view message);
// The same with a message that names `named`, which may be one of the line's own results.
void SetMessage(LineResult& out, const messages::NamingMessage& message, std::string_view named);

// The recommendation as the window words it ("Выбрать по … сечение … мм.кв"); empty when there
// is none.
std::string RecommendationText(const LineResult& result);
LineResult CalculateReverse(const ReverseInput& input);
void CalculateReverse(const ReverseInput& input, LineResult& out);

}  // namespace kelvo

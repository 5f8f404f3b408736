#include "line_calculation.h"

#include "load_current.h"
#include "maximum_current.h"
#include "number_text.h"
#include "permissible_current.h"
#include "protection.h"
#include "result_codes.h"
#include "voltage_loss.h"

namespace kelvo {

namespace {

void WriteRounded(std::string& text, double value) { text = WriteNumber(RoundHalfEven2(value)); }

// The protection for a current (a value with at most two decimals, as its box shows it):
// breaker at the multiplicity, the device and its trip current, as the pipeline chains them.
// Each number is the one its box's text reads as.
void AddProtection(LineResult& result, double current, Fixed4 factor) {
    if (const auto amperes = Fixed4::FromDouble(current)) {
        if (const auto at = factor.Times(*amperes)) {
            result.current_at_multiplicity = at->Text();
            const TableNumber breaker = SelectBreakerRating(at->ToDouble());
            result.breaker = breaker.text;
            if (!breaker.empty()) result.rcd_rated = SelectRcdRatedCurrent(breaker.value);
        }
    }
    if (const auto reference = RcdReferenceCurrent(current))
        result.rcd_trip = SelectRcdTripCurrent(reference->ToDouble());
}

// A line with a message: every result empty, as "ОК" leaves the window.
void ClearResults(LineResult& out) {
    for (std::string* text :
         {&out.current, &out.power, &out.section_by_current, &out.section_by_loss, &out.recommended,
          &out.current_at_multiplicity, &out.breaker, &out.rcd_rated, &out.rcd_trip, &out.correction})
        text->clear();
    out.basis = Basis::None;
}

// The recommendation rule: the larger section, compared in single precision as the sections are
// shown; a tie goes to the section by permissible current.
Recommendation Choose(std::string_view by_current, double current, std::string_view by_loss, double loss) {
    if (static_cast<float>(current) < static_cast<float>(loss)) return {Basis::VoltageLoss, by_loss};
    return {Basis::Current, by_current};
}

std::optional<std::string_view> NumbersFault(double load, double voltage, std::optional<double> length,
                                             std::optional<double> loss) {
    if (load < 0) return messages::kNegativeLoad;
    if (voltage <= 0) return messages::kVoltageNotPositive;
    if (length && *length <= 0) return messages::kLengthNotPositive;
    if (loss && *loss <= 0) return messages::kLossNotPositive;
    return std::nullopt;
}

}  // namespace

std::optional<Recommendation> Recommend(std::string_view by_current, std::string_view by_loss) {
    const auto current = ReadNumber(by_current);
    const auto loss = ReadNumber(by_loss);
    if (!current || !loss) return std::nullopt;
    return Choose(by_current, *current, by_loss, *loss);
}

std::optional<Recommendation> Recommend(const TableNumber& by_current, const TableNumber& by_loss) {
    if (by_current.empty() || by_loss.empty()) return std::nullopt;
    return Choose(by_current.text, by_current.value, by_loss.text, by_loss.value);
}

std::optional<std::string_view> FiguresFault(std::string_view load, std::string_view voltage, std::string_view length,
                                             std::string_view loss) {
    const auto load_value = ReadNumber(load);
    const auto voltage_value = ReadNumber(voltage);
    if (!load_value || !voltage_value) return std::nullopt;
    std::optional<double> length_value, loss_value;
    if (!length.empty()) {
        length_value = ReadNumber(length);
        loss_value = ReadNumber(loss);
        if (!length_value || !loss_value) return std::nullopt;
    }
    return NumbersFault(*load_value, *voltage_value, length_value, loss_value);
}

std::optional<std::string_view> SectionFault(std::string_view section, double* size) {
    if (section.empty()) return messages::kChooseSection;
    const auto value = ReadNumber(section);
    if (!value) return messages::kDecimalComma;
    if (size) *size = *value;
    return std::nullopt;
}

bool AboveEveryTable(std::string_view required, std::string_view selected, const ConductorChoice& conductor) {
    return selected.empty() && ReadNumber(required) && EffectiveLaying(conductor);
}

void SetMessage(LineResult& out, std::string_view message) {
    ClearResults(out);
    out.message = message;
}

void SetMessage(LineResult& out, const messages::NamingMessage& message, std::string_view named) {
    message.WriteTo(out.message, named);  // before the results it may name are emptied
    ClearResults(out);
}

LineResult CalculateForward(const ForwardInput& input) {
    LineResult result;
    CalculateForward(input, result);
    return result;
}

namespace {

// A forward line's figures, each text read as a number once.
struct ForwardFigures {
    double load = 0, voltage = 0;
    bool length_given = false;
    std::optional<double> length, loss;
    Fixed4 factor;
    std::optional<Fixed4> correction;  // K of the laying conditions, when they are given
};

// Reads the figures; false, with the line's message set, when they do not make a line.
bool ReadForwardFigures(const ForwardInput& input, ForwardFigures& figures, LineResult& out) {
    const LineInput& line = input.line;
    if (!EffectiveLaying(line.conductor)) return SetMessage(out, messages::kIncompleteConductor), false;
    // An empty load is written back as an empty box, which is not a number.
    const auto load = ReadNumber(input.load);
    const auto voltage = ReadNumber(line.voltage);
    if (!load || !voltage) return SetMessage(out, messages::kDecimalComma), false;
    figures.load = *load;
    figures.voltage = *voltage;
    figures.length_given = !line.length.empty();
    if (figures.length_given) {
        figures.length = ReadNumber(line.length);
        figures.loss = ReadNumber(line.loss_percent);
    }
    if (!figures.length_given || (figures.length && figures.loss))
        if (const auto fault = NumbersFault(*load, *voltage, figures.length, figures.loss))
            return SetMessage(out, *fault), false;
    const auto factor = OfferedMultiplicity(line.multiplicity);
    if (!factor) {
        messages::WriteUnknownMultiplicity(out.message, line.multiplicity, MultiplicityList());
        return ClearResults(out), false;
    }
    figures.factor = *factor;
    const auto correction = FactorFor(line.conductor, line.conditions);
    if (const auto* message = std::get_if<std::string>(&correction)) return SetMessage(out, *message), false;
    figures.correction = std::get<std::optional<Fixed4>>(correction);
    return true;
}

// The section by voltage loss, from the power as given or computed (not rounded; with no length
// the required section is 0), and the recommendation, into `out`. Returns the message they leave
// the line with (the last one, as a later message replaces an earlier), or none.
std::string_view SectionByLossAndRecommendation(const LineInput& line, const ForwardFigures& figures, double power,
                                                const TableNumber& by_current, LineResult& out) {
    std::string_view message;
    double required = 0;
    if (!figures.length_given) {
        message = messages::kNoLength;
    } else {
        if (!figures.length || !figures.loss) return messages::kDecimalComma;
        const Material material = *line.conductor.material;
        const auto section =
            RequiredSection({power, *figures.length, *figures.loss, figures.voltage}, line.supply, material);
        if (!section) return messages::kCannotCalculate;
        required = RoundHalfEven2(*section);
    }
    const TableNumber by_loss = SelectSectionByVoltageLoss(required, line.conductor);
    out.section_by_loss = by_loss.text;
    if (out.section_by_loss == kExceedMarker) message = messages::kExceedByLoss;
    if (by_loss.empty()) {
        if (AboveEveryTable(WriteNumber(required), out.section_by_loss, line.conductor))
            message = messages::kLossSectionBeyondTables;
        return message;
    }
    // On a tie the section by current also stands as the section by voltage loss.
    const auto recommendation = Recommend(by_current, by_loss);
    if (!recommendation) return messages::kTooLarge;
    out.basis = recommendation->basis;
    out.recommended = recommendation->section;
    if (out.basis == Basis::Current) {
        out.section_by_loss = out.section_by_current;
        // The section by current, written where the section by voltage loss stands, is checked
        // there too: the exceed marker brings that box's message.
        if (out.section_by_loss == kExceedMarker) message = messages::kExceedByLoss;
    }
    return message;
}

}  // namespace

// The window shows a message and goes on, or fails and ends the click; a later message replaces
// an earlier one, and "ОК" then empties the results. So the line keeps the last message, and a
// line with a message has no results. Every text is read as a number once.
void CalculateForward(const ForwardInput& input, LineResult& out) {
    const LineInput& line = input.line;
    ForwardFigures figures;
    if (!ReadForwardFigures(input, figures, out)) return;
    const bool power_given = input.given == GivenLoad::Power;
    const auto computed = power_given ? CurrentFromPower(figures.load, figures.voltage, {}, line.supply)
                                      : PowerFromCurrent(figures.load, figures.voltage, {}, line.supply);
    if (!computed) return SetMessage(out, messages::kCannotCalculate);
    const double current = power_given ? *computed : figures.load;
    const double power = power_given ? figures.load : *computed;

    SetMessage(out, {});
    const double shown_current = RoundHalfEven2(current);
    out.current = WriteNumber(shown_current);
    WriteRounded(out.power, power);
    // Under laying conditions the section by current is the table's for I / K: its corrected
    // current K × Iдоп carries the load.
    const TableNumber by_current = SelectSectionByCurrent(
        figures.correction ? shown_current / figures.correction->ToDouble() : shown_current, line.conductor);
    out.section_by_current = by_current.text;
    if (figures.correction) out.correction = WriteNumber(figures.correction->ToDouble());
    AddProtection(out, shown_current, figures.factor);
    // The first message, the exceed by power, names the power and is written only if no later
    // one replaces it.
    const bool exceed_by_power = out.section_by_current == kExceedMarker;
    const std::string_view message = SectionByLossAndRecommendation(line, figures, power, by_current, out);
    if (!message.empty()) return SetMessage(out, message);
    if (exceed_by_power) SetMessage(out, messages::kExceedByPower, power_given ? input.load : out.power);
}

std::string RecommendationText(const LineResult& result) {
    if (result.basis == Basis::None) return {};
    return messages::Recommendation(result.basis == Basis::VoltageLoss, result.recommended);
}

LineResult CalculateReverse(const ReverseInput& input) {
    LineResult result;
    CalculateReverse(input, result);
    return result;
}

void CalculateReverse(const ReverseInput& input, LineResult& out) {
    const LineInput& line = input.line;
    double size = 0;
    if (const auto fault = SectionFault(input.section, &size)) return SetMessage(out, *fault);
    if (!EffectiveLaying(line.conductor)) return SetMessage(out, messages::kIncompleteConductor);
    const MaximumCurrent maximum = MaximumCurrentOfSize(size, line.conductor);
    if (!maximum.in_table) return SetMessage(out, messages::kSectionNotInTable);
    if (!maximum.amperes) return SetMessage(out, messages::kNoCurrentForSection);

    // The reverse calculation always starts from a fresh pipeline: multiplicity 1. The window
    // reads the maximum current back from its box; the tables' currents are short decimals
    // that their texts give back exactly. Under laying conditions it is K × Iмакс, as shown.
    const auto factor = FactorFor(line.conductor, line.conditions);
    if (const auto* message = std::get_if<std::string>(&factor)) return SetMessage(out, *message);
    const std::optional<Fixed4> correction = std::get<std::optional<Fixed4>>(factor);
    const double amperes = correction ? CorrectedCurrent(*maximum.amperes, *correction) : *maximum.amperes;
    const auto voltage = ReadNumber(line.voltage);
    if (!voltage) return SetMessage(out, messages::kDecimalComma);
    if (const auto fault = NumbersFault(amperes, *voltage, std::nullopt, std::nullopt)) return SetMessage(out, *fault);
    const auto power = PowerFromCurrent(amperes, *voltage, {}, line.supply);
    if (!power) return SetMessage(out, messages::kCannotCalculate);
    SetMessage(out, {});
    AddProtection(out, amperes, *OfferedMultiplicity(kDefaultMultiplicity));
    WriteRounded(out.current, amperes);
    WriteRounded(out.power, *power);
    if (correction) out.correction = WriteNumber(correction->ToDouble());
}

}  // namespace kelvo

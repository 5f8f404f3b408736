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

std::string Rounded(double value) { return WriteNumber(RoundHalfEven2(value)); }

// The protection for a current (a value with at most two decimals, as its box shows it):
// breaker at the multiplicity, the device and its trip current, as the pipeline chains them.
// Each number is the one its box's text reads as.
void AddProtection(LineResult& result, double current, const std::string& multiplicity) {
    const auto factor = Fixed4::FromText(multiplicity);
    const auto amperes = Fixed4::FromDouble(current);
    if (factor && amperes) {
        if (const auto at = factor->Times(*amperes)) {
            result.current_at_multiplicity = at->Text();
            result.breaker = SelectBreakerRating(at->ToDouble());
            result.rcd_rated = SelectRcdRatedCurrent(result.breaker);
        }
    }
    if (const auto reference = RcdReferenceCurrent(current))
        result.rcd_trip = SelectRcdTripCurrent(reference->ToDouble());
}

}  // namespace

std::optional<Recommendation> Recommend(std::string_view by_current, std::string_view by_loss) {
    const auto current = ReadNumber(by_current);
    const auto loss = ReadNumber(by_loss);
    if (!current || !loss) return std::nullopt;
    if (static_cast<float>(*current) < static_cast<float>(*loss)) return Recommendation{Basis::VoltageLoss, by_loss};
    return Recommendation{Basis::Current, by_current};
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
    if (*load_value < 0) return messages::kNegativeLoad;
    if (*voltage_value <= 0) return messages::kVoltageNotPositive;
    if (length_value && *length_value <= 0) return messages::kLengthNotPositive;
    if (loss_value && *loss_value <= 0) return messages::kLossNotPositive;
    return std::nullopt;
}

std::optional<std::string_view> SectionFault(std::string_view section) {
    if (section.empty()) return messages::kChooseSection;
    if (!ReadNumber(section)) return messages::kDecimalComma;
    return std::nullopt;
}

bool AboveEveryTable(std::string_view required, std::string_view selected, const ConductorChoice& conductor) {
    return selected.empty() && ReadNumber(required) && EffectiveLaying(conductor);
}

LineResult Failed(std::string message) {
    LineResult result;
    result.message = std::move(message);
    return result;
}

// The window shows a message and goes on, or fails and ends the click; a later message replaces
// an earlier one, and "ОК" then empties the results. So the line keeps the last message, and a
// line with a message has no results.
LineResult CalculateForward(const ForwardInput& input) {
    const LineInput& line = input.line;
    if (!EffectiveLaying(line.conductor)) return Failed(messages::kIncompleteConductor);
    // An empty load is written back as an empty box, which is not a number.
    const auto load = ReadNumber(input.load);
    const auto voltage = ReadNumber(line.voltage);
    if (!load || !voltage) return Failed(messages::kDecimalComma);
    if (const auto fault = FiguresFault(input.load, line.voltage, line.length, line.loss_percent))
        return Failed(std::string(*fault));
    if (!IsOfferedMultiplicity(line.multiplicity))
        return Failed(messages::UnknownMultiplicity(line.multiplicity, MultiplicityList()));

    double current = 0, power = 0;
    if (input.given == GivenLoad::Power) {
        const auto computed = CurrentFromPower(*load, *voltage, {}, line.supply);
        if (!computed) return Failed(messages::kCannotCalculate);
        current = *computed;
        power = *load;
    } else {
        const auto computed = PowerFromCurrent(*load, *voltage, {}, line.supply);
        if (!computed) return Failed(messages::kCannotCalculate);
        current = *load;
        power = *computed;
    }

    LineResult result;
    std::string message;
    const double shown_current = RoundHalfEven2(current);
    result.current = WriteNumber(shown_current);
    result.power = Rounded(power);
    result.section_by_current = SelectSectionByCurrent(shown_current, line.conductor);
    AddProtection(result, shown_current, line.multiplicity);
    if (result.section_by_current == kExceedMarker)
        message = messages::ExceedByPower(input.given == GivenLoad::Power ? input.load : result.power);

    // The section by voltage loss, from the power as given or computed (not rounded); with no
    // length the required section is 0.
    std::string required = "0";
    if (line.length.empty()) {
        message = messages::kNoLength;
    } else {
        const auto length = ReadNumber(line.length);
        const auto loss = ReadNumber(line.loss_percent);
        if (!length || !loss) return Failed(messages::kDecimalComma);
        const Material material = *line.conductor.material;
        const auto section = RequiredSection({power, *length, *loss, *voltage}, line.supply, material);
        if (!section) return Failed(messages::kCannotCalculate);
        required = Rounded(*section);
    }
    result.section_by_loss = SelectSectionByVoltageLoss(required, line.conductor);
    if (result.section_by_loss == kExceedMarker) message = messages::kExceedByLoss;

    // The recommendation; on a tie the section by current also stands as the section by voltage
    // loss.
    if (!result.section_by_loss.empty()) {
        const auto recommendation = Recommend(result.section_by_current, result.section_by_loss);
        if (!recommendation) {
            message = messages::kTooLarge;
        } else {
            result.basis = recommendation->basis;
            result.recommended = recommendation->section;
            if (result.basis == Basis::Current) {
                result.section_by_loss = result.section_by_current;
                // The section by current, written where the section by voltage loss stands, is
                // checked there too: the exceed marker brings that box's message.
                if (result.section_by_loss == kExceedMarker) message = messages::kExceedByLoss;
            }
        }
    } else if (AboveEveryTable(required, result.section_by_loss, line.conductor)) {
        message = messages::kLossSectionBeyondTables;
    }
    if (!message.empty()) return Failed(message);
    return result;
}

std::string RecommendationText(const LineResult& result) {
    if (result.basis == Basis::None) return {};
    return messages::Recommendation(result.basis == Basis::VoltageLoss, result.recommended);
}

LineResult CalculateReverse(const ReverseInput& input) {
    const LineInput& line = input.line;
    if (const auto fault = SectionFault(input.section)) return Failed(std::string(*fault));
    if (!EffectiveLaying(line.conductor)) return Failed(messages::kIncompleteConductor);
    const std::string maximum = MaximumCurrentBySection(input.section, line.conductor);
    if (maximum == kAboveTable) return Failed(messages::kNoCurrentForSection);
    if (maximum.empty()) return Failed(messages::kSectionNotInTable);

    // The reverse calculation always starts from a fresh pipeline: multiplicity 1.
    LineResult result;
    const double amperes = *ReadNumber(maximum);
    AddProtection(result, amperes, std::string(kDefaultMultiplicity));
    const auto voltage = ReadNumber(line.voltage);
    if (!voltage) return Failed(messages::kDecimalComma);
    if (const auto fault = FiguresFault(maximum, line.voltage, {}, {})) return Failed(std::string(*fault));
    const auto power = PowerFromCurrent(amperes, *voltage, {}, line.supply);
    if (!power) return Failed(messages::kCannotCalculate);
    result.current = Rounded(amperes);
    result.power = Rounded(*power);
    return result;
}

}  // namespace kelvo

#include "core/laying_conditions.h"

#include <cmath>
#include <cstdint>

#include "core/maximum_current.h"
#include "core/messages.h"
#include "core/permissible_current.h"

namespace kelvo {
namespace {

Fixed4 Factor(std::string_view text) { return *Fixed4::FromText(text); }

std::string Named(const messages::NamingMessage& message, std::string_view value) {
    std::string text;
    message.WriteTo(text, value);
    return text;
}

// Kt: the hotter column for a temperature between two, the −5 column below it.
std::variant<Fixed4, std::string> AmbientFactor(LayingMethod laying, std::string_view typed) {
    const auto& row = InGround(laying) ? kAmbientInGround : kAmbientInAir;
    if (typed.empty()) return Factor(InGround(laying) ? row[4] : row[6]);
    const auto ambient = ReadNumber(typed);
    if (!ambient) return Named(messages::kAmbientNotNumber, typed);
    for (std::size_t i = 0; i < kAmbientColumns.size(); ++i)
        if (*ambient <= kAmbientColumns[i]) return Factor(row[i]);
    return std::string(messages::kAmbientAboveTable);
}

// Kn: the smaller distance's row, the 100 mm row when none is given, the 300 row above it.
std::variant<Fixed4, std::string> SideBySideFactor(LayingMethod laying, std::string_view cables_typed,
                                                   std::string_view distance_typed) {
    std::size_t cables = 1;
    if (!cables_typed.empty()) {
        const auto count = ReadNumber(cables_typed);
        if (!count || *count < 1 || *count != std::floor(*count)) return Named(messages::kCablesNotCount, cables_typed);
        if (*count > 6) return std::string(messages::kCablesAboveTable);
        cables = static_cast<std::size_t>(*count);
    }
    if (!InGround(laying)) {
        if (cables > 1) return std::string(messages::kCablesInAir);
        return Factor("1");
    }
    std::size_t row = 0;
    if (!distance_typed.empty()) {
        const auto distance = ReadNumber(distance_typed);
        if (!distance) return Named(messages::kDistanceNotNumber, distance_typed);
        if (*distance < kCableDistances.front()) return std::string(messages::kDistanceBelowTable);
        for (std::size_t i = 0; i < kCableDistances.size(); ++i)
            if (*distance >= kCableDistances[i]) row = i;
    }
    return Factor(kSideBySide[row][cables - 1]);
}

}  // namespace

std::variant<Correction, std::string> CorrectionFor(LayingMethod laying, const LayingConditions& conditions) {
    const auto kt = AmbientFactor(laying, Trim(conditions.ambient));
    if (const auto* message = std::get_if<std::string>(&kt)) return *message;
    const auto kn = SideBySideFactor(laying, Trim(conditions.cables), Trim(conditions.distance));
    if (const auto* message = std::get_if<std::string>(&kn)) return *message;
    Correction correction;
    correction.kt = std::get<Fixed4>(kt);
    correction.kn = std::get<Fixed4>(kn);
    correction.k = *correction.kt.Times(correction.kn);  // two decimals by two: exact
    return correction;
}

std::string SelectSectionByCorrectedCurrent(std::string_view current, const ConductorChoice& choice,
                                            std::optional<Fixed4> k) {
    if (!k) return SelectSectionByCurrent(current, choice);
    const auto amperes = ReadNumber(current);
    if (!amperes || *amperes < 0) return SelectSectionByCurrent(current, choice);  // its own answer
    return std::string(SelectSectionByCurrent(*amperes / k->ToDouble(), choice).text);
}

std::string CorrectedMaximumCurrentBySection(std::string_view section, const ConductorChoice& choice,
                                             std::optional<Fixed4> k) {
    std::string maximum = MaximumCurrentBySection(section, choice);
    const auto amperes = ReadNumber(maximum);
    if (!k || !amperes) return maximum;  // empty, "нет", or the tables' own
    return WriteNumber(CorrectedCurrent(*amperes, *k));
}

std::variant<std::optional<Fixed4>, std::string> FactorFor(const ConductorChoice& choice,
                                                           const LayingConditions& conditions) {
    const auto laying = EffectiveLaying(choice);
    if (!conditions.Given() || !laying) return std::optional<Fixed4>();
    const auto correction = CorrectionFor(*laying, conditions);
    if (const auto* message = std::get_if<std::string>(&correction)) return *message;
    return std::optional<Fixed4>(std::get<Correction>(correction).k);
}

double CorrectedCurrent(double amperes, Fixed4 k) {
    // The current's own digits times the factor's, exact in whole numbers, rounded once.
    const auto current = Fixed4::FromDouble(amperes);
    if (!current) return amperes * k.ToDouble();
    const std::int64_t product = current->ticks() * k.ticks();  // 10^-8
    constexpr std::int64_t kCent = 1'000'000;                   // 10^-2 in 10^-8
    std::int64_t cents = product / kCent;
    const std::int64_t rest = product % kCent;
    if (rest * 2 > kCent || (rest * 2 == kCent && cents % 2 != 0)) ++cents;
    return static_cast<double>(cents) / 100;
}

}  // namespace kelvo

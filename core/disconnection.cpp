#include "disconnection.h"

#include <algorithm>
#include <cmath>

#include "messages.h"
#include "number_text.h"
#include "permissible_current.h"
#include "result_codes.h"
#include "voltage_loss.h"

namespace kelvo {

std::optional<TripCharacteristic> ReadTripCharacteristic(std::string_view text) {
    text = Trim(text);
    if (text.empty()) return TripCharacteristic::C;
    // Latin letters, then the Cyrillic ones that look or sound the same, capital and small.
    static constexpr std::pair<std::string_view, TripCharacteristic> kLetters[] = {
        {"B", TripCharacteristic::B}, {"b", TripCharacteristic::B}, {"В", TripCharacteristic::B},
        {"в", TripCharacteristic::B}, {"C", TripCharacteristic::C}, {"c", TripCharacteristic::C},
        {"С", TripCharacteristic::C}, {"с", TripCharacteristic::C}, {"D", TripCharacteristic::D},
        {"d", TripCharacteristic::D}, {"Д", TripCharacteristic::D}, {"д", TripCharacteristic::D}};
    for (const auto& [letter, characteristic] : kLetters)
        if (text == letter) return characteristic;
    return std::nullopt;
}

double InstantaneousMultiple(TripCharacteristic characteristic) {
    switch (characteristic) {
        case TripCharacteristic::B:
            return 5;
        case TripCharacteristic::C:
            return 10;
        case TripCharacteristic::D:
            return 20;
    }
    return 10;
}

std::optional<DisconnectionResult> CheckDisconnection(const DisconnectionInput& input) {
    if (input.supply == SupplyKind::DC) return std::nullopt;
    const double pe = input.pe_section > 0 ? input.pe_section : input.section;
    if (!(input.section > 0) || !(pe > 0) || !(input.voltage > 0) || !(input.breaker_rating > 0) ||
        !(input.upstream_impedance >= 0) || (input.length && !(*input.length >= 0)))
        return std::nullopt;
    DisconnectionResult result;
    result.phase_voltage = input.supply == SupplyKind::ThreePhase ? input.voltage / std::sqrt(3.0) : input.voltage;
    const double resistivity =
        kHotResistivityFactor * (input.material == Material::Copper ? kCopperResistivity : kAluminiumResistivity);
    const double r0 = resistivity * (1 / input.section + 1 / pe);
    result.loop_impedance_per_metre = std::sqrt(r0 * r0 + kLoopReactancePerMetre * kLoopReactancePerMetre);
    result.trip_current = InstantaneousMultiple(input.characteristic) * input.breaker_rating;
    // The shown fault current at a length, and whether it trips the release.
    const auto shown_at = [&](double length) {
        const double impedance = input.upstream_impedance + length * result.loop_impedance_per_metre;
        return impedance > 0 ? RoundHalfEven2(result.phase_voltage / impedance) : HUGE_VAL;
    };
    const auto passes = [&](double length) { return shown_at(length) >= result.trip_current; };
    // The verdict is on the shown current, rounded to hundredths: the longest line is where the
    // current falls half a hundredth below Ia (a long line of a thick conductor loses so little
    // current per metre that the rounding spans metres), then the whole metres on either side
    // decide.
    const double longest = (result.phase_voltage / (result.trip_current - 0.005) - input.upstream_impedance) /
                           result.loop_impedance_per_metre;
    long metres = longest > 0 ? static_cast<long>(std::min(std::floor(longest), 1e9)) : 0;
    for (int step = 0; step < 4 && passes(static_cast<double>(metres) + 1); ++step) ++metres;
    for (int step = 0; step < 4 && metres > 0 && !passes(static_cast<double>(metres)); ++step) --metres;
    result.longest_line = metres;
    if (input.length) {
        result.fault_current = shown_at(*input.length);
        if (!std::isfinite(*result.fault_current)) return std::nullopt;
        result.ensured = passes(*input.length);
    }
    return result;
}

std::string SmallestSectionForDisconnection(DisconnectionInput input, LayingMethod laying) {
    for (const auto& row : PermissibleCurrentTable(input.material, laying).rows()) {
        if (row.result.text == kExceedMarker) continue;
        input.section = row.result.value;
        input.pe_section = 0;
        const auto check = CheckDisconnection(input);
        if (check && check->ensured && *check->ensured) return std::string(row.result.text);
    }
    return "нет";
}

void DescribeDisconnection(const DisconnectionLine& line, DisconnectionTexts& texts) {
    texts.Clear();
    if (line.supply == SupplyKind::DC) {
        texts.verdict = messages::kDisconnectionNotCheckedDc;
        return;
    }
    DisconnectionInput input;
    input.supply = line.supply;
    input.voltage = ReadNumber(line.voltage).value_or(0);
    input.material = line.material;
    input.section = ReadNumber(line.section).value_or(0);
    input.pe_section = line.pe_section;
    input.length = ReadNumber(line.length);
    input.upstream_impedance = line.upstream_impedance;
    // The mark of a current above every table is no breaker.
    input.breaker_rating = line.breaker == kExceedMarker ? 0 : ReadNumber(line.breaker).value_or(0);
    input.characteristic = line.characteristic;
    const auto check = CheckDisconnection(input);
    if (!check) {
        texts.verdict = messages::kDisconnectionNoBreakerOrSection;
        return;
    }
    texts.trip_current = WriteNumber(check->trip_current);
    texts.longest_line = std::to_string(check->longest_line);
    if (!check->fault_current) return;
    texts.fault_current = WriteNumber(*check->fault_current);
    texts.verdict = *check->ensured ? messages::kDisconnectionEnsured : messages::kDisconnectionNotEnsured;
    texts.not_ensured = !*check->ensured;
    texts.smallest_section = SmallestSectionForDisconnection(input, line.laying);
}

}  // namespace kelvo

// Fuzz target: number texts, the fixed-point type and the rules that read texts. Whatever the
// text, nothing crashes, and every text the program writes is a plain comma number.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/maximum_current.h"
#include "core/number_text.h"
#include "core/permissible_current.h"
#include "core/protection.h"
#include "core/voltage_loss.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// A written number: optional minus, digits, at most one comma; never an exponent, a point,
// "inf" or "nan".
bool PlainNumber(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == '-') text.remove_prefix(1);
    bool digit = false, comma = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == ',' && !comma) {
            comma = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelvo;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (const auto value = ReadNumber(text)) {
        const std::string written = WriteNumber(*value);
        Require(PlainNumber(written));
        Require(ReadNumber(written).has_value());
        Require(PlainNumber(WriteNumber(RoundHalfEven2(*value))));
        if (const auto fixed = Fixed4::FromDouble(*value)) Require(PlainNumber(fixed->Text()));
    }
    if (const auto fixed = Fixed4::FromText(text)) {
        const std::string written = fixed->Text();
        Require(PlainNumber(written));
        Require(Fixed4::FromText(written)->ticks() == fixed->ticks());
        if (const auto square = fixed->Times(*fixed)) Require(PlainNumber(square->Text()));
    }

    const ConductorChoice choices[] = {{Material::Copper, ConductorKind::Wire, LayingMethod::p1},
                                       {Material::Aluminium, ConductorKind::Cable, LayingMethod::k7},
                                       {Material::Copper, ConductorKind::Cable, LayingMethod::k9}};
    for (const auto& choice : choices) {
        const std::string by_current = SelectSectionByCurrent(text, choice);
        Require(by_current.empty() || PlainNumber(by_current));
        const std::string by_loss = SelectSectionByVoltageLoss(text, choice);
        Require(by_loss.empty() || PlainNumber(by_loss));
        const std::string maximum = MaximumCurrentBySection(text, choice);
        Require(maximum.empty() || maximum == "нет" || PlainNumber(maximum));
    }
    if (const auto at = CurrentAtMultiplicity("1,25", text)) {
        Require(PlainNumber(*at));
        const std::string breaker = SelectBreakerRating(*at);
        Require(breaker.empty() || PlainNumber(breaker));
        const std::string device = SelectRcdRatedCurrent(breaker);
        Require(device.empty() || PlainNumber(device));
    }
    if (const auto reference = RcdReferenceCurrent(text)) {
        Require(PlainNumber(*reference));
        const std::string trip = SelectRcdTripCurrent(*reference);
        Require(trip.empty() || PlainNumber(trip));
    }
    return 0;
}

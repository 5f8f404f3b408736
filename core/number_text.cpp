#include "number_text.h"

#include "float_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace kelvo {
namespace {

__extension__ using Int128 = __int128;
__extension__ using UInt128 = unsigned __int128;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Drops leading zeros; trailing zeros move into the exponent. Zero becomes empty digits.
DecimalDigits Normalised(DecimalDigits number) {
    const auto first = number.digits.find_first_not_of('0');
    if (first == std::string::npos) return {number.negative, {}, 0};
    number.digits.erase(0, first);
    const auto last = number.digits.find_last_not_of('0');
    number.exponent += static_cast<int>(number.digits.size() - 1 - last);
    number.digits.erase(last + 1);
    return number;
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common case read without building a digit string: at most 15 significant digits and
// at most 22 decimals, where mantissa / 10^decimals is exact in both operands and so correctly
// rounded. Anything else (or not a number) is left to the full reader.
struct QuickNumber {
    bool negative = false;
    std::uint64_t mantissa = 0;
    int decimals = 0;
};

enum class Scan { Quick, NotANumber, Long };

// The digits from `p` on, into the mantissa; `significant` counts them from the first that is
// not a zero. Returns where they end.
inline const char* TakeDigits(const char* p, const char* end, std::uint64_t& mantissa, int& significant) {
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned>(*p) - '0';
        if (digit > 9) break;
        mantissa = mantissa * 10 + digit;  // past 15 significant digits the value is not used
        significant += mantissa != 0 ? 1 : 0;
    }
    return p;
}

inline Scan ScanQuick(std::string_view text, QuickNumber& number) {
    text = Trim(text);
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t mantissa = 0;
    int significant = 0;
    int decimals = 0;
    const char* const whole = p;
    p = TakeDigits(p, end, mantissa, significant);
    std::ptrdiff_t digits = p - whole;
    if (p != end && *p == ',') {
        const char* const fraction = ++p;
        p = TakeDigits(p, end, mantissa, significant);
        decimals = static_cast<int>(std::min<std::ptrdiff_t>(p - fraction, 23));
        digits += p - fraction;
    }
    if (p != end || digits == 0) return Scan::NotANumber;
    if (significant > 15 || decimals > 22) return Scan::Long;
    number = {negative, mantissa, decimals};
    return Scan::Quick;
}

}  // namespace

std::optional<DecimalDigits> ParseDecimal(std::string_view text) {
    text = Trim(text);
    DecimalDigits number;
    if (!text.empty() && text.front() == '-') {
        number.negative = true;
        text.remove_prefix(1);
    }
    const auto comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view fraction = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    if (whole.empty() && fraction.empty()) return std::nullopt;
    for (const char c : whole)
        if (!IsDigit(c)) return std::nullopt;
    for (const char c : fraction)
        if (!IsDigit(c)) return std::nullopt;  // a second comma lands here too
    number.digits.reserve(whole.size() + fraction.size());
    number.digits.append(whole);
    number.digits.append(fraction);
    number.exponent = -static_cast<int>(fraction.size());
    return number;
}

DecimalDigits DecimalOf(double value) {
    // 15 significant digits, correctly rounded from the binary value: "d.dddddddddddddde±x".
    std::array<char, 40> buffer{};
    std::string_view text(buffer.data(), float_text::Scientific15(value, buffer.data(), buffer.size()));
    DecimalDigits number;
    if (text.front() == '-') {
        number.negative = true;
        text.remove_prefix(1);
    }
    const auto e = text.find('e');
    for (const char c : text.substr(0, e))
        if (IsDigit(c)) number.digits.push_back(c);
    int power = 0;
    const auto exponent_text = text.substr(e + 1);
    const char* begin = exponent_text.data() + (exponent_text.front() == '+' ? 1 : 0);
    std::from_chars(begin, exponent_text.data() + exponent_text.size(), power);
    number.exponent = power - 14;
    return Normalised(std::move(number));
}

DecimalDigits RoundDecimal(DecimalDigits number, int places) {
    number = Normalised(std::move(number));
    if (number.exponent >= -places) return number;
    const auto dropped = static_cast<std::size_t>(-places - number.exponent);
    // Pad so that at least one kept digit exists (it may be a zero).
    if (number.digits.size() <= dropped) number.digits.insert(0, dropped + 1 - number.digits.size(), '0');
    const std::size_t kept = number.digits.size() - dropped;
    const std::string_view tail = std::string_view(number.digits).substr(kept);
    bool up = false;
    if (tail.front() > '5') {
        up = true;
    } else if (tail.front() == '5') {
        const bool above_half = tail.find_first_not_of('0', 1) != std::string_view::npos;
        const bool odd = (number.digits[kept - 1] - '0') % 2 == 1;
        up = above_half || odd;
    }
    number.digits.erase(kept);
    number.exponent = -places;
    if (up) {
        std::size_t i = number.digits.size();
        while (i > 0 && number.digits[i - 1] == '9') number.digits[--i] = '0';
        if (i == 0)
            number.digits.insert(number.digits.begin(), '1');
        else
            ++number.digits[i - 1];
    }
    return Normalised(std::move(number));
}

std::string FormatDecimal(const DecimalDigits& raw) {
    const DecimalDigits number = Normalised(raw);
    if (number.digits.empty()) return "0";
    std::string text = number.negative ? "-" : "";
    if (number.exponent >= 0) {
        text += number.digits;
        text.append(static_cast<std::size_t>(number.exponent), '0');
        return text;
    }
    const int whole_length = static_cast<int>(number.digits.size()) + number.exponent;
    if (whole_length > 0) {
        text.append(number.digits, 0, static_cast<std::size_t>(whole_length));
        text += ',';
        text.append(number.digits, static_cast<std::size_t>(whole_length));
    } else {
        text += "0,";
        text.append(static_cast<std::size_t>(-whole_length), '0');
        text += number.digits;
    }
    return text;
}

namespace {

// A number text with more digits than the quick path takes, read through its digit string.
[[gnu::noinline]] std::optional<double> ReadLongNumber(std::string_view text) {
    auto parsed = ParseDecimal(text);
    if (!parsed) return std::nullopt;
    const DecimalDigits number = Normalised(std::move(*parsed));
    const double sign = number.negative ? -1.0 : 1.0;
    if (number.digits.empty()) return sign * 0.0;
    // Digits beyond what a double can hold only matter for rounding; keep enough of them
    // (with a sticky last digit) so the conversion stays correctly rounded and bounded.
    std::string digits = number.digits;
    long long exponent = number.exponent;
    constexpr std::size_t kKeep = 800;
    if (digits.size() > kKeep) {
        const bool rest_nonzero = digits.find_first_not_of('0', kKeep) != std::string::npos;
        exponent += static_cast<long long>(digits.size() - kKeep);
        digits.erase(kKeep);
        if (rest_nonzero) digits.back() = digits.back() == '0' ? '1' : digits.back();
    }
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;  // 10^(m-1) <= |x| < 10^m
    if (magnitude > 310) return std::nullopt;
    if (magnitude < -330) return sign * 0.0;
    const std::string scientific = digits + "e" + std::to_string(exponent);
    double value = 0;
    const float_text::Parsed conversion = float_text::ParseScientific(scientific, value);
    if (conversion == float_text::Parsed::OutOfRange) {
        if (magnitude > 0) return std::nullopt;  // too large for a double
        return sign * 0.0;                       // below the smallest double
    }
    if (conversion != float_text::Parsed::Ok || !std::isfinite(value)) return std::nullopt;
    return sign * value;
}

}  // namespace

std::optional<double> ReadNumber(std::string_view text) {
    QuickNumber quick;
    switch (ScanQuick(text, quick)) {
        case Scan::NotANumber:
            return std::nullopt;
        case Scan::Quick: {
            const double value = static_cast<double>(quick.mantissa) / kPowersOfTen[quick.decimals];
            return quick.negative ? -value : value;
        }
        case Scan::Long:
            break;
    }
    return ReadLongNumber(text);
}

namespace {

// The text of `magnitude` / 10^decimals, trailing zeros of the fraction dropped, written from
// the end of a small buffer: the fraction, the comma, the whole part, the sign.
[[gnu::always_inline]] inline std::string ScaledText(bool negative, std::uint64_t magnitude, int decimals) {
    // The fraction's trailing zeros go first, four at a time where they can.
    while (decimals >= 4 && magnitude % 10000 == 0) magnitude /= 10000, decimals -= 4;
    while (decimals >= 1 && magnitude % 10 == 0) magnitude /= 10, decimals -= 1;
    char buffer[48];  // 20 whole digits, a comma, 22 decimals, a sign
    char* const end = buffer + sizeof buffer;
    char* p = end;
    for (; decimals > 0; --decimals, magnitude /= 10) *--p = static_cast<char>('0' + magnitude % 10);
    if (p != end) *--p = ',';
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) *--p = '-';
    return std::string(p, end);
}

// The 15-significant-digit text of a value from its digits as a whole number: the value scaled
// so that 15 digits stand before the point, rounded. Where the scaled value lies near a half,
// the binary product cannot tell which way the digits round, and nothing is returned.
std::optional<std::string> FifteenDigitText(double value) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-6 && magnitude < 1e15)) return std::nullopt;
    int whole_digits = 1;  // 10^(whole_digits - 1) <= magnitude < 10^whole_digits, for magnitude >= 1
    while (whole_digits < 15 && magnitude >= kPowersOfTen[whole_digits]) ++whole_digits;
    int decimals = 15 - whole_digits;
    if (magnitude < 1) {
        // Leading zeros after the point do not count as significant digits.
        int zeros = 0;
        while (magnitude * kPowersOfTen[zeros + 1] < 1) ++zeros;
        decimals = 15 + zeros;
        if (decimals > 22) return std::nullopt;
    }
    const double scaled = magnitude * kPowersOfTen[decimals];
    if (scaled >= 1e15) return std::nullopt;
    // Whole numbers by conversion (quicker than the library's rounding functions).
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    // The product is within half a unit in the last place of the true value, 1/16 at most below
    // 10^15; a tenth either side of a half leaves room for it.
    if (std::fabs(fraction - 0.5) < 0.1) return std::nullopt;
    return ScaledText(value < 0, whole + (fraction > 0.5 ? 1 : 0), decimals);
}

}  // namespace

std::string WriteNumber(double value) {
    if (!std::isfinite(value)) return {};
    // Most values written are amounts with at most two decimals: when the value is the double
    // nearest such an amount, that amount is its shortest text.
    if (std::fabs(value) < 1e9) {
        const double scaled = value * 100;
        const auto hundredths = static_cast<long long>(scaled + (scaled < 0 ? -0.5 : 0.5));
        if (static_cast<double>(hundredths) / 100 == value) {
            const bool negative = hundredths < 0;
            const auto magnitude = static_cast<std::uint64_t>(hundredths);
            return ScaledText(negative, negative ? 0 - magnitude : magnitude, 2);
        }
    }
    // Any other value of at most 15 significant digits, by whole numbers as well.
    if (auto text = FifteenDigitText(value)) return std::move(*text);
    return FormatDecimal(DecimalOf(value));
}

namespace {

// The value in units of 1/scale, rounded, when that can be done on the binary value: away from
// a half, rounding the binary value gives what rounding its shown digits gives. For |value| <
// 1e9 the shown digits and the product are both closer than `margin` units to the true value,
// so only values within `margin` of a half need the digits (nothing is returned for them).
std::optional<double> QuickRound(double value, double scale, double margin) {
    if (!(std::fabs(value) < 1e9)) return std::nullopt;
    const double units = value * scale;
    const double fraction = units - std::floor(units);
    if (std::fabs(fraction - 0.5) <= margin) return std::nullopt;
    return std::nearbyint(units);
}

}  // namespace

double RoundHalfEven2(double value) {
    if (!std::isfinite(value)) return value;
    if (const auto hundredths = QuickRound(value, 100, 1e-3)) return *hundredths / 100;
    const DecimalDigits rounded = RoundDecimal(DecimalOf(value), 2);
    return ReadNumber(FormatDecimal(rounded)).value_or(0.0);
}

std::optional<Fixed4> Fixed4::FromDecimal(DecimalDigits number) {
    number = RoundDecimal(std::move(number), 4);
    if (number.digits.empty()) return Fixed4(0);
    const int scale_power = number.exponent + 4;  // ticks = digits * 10^scale_power, >= 0 here
    if (number.digits.size() + static_cast<std::size_t>(scale_power) > 19) return std::nullopt;
    number.digits.append(static_cast<std::size_t>(scale_power), '0');
    std::uint64_t magnitude = 0;
    std::from_chars(number.digits.data(), number.digits.data() + number.digits.size(), magnitude);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (magnitude > kMax) return std::nullopt;
    const auto ticks = static_cast<std::int64_t>(magnitude);
    return Fixed4(number.negative ? -ticks : ticks);
}

std::optional<Fixed4> Fixed4::FromText(std::string_view text) {
    QuickNumber quick;
    const Scan scan = ScanQuick(text, quick);
    if (scan == Scan::NotANumber) return std::nullopt;
    if (scan == Scan::Quick && quick.decimals <= 4) {
        // At most 15 digits: the count of ten-thousandths fits with room to spare.
        std::uint64_t ticks = quick.mantissa;
        for (int i = quick.decimals; i < 4; ++i) ticks *= 10;
        const auto signed_ticks = static_cast<std::int64_t>(ticks);
        return Fixed4(quick.negative ? -signed_ticks : signed_ticks);
    }
    auto parsed = ParseDecimal(text);
    if (!parsed) return std::nullopt;
    return FromDecimal(std::move(*parsed));
}

std::optional<Fixed4> Fixed4::FromDouble(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (const auto ticks = QuickRound(value, kScale, 0.05)) return Fixed4(static_cast<std::int64_t>(*ticks));
    return FromDecimal(DecimalOf(value));
}

std::optional<Fixed4> Fixed4::Times(Fixed4 other) const {
    const Int128 product = static_cast<Int128>(ticks_) * other.ticks_;
    const bool negative = product < 0;
    const UInt128 magnitude = negative ? static_cast<UInt128>(-product) : static_cast<UInt128>(product);
    UInt128 quotient = magnitude / kScale;
    const UInt128 remainder = magnitude % kScale;
    if (remainder * 2 > kScale || (remainder * 2 == kScale && quotient % 2 == 1)) ++quotient;
    if (quotient > static_cast<UInt128>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    const auto ticks = static_cast<std::int64_t>(quotient);
    return Fixed4(negative ? -ticks : ticks);
}

std::string Fixed4::Text() const {
    const bool negative = ticks_ < 0;
    // The magnitude of the most negative count does not fit in int64; go through unsigned.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(ticks_) : static_cast<std::uint64_t>(ticks_);
    return ScaledText(negative, magnitude, 4);
}

}  // namespace kelvo

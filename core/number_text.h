// Number texts in the user's notation: a decimal comma in and out, no grouping.
//
// Every rule and window of the program reads and writes numbers through this module, so the
// notation is decided in one place:
//  * reading: optional surrounding spaces, an optional leading minus, digits with at most one
//    decimal comma ("2,5", "12," while typing, ",5"); at least one digit. A point, a second
//    comma, letters, grouping or an exponent make the text "not a number".
//  * writing: the shortest decimal text of the value at 15 significant digits, with a comma,
//    never an exponent ("11,36", "2,5", "5", 0,1 + 0,2 -> "0,3").
//  * rounding is halves-to-even on the decimal digits a person sees (15 significant digits of a
//    double, or the exact digits of a text).
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelvo {

// A decimal number as a digit string: value = (negative ? -1 : 1) * digits * 10^exponent.
struct DecimalDigits {
    bool negative = false;
    std::string digits;  // decimal digits, most significant first; empty means zero
    int exponent = 0;
};

// The text without the spaces and tabs around it, as numbers and codes are read.
inline std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Splits a number text into its digits exactly; nothing when the text is not a number.
std::optional<DecimalDigits> ParseDecimal(std::string_view text);

// The double's value at 15 significant digits (what a person is shown). Finite values only.
DecimalDigits DecimalOf(double value);

// Rounds to `places` decimals, halves to even.
DecimalDigits RoundDecimal(DecimalDigits number, int places);

// Shortest comma text of the digits: trailing zeros dropped, no exponent, "0" for zero.
std::string FormatDecimal(const DecimalDigits& number);

// Reads a number text; nothing when it is not a number or does not fit a double.
std::optional<double> ReadNumber(std::string_view text);

// Writes a value as its shortest comma text; the empty text for infinity or NaN, which no rule
// of the program hands over as a result.
std::string WriteNumber(double value);

// Rounds to two decimals, halves to even (0,125 -> 0,12; 0,375 -> 0,38).
double RoundHalfEven2(double value);

// The value of a short number text as the program's tables write it: digits with at most one
// decimal comma, fifteen digits at most. The digits, as a whole number, divided once by a power
// of ten that a double holds exactly: the nearest double, as ReadNumber gives it. Evaluated when
// the program is built for the tables that are constants; a text outside that form is a fault
// of the tables.
constexpr double TableTextValue(std::string_view text) {
    std::uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (const char c : text) {
        if (c == ',' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9' && count < 15) {
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            ++count;
            if (decimals >= 0) ++decimals;
        } else {
            throw std::invalid_argument("not a table number text");
        }
    }
    if (count == 0) throw std::invalid_argument("not a table number text");
    double scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    return static_cast<double>(digits) / scale;
}

// A number of a table: its text as shown, and the value that text reads as. A rule whose result
// goes on to the next rule hands on the value with the text, so that the text is not read again.
// The empty text stands for "no result".
struct TableNumber {
    std::string_view text;
    double value = std::numeric_limits<double>::quiet_NaN();

    constexpr TableNumber() = default;
    constexpr TableNumber(const char* table_text) : text(table_text), value(TableTextValue(text)) {}
    constexpr explicit TableNumber(std::string_view table_text) : text(table_text), value(TableTextValue(text)) {}
    constexpr bool empty() const { return text.empty(); }
};

// A decimal with four places: a 64-bit count of ten-thousandths. Used for the products of the
// protection selection and the voltage figures, so that they come out as a person would write
// them (28,75 rather than 28,749999…).
class Fixed4 {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Fixed4() = default;
    static constexpr Fixed4 FromTicks(std::int64_t ticks) { return Fixed4(ticks); }

    // Exact from the text's digits, halves to even at the fifth decimal; nothing when the text
    // is not a number or the value does not fit.
    static std::optional<Fixed4> FromText(std::string_view text);
    // From the double's 15-significant-digit value, halves to even; nothing if it does not fit.
    static std::optional<Fixed4> FromDouble(double value);

    // Exact product rounded halves to even to four places; nothing if it does not fit.
    std::optional<Fixed4> Times(Fixed4 other) const;

    constexpr std::int64_t ticks() const { return ticks_; }
    double ToDouble() const { return static_cast<double>(ticks_) / kScale; }
    std::string Text() const;

    friend constexpr bool operator==(Fixed4, Fixed4) = default;

private:
    constexpr explicit Fixed4(std::int64_t ticks) : ticks_(ticks) {}
    static std::optional<Fixed4> FromDecimal(DecimalDigits number);

    std::int64_t ticks_ = 0;
};

}  // namespace kelvo

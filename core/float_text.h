// Doubles to and from decimal digits, correctly rounded, on every platform: through the standard
// library's floating-point to_chars and from_chars where it has them, else through the C library's
// printf and strtod (correctly rounded in glibc and musl, the C library of the browser build). The
// number texts (number_text.h) convert only here.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvo::float_text {

// The value with 15 significant digits in scientific notation ("1.23450000000000e+05"), into
// `out`; how many characters. `value` is finite.
std::size_t Scientific15(double value, char* out, std::size_t size);

enum class Parsed { Ok, OutOfRange, Invalid };
// A text of digits with an exponent ("12345e-3", no sign and no point) as the nearest double;
// OutOfRange when that is beyond the doubles or rounds to zero (subnormals are in range).
Parsed ParseScientific(std::string_view text, double& value);

// A number as XML and spreadsheet files write it ("2.5", "-0.025", "1.5E-3", "7"), whatever the
// C library's locale (which a toolkit may set to one with a decimal comma); false for anything else
// and for a value beyond the doubles.
bool ParseFileNumber(std::string_view text, double& value);

// Both ways of converting, side by side, so that a test can hold one against the other.
namespace portable {
std::size_t Scientific15(double value, char* out, std::size_t size);
Parsed ParseScientific(std::string_view text, double& value);
}  // namespace portable
#if KELVO_HAVE_FLOAT_CHARCONV
namespace library {
std::size_t Scientific15(double value, char* out, std::size_t size);
Parsed ParseScientific(std::string_view text, double& value);
}  // namespace library
#endif

}  // namespace kelvo::float_text

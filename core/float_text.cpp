#include "float_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#if KELVO_HAVE_FLOAT_CHARCONV
#include <charconv>
#endif

namespace kelvo::float_text {

namespace portable {

std::size_t Scientific15(double value, char* out, std::size_t size) {
    const int length = std::snprintf(out, size, "%.14e", value);
    if (length < 0 || static_cast<std::size_t>(length) >= size) return 0;
    // The decimal sign is the locale's; the digits and the exponent are all that count.
    char* point = out + (value < 0 || std::signbit(value) ? 2 : 1);
    if (static_cast<std::size_t>(point - out) < static_cast<std::size_t>(length)) *point = '.';
    return static_cast<std::size_t>(length);
}

Parsed ParseScientific(std::string_view text, double& value) {
    if (text.empty() || text.size() > 1000) return Parsed::Invalid;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || c == 'e' || c == '-')) return Parsed::Invalid;
    const std::string copy(text);  // strtod wants the text to end
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) return Parsed::Invalid;
    if (std::isinf(read)) return Parsed::OutOfRange;
    const std::string_view digits = text.substr(0, text.find('e'));
    if (read == 0 && digits.find_first_not_of('0') != std::string_view::npos) return Parsed::OutOfRange;
    value = read;  // a subnormal value is in range, whatever strtod's errno says
    return Parsed::Ok;
}

}  // namespace portable

#if KELVO_HAVE_FLOAT_CHARCONV
namespace library {

std::size_t Scientific15(double value, char* out, std::size_t size) {
    const auto result = std::to_chars(out, out + size, value, std::chars_format::scientific, 14);
    return result.ec == std::errc{} ? static_cast<std::size_t>(result.ptr - out) : 0;
}

Parsed ParseScientific(std::string_view text, double& value) {
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return Parsed::OutOfRange;
    if (result.ec != std::errc{} || result.ptr != text.data() + text.size()) return Parsed::Invalid;
    return Parsed::Ok;
}

}  // namespace library
#endif

#if KELVO_HAVE_FLOAT_CHARCONV && !KELVO_PORTABLE_FLOAT_TEXT
namespace chosen = library;
#else
namespace chosen = portable;
#endif

std::size_t Scientific15(double value, char* out, std::size_t size) { return chosen::Scientific15(value, out, size); }
Parsed ParseScientific(std::string_view text, double& value) { return chosen::ParseScientific(text, value); }

}  // namespace kelvo::float_text

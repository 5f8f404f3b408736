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

bool ParseFileNumber(std::string_view text, double& value) {
    if (text.size() > 400) return false;
    std::size_t i = 0;
    const bool negative = i < text.size() && (text[i] == '-' || text[i] == '+') && text[i++] == '-';
    std::string digits;
    long exponent = 0;
    bool any = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) digits += text[i], any = true;
    if (i < text.size() && text[i] == '.')
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) digits += text[i], --exponent, any = true;
    if (!any) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool down = i < text.size() && (text[i] == '-' || text[i] == '+') && text[i++] == '-';
        long power = 0;
        bool power_digits = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, power_digits = true)
            if (power < 100000) power = power * 10 + (text[i] - '0');
        if (!power_digits) return false;
        exponent += down ? -power : power;
    }
    if (i != text.size()) return false;
    double parsed = 0;
    const Parsed result = ParseScientific(digits + "e" + std::to_string(exponent), parsed);
    if (result == Parsed::Invalid) return false;
    if (result == Parsed::OutOfRange) {
        const std::size_t first = digits.find_first_not_of('0');
        const long power = first == std::string::npos ? 0 : static_cast<long>(digits.size() - first) + exponent;
        if (power > 0) return false;  // beyond the largest double: no number
        parsed = 0;                   // below the smallest: zero, as a spreadsheet shows it
    }
    value = negative ? -parsed : parsed;
    return true;
}
Parsed ParseScientific(std::string_view text, double& value) { return chosen::ParseScientific(text, value); }

}  // namespace kelvo::float_text

#include "schedule/formats/text/encoding.h"

#include <algorithm>
#include "schedule/formats/text/utf8.h"

#include "schedule/formats/csv/csv.h"

namespace kelvo::schedule {
namespace {

// clang-format off
// Windows-1251, 0x80 to 0xFF (0x98 has no character and stands for itself).
constexpr char16_t kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};
// clang-format on

void AppendUtf8(std::vector<char>& out, char32_t code) {
    if (code >= 0x10000) {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// The Windows-1251 byte of a code point, or '?' where it has none.
char Cp1251Byte(char32_t code) {
    if (code < 0x80) return static_cast<char>(code);
    if (code >= 0x0410 && code <= 0x044F) return static_cast<char>(0xC0 + (code - 0x0410));
    for (int i = 0; i < 128; ++i)
        if (kCp1251[i] == code) return static_cast<char>(0x80 + i);
    return '?';
}

// The length of the UTF-8 character that starts with this byte (1 for a byte that starts none).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Each UTF-8 character of the bytes written (after those kept from the last write) as its code
// point; a character cut at the end is kept in `pending` for the next write.
template <typename Each>
void EachCodePoint(std::string_view data, std::string& pending, Each&& each) {
    std::string joined;
    std::string_view text = data;
    if (!pending.empty()) {
        joined = pending + std::string(data);
        pending.clear();
        text = joined;
    }
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8Length(lead);
        if (i + length > text.size()) {
            pending.assign(text.substr(i));
            break;
        }
        char32_t code = lead;
        if (length > 1) {
            code = lead & (0x7F >> length);
            for (std::size_t k = 1; k < length; ++k)
                code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        each(code);
        i += length;
    }
}

// The Unicode code point of a Windows-1251 byte.
char32_t Cp1251CodePoint(unsigned char byte) { return byte < 0x80 ? byte : kCp1251[byte - 0x80]; }

}  // namespace

Cp1251Decoder::int_type Cp1251Decoder::underflow() {
    const std::streamsize got = source_.sgetn(raw_.data(), static_cast<std::streamsize>(raw_.size()));
    if (got <= 0) return traits_type::eof();
    decoded_.clear();
    for (std::streamsize i = 0; i < got; ++i)
        AppendUtf8(decoded_, Cp1251CodePoint(static_cast<unsigned char>(raw_[i])));
    setg(decoded_.data(), decoded_.data(), decoded_.data() + decoded_.size());
    return traits_type::to_int_type(*gptr());
}

std::streamsize Cp1251Encoder::xsputn(const char* data, std::streamsize size) {
    encoded_.clear();
    EachCodePoint(std::string_view(data, static_cast<std::size_t>(size)), pending_,
                  [&](char32_t code) { encoded_ += Cp1251Byte(code); });
    const auto written = target_.sputn(encoded_.data(), static_cast<std::streamsize>(encoded_.size()));
    return written == static_cast<std::streamsize>(encoded_.size()) ? size : 0;
}

Cp1251Encoder::int_type Cp1251Encoder::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

int Cp1251Encoder::sync() {
    if (!pending_.empty()) {
        target_.sputc('?');
        pending_.clear();
    }
    return target_.pubsync();
}

Encoding Utf16ByMark(std::string_view head) {
    if (head.starts_with("\xFF\xFE")) return Encoding::Utf16Le;
    if (head.starts_with("\xFE\xFF")) return Encoding::Utf16Be;
    return Encoding::Utf8;
}

bool LooksLikeUtf16WithoutMark(std::string_view head) {
    if (head.size() < 8 || Utf16ByMark(head) != Encoding::Utf8) return false;
    std::size_t even = 0, odd = 0;
    const std::size_t pairs = std::min<std::size_t>(head.size() / 2, 512);
    for (std::size_t i = 0; i < pairs; ++i) {
        even += head[2 * i] == '\0';
        odd += head[2 * i + 1] == '\0';
    }
    // Latin letters, digits and separators have a NUL in one byte of their two.
    return std::max(even, odd) * 10 >= pairs * 3 && std::min(even, odd) * 10 < pairs;
}

Utf16Decoder::int_type Utf16Decoder::underflow() {
    const std::streamsize got = source_.sgetn(raw_.data(), static_cast<std::streamsize>(raw_.size()));
    decoded_.clear();
    std::string bytes = std::move(carried_);
    carried_.clear();
    if (got > 0) bytes.append(raw_.data(), static_cast<std::size_t>(got));
    std::size_t i = 0;
    if (!started_ && bytes.size() >= 2) {
        started_ = true;
        if (Utf16ByMark(bytes) != Encoding::Utf8) i = 2;
    }
    const auto unit_at = [&](std::size_t at) {
        const auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char16_t>(big_endian_ ? (a << 8) | b : (b << 8) | a);
    };
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unit_at(i);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 3 >= bytes.size() && got > 0) break;  // its low surrogate comes with the next read
            const char16_t low = i + 3 < bytes.size() ? unit_at(i + 2) : 0;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(decoded_, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
            AppendUtf8(decoded_, 0xFFFD);
        } else {
            AppendUtf8(decoded_, unit >= 0xDC00 && unit <= 0xDFFF ? char32_t{0xFFFD} : char32_t{unit});
        }
    }
    carried_ = bytes.substr(i);
    if (got <= 0 && !carried_.empty()) {  // the input ended inside a unit
        AppendUtf8(decoded_, 0xFFFD);
        carried_.clear();
    }
    if (decoded_.empty()) return got > 0 ? underflow() : traits_type::eof();
    setg(decoded_.data(), decoded_.data(), decoded_.data() + decoded_.size());
    return traits_type::to_int_type(*gptr());
}

void Utf16Encoder::Unit(char16_t unit) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    encoded_ += big_endian_ ? high : low;
    encoded_ += big_endian_ ? low : high;
}

std::streamsize Utf16Encoder::xsputn(const char* data, std::streamsize size) {
    encoded_.clear();
    if (!started_) {
        started_ = true;
        Unit(0xFEFF);
    }
    EachCodePoint(std::string_view(data, static_cast<std::size_t>(size)), pending_, [&](char32_t code) {
        if (code >= 0x10000) {
            Unit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            Unit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            Unit(static_cast<char16_t>(code));
        }
    });
    const auto written = target_.sputn(encoded_.data(), static_cast<std::streamsize>(encoded_.size()));
    return written == static_cast<std::streamsize>(encoded_.size()) ? size : 0;
}

Utf16Encoder::int_type Utf16Encoder::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

int Utf16Encoder::sync() {
    if (!pending_.empty()) {
        encoded_.clear();
        Unit(0xFFFD);
        target_.sputn(encoded_.data(), static_cast<std::streamsize>(encoded_.size()));
        pending_.clear();
    }
    return target_.pubsync();
}

}  // namespace kelvo::schedule

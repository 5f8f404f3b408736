#include "schedule/formats/cells/cell_text.h"

#include <cstdint>

namespace kelvo::schedule {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The UTF-16 code of "_xHHHH_" at the start of `text`, or -1.
long EscapeAt(std::string_view text) {
    if (text.size() < 7 || text[0] != '_' || text[1] != 'x' || text[6] != '_') return -1;
    long code = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) return -1;
        code = code * 16 + digit;
    }
    return code;
}

void AppendEscape(std::uint32_t code, std::string& out) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
    out += '_';
}

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The length of the well-formed UTF-8 sequence at the start of `text` and its code; 0 when the
// first byte begins none.
std::size_t Utf8Sequence(std::string_view text, std::uint32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(0);
    if (first < 0x80) {
        code = first;
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t low = 0x80;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2, code = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3, code = first & 0x0F, low = 0x800;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4, code = first & 0x07, low = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Whether XML 1.0 can hold the character as it is.
bool XmlHolds(std::uint32_t code) {
    if (code < 0x20) return code == '\t' || code == '\n' || code == '\r';
    return code != 0xFFFE && code != 0xFFFF;
}

}  // namespace

std::size_t CountCharacters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

void EncodeCellText(std::string_view text, std::string& out) {
    out.clear();
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < kCellCharactersMax; ++characters) {
        std::uint32_t code = 0;
        const std::size_t length = Utf8Sequence(text.substr(i), code);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that begins no character
            ++i;
        } else if (!XmlHolds(code)) {
            AppendEscape(code, out);
            i += length;
        } else if (code == '_' && EscapeAt(text.substr(i)) >= 0) {
            AppendEscape('_', out);  // so that it is not read back as an escape
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
}

void DecodeCellText(std::string_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size();) {
        long code = text[i] == '_' ? EscapeAt(text.substr(i)) : -1;
        std::size_t length = 7;
        if (code >= 0xD800 && code <= 0xDBFF) {
            // A character beyond the 16-bit range comes as two escapes of its UTF-16 halves.
            const long low = EscapeAt(text.substr(i + 7 <= text.size() ? i + 7 : text.size()));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                length = 14;
            } else {
                code = -1;
            }
        } else if (code >= 0xDC00 && code <= 0xDFFF) {
            code = -1;
        }
        if (code < 0) {
            out += text[i++];
            continue;
        }
        AppendUtf8(static_cast<std::uint32_t>(code), out);
        i += length;
    }
}

}  // namespace kelvo::schedule

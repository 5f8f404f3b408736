#include "schedule/shown_numbers.h"

#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

// The length of a grouping space at the start of `text` (a space, U+00A0 or U+202F), or 0.
std::size_t GroupSpace(std::string_view text) {
    if (text.starts_with(' ')) return 1;
    if (text.starts_with("\xC2\xA0")) return 2;
    if (text.starts_with("\xE2\x80\xAF")) return 3;
    return 0;
}

std::size_t Digits(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && text[count] >= '0' && text[count] <= '9') ++count;
    return count;
}

// "1 200,0" without its grouping spaces, into `out`; false when the text is not grouped so (digits
// in groups of three after a first group of one to three, then a decimal comma and digits, if any).
bool Ungrouped(std::string_view text, std::string& out) {
    out.clear();
    if (text.starts_with('-')) out += '-', text.remove_prefix(1);
    std::size_t first = Digits(text);
    if (first == 0 || first > 3) return false;
    out.append(text.substr(0, first));
    text.remove_prefix(first);
    bool grouped = false;
    for (std::size_t space; (space = GroupSpace(text)) > 0; grouped = true) {
        text.remove_prefix(space);
        if (Digits(text) != 3) return false;
        out.append(text.substr(0, 3));
        text.remove_prefix(3);
    }
    if (!grouped) return false;
    if (text.starts_with(',')) {
        const std::size_t decimals = Digits(text.substr(1));
        if (decimals == 0 || decimals + 1 != text.size()) return false;
        out.append(text);
        return true;
    }
    return text.empty();
}

// The text without a percent sign at its end (and the space before it), or nothing.
bool WithoutPercent(std::string_view& text) {
    if (!text.ends_with('%')) return false;
    text.remove_suffix(1);
    for (std::size_t space; !text.empty();) {
        space = text.ends_with(' ') ? 1 : text.ends_with("\xC2\xA0") ? 2 : text.ends_with("\xE2\x80\xAF") ? 3 : 0;
        if (space == 0) break;
        text.remove_suffix(space);
    }
    return true;
}

// "1,200" and "12,345,678": thousands between commas, which read two ways.
bool CommaGroups(std::string_view text) {
    if (text.starts_with('-')) text.remove_prefix(1);
    const std::size_t first = Digits(text);
    if (first == 0 || first > 3 || first == text.size()) return false;
    text.remove_prefix(first);
    while (!text.empty()) {
        if (text.front() != ',' || Digits(text.substr(1)) != 3) return false;
        text.remove_prefix(4);
    }
    return true;
}

// "2.5", "1,200.5": the number with a decimal point, written with a comma, into `out`.
bool PointNumber(std::string_view text, std::string& out) {
    const auto point = text.find('.');
    if (point == std::string_view::npos || text.find('.', point + 1) != std::string_view::npos) return false;
    const std::string_view whole = text.substr(0, point), fraction = text.substr(point + 1);
    if (fraction.empty() || Digits(fraction) != fraction.size()) return false;
    std::string_view digits = whole.starts_with('-') ? whole.substr(1) : whole;
    if (digits.empty() || (Digits(digits) != digits.size() && !CommaGroups(digits))) return false;
    out.assign(whole.starts_with('-') ? "-" : "");
    for (const char c : digits)
        if (c != ',') out += c;
    out.append(",").append(fraction);
    return true;
}

}  // namespace

SignEvidence EvidenceOf(std::string_view text) {
    WithoutPercent(text);
    std::string scratch;
    if (text.find('.') != std::string_view::npos)
        return PointNumber(text, scratch) ? SignEvidence::Point : SignEvidence::None;
    if (CommaGroups(text)) return SignEvidence::TwoWays;
    if (text.find(',') != std::string_view::npos && ReadNumber(text)) return SignEvidence::Comma;
    if (Ungrouped(text, scratch) && scratch.find(',') != std::string::npos) return SignEvidence::Comma;
    return SignEvidence::None;
}

ShownNumber ReadShownNumber(Column column, std::string_view text, DecimalSign sign, std::string& out) {
    if (text.empty()) return ShownNumber::Plain;
    if (sign != DecimalSign::Comma && CommaGroups(text)) {
        if (sign == DecimalSign::Unknown) return ShownNumber::TwoWays;
        out.clear();
        for (const char c : text)
            if (c != ',') out += c;
        return ShownNumber::Read;
    }
    if (ReadNumber(text)) return ShownNumber::Plain;
    std::string_view number = text;
    if (WithoutPercent(number)) {
        if (column != Column::Loss) return ShownNumber::PercentElsewhere;
        if (ReadNumber(number)) {
            out.assign(number);
            return ShownNumber::Read;
        }
    }
    std::string ungrouped;
    const bool read = sign == DecimalSign::Point ? PointNumber(number, ungrouped) : Ungrouped(number, ungrouped);
    if (read && ReadNumber(ungrouped)) {
        out = std::move(ungrouped);
        return ShownNumber::Read;
    }
    return ShownNumber::NotANumber;
}

void NumberCellMessage(ShownNumber why, Column column, std::string_view text, std::string& message) {
    message.assign("В столбце «").append(ColumnName(column)).append("» ");
    if (why == ShownNumber::TwoWays) {
        message.append("число «").append(text).append(
            "» читается двояко (запятая — десятичная или между тысячами): запишите его без запятой между тысячами");
    } else if (why == ShownNumber::PercentElsewhere) {
        message.append("число в процентах «").append(text).append("»: здесь нужно число без знака %");
    } else {
        message.append("не число «").append(text).append("»: десятичные вводятся через запятую, например 2,5");
    }
}

}  // namespace kelvo::schedule

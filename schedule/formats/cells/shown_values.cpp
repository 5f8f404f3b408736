#include "schedule/formats/cells/shown_values.h"

#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

// Days since 1 March of year 0 to a civil date (proleptic Gregorian).
void CivilFromDays(long long days, int& year, int& month, int& day) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long doe = days - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

namespace {

// "08:30", or "08:30:15" with seconds.
std::string TimeText(int hours, int minutes, int seconds) {
    char text[16];
    if (seconds != 0)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
    else
        std::snprintf(text, sizeof text, "%02d:%02d", hours, minutes);
    return text;
}

std::string DateText(int day, int month, int year) {
    char text[24];
    std::snprintf(text, sizeof text, "%02d.%02d.%d", day, month, year);
    return text;
}

}  // namespace

std::string ShownDate(double serial, bool date1904, bool time_only) {
    if (!std::isfinite(serial) || serial < 0 || serial >= 2958466) return {};
    long long whole = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(whole)) * 86400.0);
    if (seconds >= 86400) ++whole, seconds -= 86400;
    const std::string time =
        TimeText(static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    if (time_only) return time;
    int year = 1900, month = 2, day = 29;  // serial 60, the day that never was
    if (date1904 || whole != 60) {
        // Days from 1 January 1970: the 1900 system counts from 31 December 1899 and its day 60.
        const long long from_1970 = date1904 ? whole - 24107 : whole - 25569 + (whole < 60 ? 1 : 0);
        CivilFromDays(from_1970, year, month, day);
    }
    std::string shown = DateText(day, month, year);
    if (seconds != 0) shown.append(" ").append(time);
    return shown;
}

std::string ShownIsoDate(std::string_view iso) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const std::string text(iso.substr(0, 40));
    const int read = std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &year, &month, &day, &hour, &minute, &second);
    if (read < 3 || month < 1 || month > 12 || day < 1 || day > 31) return std::string(iso);
    std::string shown = DateText(day, month, year);
    if (read >= 5 && (hour != 0 || minute != 0 || second != 0))
        shown.append(" ").append(TimeText(hour, minute, second));
    return shown;
}

std::optional<double> NumberCellValue(std::string_view text) {
    const auto number = ReadNumber(text);
    if (!number) return std::nullopt;
    std::string_view significant = text;
    if (significant.find(',') != std::string_view::npos) {
        while (significant.ends_with('0')) significant.remove_suffix(1);
        if (significant.ends_with(',')) significant.remove_suffix(1);
    }
    const std::string written = WriteNumber(*number);
    if (written != significant) return std::nullopt;
    return number;
}

bool ReadShownDate(std::string_view text, ShownDateParts& parts) {
    if (text.size() != 10 && text.size() != 16 && text.size() != 19) return false;
    const auto digits = [&](std::size_t at, std::size_t count, int& value) {
        value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            value = value * 10 + (text[i] - '0');
        }
        return true;
    };
    if (text[2] != '.' || text[5] != '.' || !digits(0, 2, parts.day) || !digits(3, 2, parts.month) ||
        !digits(6, 4, parts.year))
        return false;
    parts.has_time = text.size() > 10;
    if (parts.has_time && (text[10] != ' ' || text[13] != ':' || !digits(11, 2, parts.hour) ||
                           !digits(14, 2, parts.minute) || parts.hour > 23 || parts.minute > 59))
        return false;
    if (text.size() == 19 && (text[16] != ':' || !digits(17, 2, parts.second) || parts.second > 59)) return false;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.day > kDays[parts.month - 1]) return false;
    const bool leap = (parts.year % 4 == 0 && parts.year % 100 != 0) || parts.year % 400 == 0;
    return parts.year >= 1900 && !(parts.month == 2 && parts.day == 29 && !leap);
}

}  // namespace kelvo::schedule

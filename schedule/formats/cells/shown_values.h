// Cell values as a spreadsheet in a Russian locale shows them, whatever the file's format: a date's
// serial number or ISO text as a date, and the texts a result sheet stores as numbers and dates.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvo::schedule {

// A date's serial number as shown: "12.03.2024", with the time ("12.03.2024 08:30") when it has
// one; a time alone ("08:30", "08:30:15") when `time_only`. Serial 1 is 1 January 1900 (or 1904,
// `date1904`), and 60 the 29 February 1900 that spreadsheets count. Empty when out of range.
std::string ShownDate(double serial, bool date1904, bool time_only);
// An ISO 8601 date or date and time ("2024-03-12", "2024-03-12T08:30:00") as shown; the text
// as it is when it is not one.
std::string ShownIsoDate(std::string_view iso);

// The number a text is when a result workbook stores it as a number: a number as the program
// writes numbers, but for zeros at the end of its decimals ("2,5", "2,50"); nothing for other
// texts, "007" (a code, whose zeros a number would lose) and "2.5" among them.
std::optional<double> NumberCellValue(std::string_view text);

// A date as ShownDate writes it ("12.03.2024", "12.03.2024 08:30", "12.03.2024 08:30:15") read
// back; false for any other text, and for a day that does not exist.
struct ShownDateParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool has_time = false;
};
bool ReadShownDate(std::string_view text, ShownDateParts& parts);

}  // namespace kelvo::schedule

// What reading one record of a table gives, whatever the format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelvo::schedule {

// Record: the fields are there. TooLong: the record is over the reader's length limit and is
// not split into fields (its own bytes can be passed on). UnclosedQuote: the input ended inside
// a quoted field (the record is lost; nothing more follows). End: no more input.
enum class RecordResult { Record, TooLong, UnclosedQuote, End };

// A record over the length limit passed on as its bytes: how many fields it had, and whether the
// input ended inside quotes.
struct PassedRecord {
    std::size_t fields = 0;
    bool unclosed_quote = false;
};

// How a spreadsheet shows a cell, where the value alone would mislead. Value: the text is what is
// shown (every CSV field). Percent: the text is the percent shown, without its sign (2,5 for a
// value of 0,025 shown as 2,5 %). Date: the text is the date or time as shown (12.03.2024). FormulaWithoutValue: a
// formula whose result the file does not keep (the text is empty). Error: an error value such as
// #N/A (the text is the error).
// MergedAcross: a cell covered by a merged area whose value stands in another column (the text
// is empty): what it shows cannot be told.
enum class CellShown : std::uint8_t { Value, Percent, Date, FormulaWithoutValue, Error, MergedAcross };

// A cell's name as a spreadsheet gives it: column from 0, row from 1 ("E7").
inline std::string CellReference(std::size_t column, std::uint64_t row) {
    std::string letters;
    for (std::uint64_t c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

}  // namespace kelvo::schedule

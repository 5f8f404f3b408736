// How a workbook shows its numbers: the number format of every cell style (the workbook's
// styles part), told apart as percents, dates and times, and plain numbers; and a date's serial
// number written as a spreadsheet in a Russian locale shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/cells/shown_values.h"
#include "schedule/formats/record.h"
#include "schedule/formats/package/zip_part.h"

namespace kelvo::schedule {

// What a number format code shows a number as: Percent ("0.0%"), Date (dates and times, "dd.mm.yyyy",
// "h:mm"), else Value. Quoted texts, escaped characters and colours in brackets do not count.
CellShown ShownByFormatCode(std::string_view code);
// The same for the formats every workbook knows by number (9, 10 percents; 14–22, 45–47 dates and
// times).
CellShown ShownByBuiltInFormat(unsigned id);

class NumberFormats {
public:
    // Reads "xl/styles.xml" (a workbook need not have one). False, with the reason, when it is
    // damaged or beyond the bounds (at most 65 536 styles).
    bool Read(Archive archive, std::string& fault);
    // How a cell of style number `style` shows a number.
    CellShown OfStyle(std::size_t style) const { return style < styles_.size() ? styles_[style] : CellShown::Value; }
    // Whether a date style shows only a time.
    bool TimeOnly(std::size_t style) const { return style < time_only_.size() && time_only_[style]; }

private:
    std::vector<CellShown> styles_;
    std::vector<bool> time_only_;
};

}  // namespace kelvo::schedule

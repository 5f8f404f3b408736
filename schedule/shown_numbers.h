// Numbers in a schedule's cells as people's spreadsheets write them when they save text "as shown"
// (LibreOffice's Russian CSV export): the loss column's "2,5%" or "2,5 %" is the percent shown,
// thousands grouped by a space, a non-breaking or a narrow non-breaking space ("1 200,0") are the
// number they show, unambiguous with a decimal comma. What still is no number gets a message that
// names its column and the value as written.
#pragma once

#include <string>
#include <string_view>

#include "schedule/columns.h"

namespace kelvo::schedule {

enum class ShownNumber { Plain, Read, PercentElsewhere, NotANumber };

// The text of a number cell of `column` as the calculation reads it, into `out` when it differs
// from `text`: Plain (use `text`), Read (use `out`), or why it is no number. Empty is Plain.
ShownNumber ReadShownNumber(Column column, std::string_view text, std::string& out);

// The message of a number cell that is none: "В столбце «длина_м» не число «1.200»: …".
void NumberCellMessage(ShownNumber why, Column column, std::string_view text, std::string& message);

}  // namespace kelvo::schedule

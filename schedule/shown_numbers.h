// Numbers in a schedule's cells as people's spreadsheets write them when they save text "as shown"
// (LibreOffice's Russian CSV export): the loss column's "2,5%" or "2,5 %" is the percent shown,
// thousands grouped by a space, a non-breaking or a narrow non-breaking space ("1 200,0") are the
// number they show, unambiguous with a decimal comma. What still is no number gets a message that
// names its column and the value as written.
#pragma once

#include <string>
#include <string_view>

#include "schedule/columns.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

enum class ShownNumber { Plain, Read, PercentElsewhere, NotANumber, TwoWays };

// The text of a number cell of `column` as the calculation reads it in a file that writes its
// numbers so (`sign`), into `out` when it differs from `text`: Plain (use `text`), Read (use `out`),
// or why it is no number. Empty is Plain.
ShownNumber ReadShownNumber(Column column, std::string_view text, DecimalSign sign, std::string& out);

// What a number cell's text tells of its file's decimal sign: a comma (2,5; 1 200,5), a point (2.5;
// 1,200.5), nothing, or that it reads two ways ("1,200").
enum class SignEvidence { None, Comma, Point, TwoWays };
SignEvidence EvidenceOf(std::string_view text);

// The columns whose cells are numbers, for a survey of the file's decimal sign.
inline constexpr Column kNumberColumns[] = {Column::Power,   Column::Current, Column::Section,
                                            Column::Voltage, Column::Length,  Column::Loss};

// The message of a number cell that is none: "В столбце «длина_м» не число «1.200»: …".
void NumberCellMessage(ShownNumber why, Column column, std::string_view text, std::string& message);

}  // namespace kelvo::schedule

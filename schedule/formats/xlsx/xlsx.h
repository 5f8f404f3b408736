// Workbooks in the XLSX format: a sheet read as a table of texts, and a table written as a
// sheet. Reading goes through minizip and expat a piece at a time (a row is all that is held of
// the sheet); writing through libxlsxwriter in its constant-memory mode.
//
// A workbook comes from outside, so reading it is bounded: a part that is there but cannot be
// read or parsed, a row or column number beyond a sheet, a cell of more than 32 767 characters,
// a row of more than 16 MiB of text, elements nested deeper than 100 levels, an element longer
// than 4 MiB, a document type declaration, more than 2 097 152 shared strings or more than
// 100 MiB of them make the workbook damaged: it is refused with the reason, never half-read.
#pragma once

#include <memory>
#include <string>

#include "schedule/formats/package/sheet_choice.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

// Opens the sheet wanted of the workbook in the file descriptor (which the reader takes over).
// Nothing, and the reason in Russian, when it cannot. Cells are read as a spreadsheet shows them
// (TableReader::Shown tells how): a number as its shortest text of at most 15 significant digits
// with a decimal comma (2.4999999999999996 is "2,5"), a percent as the number shown (2,5 for
// 0,025), a date or time as shown (12.03.2024), shared and inline strings as they are, a formula
// without a kept result as empty; rows missing from the sheet come as empty rows.
std::unique_ptr<TableReader> MakeXlsxReader(int fd, const SheetWanted& wanted, std::string& error);

// Writes a workbook to `path` when finished: one sheet with the rows, the header row bold and
// frozen, every other cell a number where its text is a number as the program writes numbers,
// text otherwise (the message column always text).
std::unique_ptr<TableWriter> MakeXlsxWriter(const std::string& path);

}  // namespace kelvo::schedule

// Workbooks in the XLSX format: a sheet read as a table of texts, and a table written as a
// sheet. Reading goes through minizip and expat a piece at a time (the sheet is never held
// whole); writing through libxlsxwriter in its constant-memory mode.
#pragma once

#include <memory>
#include <string>

#include "cli/table.h"

namespace kelvo::cli {

// Whether the bytes begin as an XLSX workbook (a zip archive) does, or as the older compound
// files do (an .xls workbook, or any workbook saved with a password).
bool LooksLikeZip(std::string_view start);
bool LooksLikeCompoundFile(std::string_view start);

// Opens the sheet named `sheet` (the first sheet when empty) of the workbook in the file
// descriptor (which the reader takes over). Nothing, and the reason in Russian, when it cannot.
// Cells are read as a spreadsheet shows them: a number as its shortest text of at most 15
// significant digits with a decimal comma (2.4999999999999996 is "2,5"), shared and inline
// strings as they are; rows missing from the sheet come as empty rows.
std::unique_ptr<TableReader> OpenXlsxReader(int fd, const std::string& sheet, std::string& error);

// Writes a workbook to `path` when finished: one sheet with the rows, the header row bold and
// frozen, every other cell a number where its text is a number as the program writes numbers,
// text otherwise (the message column always text).
std::unique_ptr<TableWriter> MakeXlsxWriter(const std::string& path);

}  // namespace kelvo::cli

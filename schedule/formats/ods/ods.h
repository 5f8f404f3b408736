// Spreadsheets in LibreOffice's own format, OpenDocument (.ods): a sheet read as a table of texts
// from the document's content a piece at a time, and a table written as a sheet. Reading is
// bounded as a workbook's is (cells/limits.h); repeated rows and cells that are empty are counted, not
// made, so the sheet's trailing empty area costs nothing.
#pragma once

#include <memory>
#include <string>

#include "schedule/formats/table.h"
#include "schedule/formats/package/sheet_choice.h"

namespace kelvo::schedule {

// Opens the sheet wanted of the document in the file descriptor (which the reader takes over). Nothing, and the reason
// in Russian, when it cannot. Cells are read as the spreadsheet shows them, as a workbook's are (TableReader::Shown).
std::unique_ptr<TableReader> MakeOdsReader(int fd, const SheetWanted& wanted, std::string& error);

// Writes a spreadsheet document to `path` when finished: one sheet with the rows, the header row
// bold, numbers as numbers, dates as dates, the messages as text.
std::unique_ptr<TableWriter> MakeOdsWriter(const std::string& path);

// Whether an open zip archive is an OpenDocument spreadsheet rather than a workbook.
bool IsOdsArchive(int fd);

}  // namespace kelvo::schedule

// Spreadsheets in LibreOffice's own format, OpenDocument (.ods): a sheet read as a table of texts
// from the document's content a piece at a time, and a table written as a sheet. Reading is
// bounded as a workbook's is (xlsx.h); repeated rows and cells that are empty are counted, not
// made, so the sheet's trailing empty area costs nothing.
#pragma once

#include <memory>
#include <string>

#include "schedule/formats/table.h"
#include "schedule/formats/xlsx.h"

namespace kelvo::schedule {

// Opens the sheet named `sheet` (case does not matter), else the first visible sheet with a
// schedule's header (`is_header`) among its first 50 rows, of the document in the file
// descriptor (which the reader takes over). Nothing, and the reason in Russian, when it cannot.
// Cells are read as the spreadsheet shows them, as a workbook's are (TableReader::Shown).
std::unique_ptr<TableReader> OpenOdsReader(int fd, const std::string& sheet, const HeaderTest& is_header,
                                           std::string& error);

// Writes a spreadsheet document to `path` when finished: one sheet with the rows, the header row
// bold, numbers as numbers, dates as dates, the messages as text.
std::unique_ptr<TableWriter> MakeOdsWriter(const std::string& path);

// Whether an open zip archive is an OpenDocument spreadsheet rather than a workbook.
bool IsOdsArchive(int fd);

}  // namespace kelvo::schedule

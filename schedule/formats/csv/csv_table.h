// CSV as a table: read from a stream or an open file in the encoding and with the separator it
// turns out to have, and written to a stream or a file, keeping the input's own separator, line
// breaks and encoding where the input was CSV too.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "schedule/formats/format_list.h"
#include "schedule/formats/table.h"

namespace kelvo::schedule {

// CSV read from a stream: in the encoding and with the separator given. `fault` and `progress`,
// when given, tell a reading fault of the stream's source and the share of it read.
struct CsvSource {
    std::function<std::string()> fault;
    std::function<double()> progress;
};
std::unique_ptr<TableReader> MakeCsvReader(std::istream& in, const TableFormat& format, CsvSource source = {});

// CSV written to a stream. What the writer is not told it takes from the input when it begins:
// the separator, the line break, the encoding and its byte-order mark.
std::unique_ptr<TableWriter> MakeCsvWriter(std::ostream& out, const CsvOutputChoice& choice = {});

// The separator of a CSV header line: the one of ";", tab and "," that stands most often outside
// quotes (";" on a tie, and for a line with none).
char DetectSeparator(std::string_view first_line);

// An open file read as CSV: the encoding is UTF-8 when the whole file is, else Windows-1251; the
// separator the one with which one of the first records reads as a header (options.sheet's
// is_header), else that of the first line. The file's read errors are the reader's fault, the
// share of it read its progress.
std::unique_ptr<TableReader> OpenCsvFile(const OpenedFile& file, const ReadOptions& options, std::string& error);
// CSV written to an open file (not taken over); a write error is reported with the system's reason.
std::unique_ptr<TableWriter> MakeCsvFileWriter(int fd, const CsvOutputChoice& choice);

}  // namespace kelvo::schedule

// A schedule's table as it is read and written, whatever the file: CSV in UTF-8 or
// Windows-1251 with ";", "," or tabs, or an XLSX workbook. kelvo-calc and the window's schedule
// read through TableReader and write through TableWriter, so that a row is the same row in
// every format.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/csv.h"
#include "cli/encoding.h"

namespace kelvo::cli {

struct TableFormat {
    enum class Kind { Csv, Xlsx };
    Kind kind = Kind::Csv;
    // CSV only.
    Encoding encoding = Encoding::Utf8;
    bool byte_order_mark = false;
    char separator = ';';
    std::string line_break = "\r\n";
};

class TableReader {
public:
    using Result = CsvReader::Result;
    virtual ~TableReader() = default;
    virtual Result Next(std::vector<std::string_view>& fields) = 0;
    // After TooLong (CSV only): see CsvReader::PassThrough.
    virtual CsvReader::PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                                                const std::function<void()>& at_field) = 0;
    virtual std::size_t RecordLine() const = 0;
    // What the input turned out to be: meaningful once the header has been read.
    virtual TableFormat Format() const = 0;
    // A reading fault found on the way (the reader then ends as if the input had); empty when none.
    virtual std::string Fault() const = 0;
    // Whether the record last read is well-formed UTF-8 (a decoded or parsed input always is).
    virtual bool RecordIsUtf8() const { return true; }
    // The record's own CSV text when it has no quotes (see CsvReader::PlainRecord); else empty.
    virtual std::string_view PlainRecord() const { return {}; }
    // How much of the input has been read, from 0 to 1; negative when it cannot be told.
    virtual double Progress() const { return -1; }
};

class TableWriter {
public:
    virtual ~TableWriter() = default;
    // Called once, before the header: what the input was, and which column holds the messages
    // (written as text even where it reads as a number).
    virtual void Begin(const TableFormat& input, std::size_t message_column) = 0;
    virtual void Field(std::string_view field) = 0;
    // Several fields one after another, as Field writes them.
    virtual void Fields(std::span<const std::string_view> fields) {
        for (const std::string_view field : fields) Field(field);
    }
    // A record's own bytes, passed through unchanged (a CSV row over the length limit).
    virtual void Raw(std::string_view bytes) = 0;
    // Whether a plain record's text (TableReader::PlainRecord) written with Raw comes out as its
    // fields written one by one would (the same separator), when no field begins or ends with a
    // space.
    virtual bool CopiesPlainRecords() const { return false; }
    virtual void EndRecord() = 0;
    // Hands over everything written; false, with the reason, when the output could not be made.
    virtual bool Finish(std::string& error) = 0;
};

// CSV read from a stream: in the encoding and with the separator given.
std::unique_ptr<TableReader> MakeCsvReader(std::istream& in, const TableFormat& format);

// CSV written to a stream. What the writer is not told it takes from the input when it begins:
// the separator, the line break, the encoding and its byte-order mark.
struct CsvOutputChoice {
    std::optional<Encoding> encoding;
    std::optional<bool> byte_order_mark;
};
std::unique_ptr<TableWriter> MakeCsvWriter(std::ostream& out, const CsvOutputChoice& choice = {});

// The separator of a CSV header line: the one of ";", tab and "," that stands most often outside
// quotes (";" on a tie, and for a line with none).
char DetectSeparator(std::string_view first_line);

}  // namespace kelvo::cli

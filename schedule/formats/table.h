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

#include "schedule/formats/encoding.h"
#include "schedule/formats/record.h"
#include "schedule/formats/encoding.h"

namespace kelvo::schedule {

struct TableFormat {
    enum class Kind { Csv, Xlsx, Ods };
    Kind kind = Kind::Csv;
    // CSV only.
    Encoding encoding = Encoding::Utf8;
    bool byte_order_mark = false;
    char separator = ';';
    std::string line_break = "\r\n";
};

class TableReader {
public:
    using Result = RecordResult;
    virtual ~TableReader() = default;
    // The next record; the fields are views that stay valid until the next call.
    virtual Result Next(std::vector<std::string_view>& fields) = 0;
    // The line (from 1) on which the record last returned begins, for messages.
    virtual std::size_t RecordLine() const = 0;
    // What the input turned out to be: meaningful once the header has been read.
    virtual TableFormat Format() const = 0;
    // A reading fault found on the way (the reader then ends as if the input had); empty when none.
    virtual std::string Fault() const = 0;
    // How much of the input has been read, from 0 to 1; negative when it cannot be told.
    virtual double Progress() const { return -1; }
    // How each field of the record last read is shown, where a spreadsheet says so; empty when
    // every field is shown as its text (CSV).
    virtual std::span<const CellShown> Shown() const { return {}; }

    // What a reader of text may also tell. After TooLong: the record's own bytes handed to
    // `bytes` piece by piece, and `at_field` called just before the field numbered `field`
    // (a reader that has no records over a limit never returns TooLong).
    virtual PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                                     const std::function<void()>& at_field) {
        (void)bytes, (void)field, (void)at_field;
        return {};
    }
    // Whether the record last read is well-formed UTF-8 (a decoded or parsed input always is).
    virtual bool RecordIsUtf8() const { return true; }
    // The record's own text when it can stand for its fields in an output of the same format (a
    // CSV record without quotes); else empty.
    virtual std::string_view PlainRecord() const { return {}; }
};

// Where things stand in a written table.
struct TableLayout {
    std::size_t message_column = 0;     // written as text even where it reads as a number
    std::size_t rows_above_header = 0;  // a title above the header, written as it came
};

class TableWriter {
public:
    virtual ~TableWriter() = default;
    // Called once, before the first record: what the input was, and where things stand.
    virtual void Begin(const TableFormat& input, const TableLayout& layout) = 0;
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

// CSV read from a stream: in the encoding and with the separator given. `fault` and `progress`,
// when given, tell a reading fault of the stream's source and the share of it read.
struct CsvSource {
    std::function<std::string()> fault;
    std::function<double()> progress;
};
std::unique_ptr<TableReader> MakeCsvReader(std::istream& in, const TableFormat& format, CsvSource source = {});

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

}  // namespace kelvo::schedule

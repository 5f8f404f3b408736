// A schedule's table as it is read and written, whatever the file's format (format_list.h names
// them). kelvo-calc and the window's schedule read through TableReader and write through
// TableWriter, so that a row is the same row in every format.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/record.h"
#include "schedule/formats/text/encoding.h"

namespace kelvo::schedule {

// How a text file writes its numbers, found from the file as a whole: with a decimal comma (2,5;
// "1 200,5"), with a decimal point and commas between thousands as an English-language spreadsheet
// exports them (2.5; "1,200.5"), or, where nothing in the file tells, unknown: then "1,200" could
// read two ways.
enum class DecimalSign : std::uint8_t { Comma, Point, Unknown };

struct TableFormat {
    enum class Kind { Csv, Xlsx, Ods };
    Kind kind = Kind::Csv;
    // A table read from text (CSV): how the text was written.
    Encoding encoding = Encoding::Utf8;
    bool byte_order_mark = false;
    char separator = ';';
    std::string line_break = "\r\n";
    DecimalSign numbers = DecimalSign::Comma;
    // A spreadsheet: the name of the sheet read.
    std::string sheet;
};

// What a reader of text (CSV) also tells of the record last read, beyond its fields.
class TextRecords {
public:
    virtual ~TextRecords() = default;
    // After TooLong: the record's own bytes handed to `bytes` piece by piece, and `at_field`
    // called just before the field numbered `field`.
    virtual PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                                     const std::function<void()>& at_field) = 0;
    // Whether the record is well-formed UTF-8.
    virtual bool RecordIsUtf8() const = 0;
    // The record's own text when it can stand for its fields in an output of the same format (a
    // record without quotes); else empty.
    virtual std::string_view PlainRecord() const = 0;
};

class TableReader {
public:
    using Result = RecordResult;
    virtual ~TableReader() = default;
    // The next record; the fields are views that stay valid until the next call. Only a reader of
    // text returns TooLong.
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
    // What a reader of text also tells; null for a reader of cells.
    virtual TextRecords* AsText() { return nullptr; }
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
    // A record's own bytes, passed through unchanged (a CSV row over the length limit): a writer
    // of text copies them, a writer of cells cuts them back into fields (cells/cell_writer.h).
    virtual void Raw(std::string_view bytes) = 0;
    // Whether a plain record's text (TextRecords::PlainRecord) written with Raw comes out as its
    // fields written one by one would (a writer of text with the input's separator), when no
    // field begins or ends with a space.
    virtual bool CopiesPlainRecords() const { return false; }
    virtual void EndRecord() = 0;
    // Hands over everything written; false, with the reason, when the output could not be made.
    virtual bool Finish(std::string& error) = 0;
};

}  // namespace kelvo::schedule

// CSV as spreadsheets write it: UTF-8 with an optional byte-order mark, ";" (or "," or a tab)
// between fields, fields in double quotes where they hold the separator, quotes or line breaks
// ("" for a quote).
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/text/encoding.h"
#include "schedule/formats/record.h"
#include "schedule/formats/text/utf8.h"

namespace kelvo::schedule {

class CsvReader {
public:
    // A record longer than this (in bytes as read) is not split into fields: the reader stops
    // there and the caller either passes its bytes through (PassThrough) or goes on to the next.
    static constexpr std::size_t kMaxRecordBytes = 1 << 20;

    explicit CsvReader(std::istream& in, char separator = ';');

    // See RecordResult: `fields` holds a Record.
    using Result = RecordResult;
    // Reads the next record. The fields are views into the reader's own storage and stay valid
    // until the next call; reading allocates nothing once the buffers have grown.
    Result Next(std::vector<std::string_view>& fields);

    // After TooLong: hands the record's bytes, unchanged and without its line break, to `bytes`
    // piece by piece as they are read, and calls `at_field` once just before the separator that
    // would begin field number `field` (counted from 0; never, when the record has fewer).
    // Returns the number of fields the record had and whether the input ended inside quotes. A
    // record not passed through is skipped by the next call of Next.
    PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                             const std::function<void()>& at_field);

    // The line (from 1) on which the record last returned begins.
    std::size_t RecordLine() const { return record_line_; }
    // Whether the record last returned is well-formed UTF-8.
    bool RecordIsUtf8() const { return record_is_utf8_; }
    // The record's own text, without its line break, when it had no quotes (empty otherwise);
    // valid until the next call.
    std::string_view PlainRecord() const { return plain_record_; }
    // Whether the input began with a UTF-8 byte-order mark (known once the first record is read).
    bool HadByteOrderMark() const { return had_bom_; }
    // The line break that ended the first record: "\r\n" or "\n" (empty while none has).
    std::string_view FirstLineBreak() const { return first_break_; }

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    // A record that lies whole in the buffer and has no quotes is cut there, without copying.
    bool NextPlain(std::vector<std::string_view>& fields);
    // Any other record, copied into record_ (`carried` are bytes already taken for it).
    Result NextQuoted(std::vector<std::string_view>& fields, std::string_view carried);
    // Consumes bytes of the current record from the buffer; see Scan.
    enum class Stop { RecordEnd, InputEnd, Limit };
    Stop Scan(const std::function<void(std::string_view)>* pass);
    void Keep(const std::function<void(std::string_view)>* pass, std::string_view raw, std::string_view content);
    bool TakeSpecial(char ch, const std::function<void(std::string_view)>* pass);
    // The next byte (refilling the buffer), or -1 at the end of the input.
    int Peek();
    int Take();

    std::streambuf& in_;
    char separator_;
    std::array<bool, 256> special_{};  // the bytes that end a run of plain field text
    Utf8Check utf8_;                   // of everything read so far
    bool piece_is_utf8_ = true;        // the buffer and all before it
    bool record_is_utf8_ = true;
    std::string_view plain_record_;
    bool had_bom_ = false;
    std::string_view first_break_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool at_start_ = true;
    std::size_t line_ = 1;         // the line the reader stands on
    std::size_t record_line_ = 1;  // the line the last record began on

    // State of the record being scanned by the copying path.
    std::string record_;             // the fields of a copied record, one after another
    std::vector<std::size_t> ends_;  // where each of them ends in record_
    std::string raw_;                // the record's bytes as read
    bool quoted_ = false;
    bool field_started_ = false;
    std::size_t separators_ = 0;               // separators outside quotes so far
    std::vector<std::size_t> raw_separators_;  // where each of them stands in raw_
    bool unpassed_ = false;                    // TooLong was returned and the record not passed through yet
    // During PassThrough: the field before which `at_field_` is called.
    std::size_t split_field_ = 0;
    const std::function<void()>* at_field_ = nullptr;
};

// Writes records, quoting the fields that need it, with "\r\n" after each (as spreadsheets
// write them). Output is gathered and handed to the stream in large pieces; it is all handed
// over by Flush() or when the writer goes.
class CsvWriter {
public:
    // `line_break` ends every record; `byte_order_mark` starts the output with one.
    explicit CsvWriter(std::ostream& out, char separator = ';', std::string_view line_break = "\r\n",
                       bool byte_order_mark = false);
    ~CsvWriter() { Flush(); }
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void Field(std::string_view field);
    void Fields(std::span<const std::string_view> fields);
    // Bytes written as they are, within the current record (a record's own text passed through).
    void Raw(std::string_view bytes);
    void EndRecord();
    template <typename Fields>
    void Record(const Fields& fields) {
        for (const auto& field : fields) Field(field);
        EndRecord();
    }
    void Flush();

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    // Room for `bytes` more at buffer_[used_], flushing (or growing, for a huge field) first.
    char* Reserve(std::size_t bytes) {
        if (buffer_.size() - used_ < bytes) MakeRoom(bytes);
        return buffer_.data() + used_;
    }
    void MakeRoom(std::size_t bytes);
    void Put(std::string_view field);

    std::ostream& out_;
    char separator_;
    std::string line_break_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool first_ = true;  // no field of the current record written yet
};

}  // namespace kelvo::schedule

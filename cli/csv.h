// CSV as Russian spreadsheets write it: UTF-8 with an optional byte-order mark, ";" between
// fields, fields in double quotes where they hold ";", quotes or line breaks ("" for a quote).
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kelvo::cli {

class CsvReader {
public:
    // A record longer than this is not kept: it is read to its end and reported.
    static constexpr std::size_t kMaxRecordBytes = 1 << 20;

    explicit CsvReader(std::istream& in) : in_(*in.rdbuf()), buffer_(kBufferBytes) {}

    enum class Result { Record, TooLong, End };
    // Reads the next record. The fields are views into the reader's own storage and stay valid
    // until the next call; reading allocates nothing once the buffers have grown.
    Result Next(std::vector<std::string_view>& fields);

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    // A record that lies whole in the buffer and has no quotes is cut there, without copying.
    bool NextPlain(std::vector<std::string_view>& fields);
    // Any other record, copied into record_ (`carried` are bytes already taken for it).
    Result NextQuoted(std::vector<std::string_view>& fields, std::string_view carried);
    // The next byte (refilling the buffer), or -1 at the end of the input.
    int Peek();
    int Take();

    std::streambuf& in_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool at_start_ = true;
    std::string record_;             // the fields of a copied record, one after another
    std::vector<std::size_t> ends_;  // where each of them ends in record_
};

// Writes records, quoting the fields that need it, with "\r\n" after each (as spreadsheets
// write them). Output is gathered and handed to the stream in large pieces; it is all handed
// over by Flush() or when the writer goes.
class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out), buffer_(kBufferBytes) {}
    ~CsvWriter() { Flush(); }
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void Field(std::string_view field);
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

    std::ostream& out_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    bool first_ = true;  // no field of the current record written yet
};

// Whether a text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace kelvo::cli

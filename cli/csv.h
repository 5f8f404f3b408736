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
    // Reads the next record into fields (reused between calls, so that reading allocates
    // nothing once the buffers have grown).
    Result Next(std::vector<std::string>& fields);

private:
    static constexpr std::size_t kBufferBytes = 1 << 16;
    // The next byte (refilling the buffer), or -1 at the end of the input.
    int Peek();
    int Take();

    std::streambuf& in_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t end_ = 0;
    bool at_start_ = true;
};

// Writes one record, quoting the fields that need it, and a line break ("\r\n", as
// spreadsheets write it). The fields of `more` follow those of `fields` in the same record.
void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields,
                    const std::vector<std::string>& more = {});

// Whether a text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

}  // namespace kelvo::cli

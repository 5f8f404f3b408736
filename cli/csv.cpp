#include "cli/csv.h"

#include <algorithm>
#include <array>

namespace kelvo::cli {
namespace {

// The bytes that end a run of plain field text, and that make a field need quotes.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> table{};
    for (const unsigned char c : {';', '"', '\r', '\n'}) table[c] = true;
    return table;
}();

}  // namespace

int CsvReader::Peek() {
    if (position_ == end_) {
        position_ = 0;
        end_ = static_cast<std::size_t>(std::max<std::streamsize>(
            0, in_.sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size()))));
        if (end_ == 0) return -1;
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

int CsvReader::Take() {
    const int c = Peek();
    if (c >= 0) ++position_;
    return c;
}

CsvReader::Result CsvReader::Next(std::vector<std::string>& fields) {
    std::string carried;  // bytes read while looking for a byte-order mark that was not one
    if (at_start_) {
        at_start_ = false;
        for (const int expected : {0xEF, 0xBB, 0xBF}) {
            if (Peek() != expected) break;
            carried.push_back(static_cast<char>(Take()));
        }
        if (carried.size() == 3) carried.clear();
    }
    if (carried.empty() && Peek() < 0) return Result::End;

    std::size_t used = 0;
    std::size_t bytes = carried.size();
    bool too_long = false;
    if (fields.empty()) fields.emplace_back();
    fields[0] = carried;
    bool quoted = false;
    bool field_started = !carried.empty();
    auto keep = [&](const char* data, std::size_t size) {
        bytes += size;
        if (bytes > kMaxRecordBytes) {
            too_long = true;  // read on to the record's end, keeping nothing more
            return;
        }
        fields[used].append(data, size);
    };
    for (;;) {
        if (Peek() < 0) break;
        // A run of ordinary bytes is kept in one piece.
        const char* data = buffer_.data() + position_;
        std::size_t run = 0;
        const std::size_t available = end_ - position_;
        if (quoted) {
            while (run < available && data[run] != '"') ++run;
        } else {
            while (run < available && !kSpecial[static_cast<unsigned char>(data[run])]) ++run;
        }
        if (run > 0) {
            keep(data, run);
            position_ += run;
            field_started = true;
            continue;
        }
        const char ch = static_cast<char>(Take());
        if (quoted) {  // ch is a quote
            if (Peek() == '"') {
                Take();
                keep("\"", 1);
            } else {
                quoted = false;
            }
            continue;
        }
        if (ch == '"') {
            if (field_started) {
                keep("\"", 1);
            } else {
                quoted = true;
                field_started = true;
            }
        } else if (ch == ';') {
            if (++used == fields.size()) fields.emplace_back();
            fields[used].clear();
            field_started = false;
        } else {
            if (ch == '\r' && Peek() == '\n') Take();
            break;
        }
    }
    fields.resize(used + 1);
    if (too_long) {
        fields.assign(1, std::string());
        return Result::TooLong;
    }
    return Result::Record;
}

namespace {

// Appends a field, in quotes when it holds a separator, a quote or a line break, or starts or
// ends with a space (which a spreadsheet would otherwise drop).
void AppendField(std::string& record, const std::string& field) {
    bool special = !field.empty() && (field.front() == ' ' || field.back() == ' ');
    for (const char c : field) special |= kSpecial[static_cast<unsigned char>(c)];
    if (!special) {
        record += field;
        return;
    }
    record += '"';
    for (const char c : field) {
        if (c == '"') record += '"';
        record += c;
    }
    record += '"';
}

}  // namespace

void WriteCsvRecord(std::ostream& out, const std::vector<std::string>& fields,
                    const std::vector<std::string>& more) {
    // The record is put together first and written at once.
    thread_local std::string record;
    record.clear();
    bool first = true;
    for (const auto* part : {&fields, &more}) {
        for (const std::string& field : *part) {
            if (!first) record += ';';
            first = false;
            AppendField(record, field);
        }
    }
    record += "\r\n";
    out.write(record.data(), static_cast<std::streamsize>(record.size()));
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned min = 0;
        unsigned code = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            code = (code << 6) | (cc & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

}  // namespace kelvo::cli

#include "cli/csv.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kelvo::cli {
namespace {

// The bytes that end a run of plain field text, and that make a field need quotes.
std::array<bool, 256> SpecialBytes(char separator) {
    std::array<bool, 256> table{};
    for (const char c : {separator, '"', '\r', '\n'}) table[static_cast<unsigned char>(c)] = true;
    return table;
}

}  // namespace

CsvReader::CsvReader(std::istream& in, char separator)
    : in_(*in.rdbuf()), separator_(separator), special_(SpecialBytes(separator)), buffer_(kBufferBytes) {}

CsvWriter::CsvWriter(std::ostream& out, char separator, std::string_view line_break, bool byte_order_mark)
    : out_(out),
      separator_(separator),
      line_break_(line_break),
      special_(SpecialBytes(separator)),
      buffer_(kBufferBytes) {
    if (byte_order_mark) Raw("\xEF\xBB\xBF"), first_ = true;
}

int CsvReader::Peek() {
    if (position_ == end_) {
        position_ = 0;
        end_ = static_cast<std::size_t>(
            std::max<std::streamsize>(0, in_.sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size()))));
        if (end_ == 0) return -1;
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

int CsvReader::Take() {
    const int c = Peek();
    if (c >= 0) ++position_;
    return c;
}

CsvReader::Result CsvReader::Next(std::vector<std::string_view>& fields) {
    if (unpassed_) {  // the rest of a record over the limit that nobody passed through
        const std::function<void(std::string_view)> nowhere = [](std::string_view) {};
        if (PassThrough(nowhere, 0, [] {}).unclosed_quote) {
            fields.clear();
            return Result::UnclosedQuote;
        }
    }
    record_line_ = line_;
    std::array<char, 3> carried{};  // bytes read while looking for a byte-order mark that was not one
    std::size_t carried_size = 0;
    if (at_start_) {
        at_start_ = false;
        for (const int expected : {0xEF, 0xBB, 0xBF}) {
            if (Peek() != expected) break;
            carried[carried_size++] = static_cast<char>(Take());
        }
        if (carried_size == 3) {
            carried_size = 0;
            had_bom_ = true;
        }
    }
    if (carried_size == 0) {
        if (Peek() < 0) return Result::End;
        if (NextPlain(fields)) return Result::Record;
    }
    return NextQuoted(fields, std::string_view(carried.data(), carried_size));
}

bool CsvReader::NextPlain(std::vector<std::string_view>& fields) {
    const char* data = buffer_.data() + position_;
    const std::size_t available = end_ - position_;
    fields.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < available; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (!special_[c]) continue;
        if (c == static_cast<unsigned char>(separator_)) {
            fields.emplace_back(data + start, i - start);
            start = i + 1;
            continue;
        }
        if (c == '"') return false;
        std::size_t after = i + 1;
        if (c == '\r') {
            if (after == available) return false;  // a "\n" may follow in the next piece
            if (data[after] == '\n') ++after;
        }
        fields.emplace_back(data + start, i - start);
        position_ += after;
        ++line_;
        if (first_break_.empty()) first_break_ = after - i == 2 ? "\r\n" : c == '\r' ? "\r" : "\n";
        return true;
    }
    return false;  // the record goes on past the buffer
}

CsvReader::Stop CsvReader::Scan(const std::function<void(std::string_view)>* pass) {
    // Every byte of the record goes to raw_ (or to `pass`); what it means goes to record_.
    auto keep = [&](std::string_view raw, std::string_view content) {
        if (pass) {
            (*pass)(raw);
            return;
        }
        raw_.append(raw);
        record_.append(content);
    };
    auto over_limit = [&] { return !pass && raw_.size() > kMaxRecordBytes; };
    for (;;) {
        if (Peek() < 0) return Stop::InputEnd;
        // A run of ordinary bytes is kept in one piece.
        const char* data = buffer_.data() + position_;
        const std::size_t available = end_ - position_;
        std::size_t run = 0;
        if (quoted_) {
            while (run < available && data[run] != '"') ++run;
        } else {
            while (run < available && !special_[static_cast<unsigned char>(data[run])]) ++run;
        }
        if (run > 0) {
            const std::string_view piece(data, run);
            if (quoted_) line_ += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
            keep(piece, piece);
            position_ += run;
            field_started_ = true;
            if (over_limit()) return Stop::Limit;
            continue;
        }
        const char ch = static_cast<char>(Take());
        if (quoted_) {  // ch is a quote
            if (Peek() == '"') {
                Take();
                keep("\"\"", "\"");
            } else {
                quoted_ = false;
                keep("\"", {});
            }
        } else if (ch == '"') {
            if (field_started_) {
                keep("\"", "\"");
            } else {
                quoted_ = true;
                field_started_ = true;
                keep("\"", {});
            }
        } else if (ch == separator_) {
            if (pass && at_field_ && separators_ + 1 == split_field_) (*at_field_)();
            if (!pass) {
                ends_.push_back(record_.size());
                raw_separators_.push_back(raw_.size());
            }
            keep(std::string_view(&separator_, 1), {});
            ++separators_;
            field_started_ = false;
        } else {
            const bool crlf = ch == '\r' && Peek() == '\n';
            if (crlf) Take();
            ++line_;
            if (first_break_.empty()) first_break_ = crlf ? "\r\n" : ch == '\r' ? "\r" : "\n";
            return Stop::RecordEnd;
        }
        if (over_limit()) return Stop::Limit;
    }
}

CsvReader::Result CsvReader::NextQuoted(std::vector<std::string_view>& fields, std::string_view carried) {
    record_.assign(carried);
    raw_.assign(carried);
    ends_.clear();
    raw_separators_.clear();
    quoted_ = false;
    field_started_ = !carried.empty();
    separators_ = 0;
    const Stop stop = Scan(nullptr);
    fields.clear();
    if (stop == Stop::Limit) {
        unpassed_ = true;
        return Result::TooLong;
    }
    if (stop == Stop::InputEnd && quoted_) return Result::UnclosedQuote;
    ends_.push_back(record_.size());
    std::size_t start = 0;
    for (const std::size_t end : ends_) {
        fields.emplace_back(record_.data() + start, end - start);
        start = end;
    }
    return Result::Record;
}

CsvReader::PassedRecord CsvReader::PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                                               const std::function<void()>& at_field) {
    unpassed_ = false;
    // What was read before the limit, split where the field begins if it began there.
    std::string_view kept = raw_;
    if (field >= 1 && field <= raw_separators_.size()) {
        const std::size_t split = raw_separators_[field - 1];
        bytes(kept.substr(0, split));
        at_field();
        kept.remove_prefix(split);
    }
    bytes(kept);
    split_field_ = field;
    at_field_ = field > raw_separators_.size() ? &at_field : nullptr;
    const Stop stop = Scan(&bytes);
    at_field_ = nullptr;
    raw_.clear();
    record_.clear();
    return {separators_ + 1, stop == Stop::InputEnd && quoted_};
}

void CsvWriter::MakeRoom(std::size_t bytes) {
    Flush();
    if (buffer_.size() < bytes) buffer_.resize(bytes);
}

void CsvWriter::Field(std::string_view field) {
    // The field is copied as it is while looking for the bytes that need quotes; the rare field
    // that has them, or starts or ends with a space (which a spreadsheet would otherwise drop),
    // is written again in quotes.
    char* out = Reserve(2 * field.size() + 3);
    if (!first_) *out++ = separator_;
    first_ = false;
    char* const start = out;
    bool special = !field.empty() && (field.front() == ' ' || field.back() == ' ');
    for (const char c : field) {
        *out++ = c;
        special |= special_[static_cast<unsigned char>(c)];
    }
    if (special) {
        out = start;
        *out++ = '"';
        for (const char c : field) {
            if (c == '"') *out++ = '"';
            *out++ = c;
        }
        *out++ = '"';
    }
    used_ = static_cast<std::size_t>(out - buffer_.data());
}

void CsvWriter::Raw(std::string_view bytes) {
    first_ = false;
    if (bytes.size() > buffer_.size() / 2) {
        Flush();
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return;
    }
    std::memcpy(Reserve(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
}

void CsvWriter::EndRecord() {
    char* out = Reserve(line_break_.size());
    std::memcpy(out, line_break_.data(), line_break_.size());
    used_ += line_break_.size();
    first_ = true;
}

void CsvWriter::Flush() {
    if (used_ > 0) out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        // Plain ASCII, eight bytes at a time.
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        // The two-byte letters (Cyrillic among them) at once.
        if (c >= 0xC2 && c <= 0xDF && i + 1 < n && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            i += 2;
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

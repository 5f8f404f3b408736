#include <algorithm>
#include <cstring>

#include "schedule/formats/text/byte_blocks.h"
#include "schedule/formats/csv/csv.h"
#include "schedule/formats/text/utf8.h"

namespace kelvo::schedule {

using namespace blocks;

CsvReader::CsvReader(std::istream& in, char separator)
    : in_(*in.rdbuf()), separator_(separator), special_(SpecialBytes(separator)), buffer_(kBufferBytes) {}

int CsvReader::Peek() {
    if (position_ == end_) {
        position_ = 0;
        end_ = static_cast<std::size_t>(
            std::max<std::streamsize>(0, in_.sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size()))));
        if (end_ == 0) return -1;
        // Checked once here, a piece of UTF-8 spares every record in it its own check.
        utf8_.Feed(std::string_view(buffer_.data(), end_));
        piece_is_utf8_ = !utf8_.Failed();
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
    // The special bytes of a block at once, taken one after another.
    const SpecialBytesFinder finder(separator_);
    constexpr std::size_t kBlock = SpecialBytesFinder::kBlock;
    std::size_t block_at = 0;
    std::uint64_t marks = 0;
    const auto next = [&]() -> std::size_t {
        while (marks == 0) {
            if (block_at + kBlock > available) {
                // The last bytes of the buffer, one by one.
                for (std::size_t i = std::max(block_at, start); i < available; ++i)
                    if (special_[static_cast<unsigned char>(data[i])]) {
                        block_at = i + 1;
                        return i;
                    }
                block_at = available;
                return available;
            }
            marks = finder.Marks(data + block_at);
            block_at += kBlock;
        }
        const std::size_t i = block_at - kBlock + SpecialBytesFinder::Index(marks);
        marks &= marks - 1;
        return i;
    };
    for (std::size_t i = next(); i < available; i = next()) {
        const auto c = static_cast<unsigned char>(data[i]);
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
        record_is_utf8_ = piece_is_utf8_ || IsValidUtf8(std::string_view(data, i));
        plain_record_ = std::string_view(data, i);
        return true;
    }
    return false;  // the record goes on past the buffer
}

// Every byte of the record goes to raw_ (or to `pass`); what it means goes to record_.
void CsvReader::Keep(const std::function<void(std::string_view)>* pass, std::string_view raw,
                     std::string_view content) {
    if (pass) {
        (*pass)(raw);
        return;
    }
    raw_.append(raw);
    record_.append(content);
}

CsvReader::Stop CsvReader::Scan(const std::function<void(std::string_view)>* pass) {
    const auto over_limit = [&] { return !pass && raw_.size() > kMaxRecordBytes; };
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
            Keep(pass, piece, piece);
            position_ += run;
            field_started_ = true;
            if (over_limit()) return Stop::Limit;
            continue;
        }
        if (TakeSpecial(static_cast<char>(Take()), pass)) return Stop::RecordEnd;
        if (over_limit()) return Stop::Limit;
    }
}

// A quote, a separator or a line break taken; true when it ends the record.
bool CsvReader::TakeSpecial(char ch, const std::function<void(std::string_view)>* pass) {
    if (quoted_) {  // ch is a quote
        if (Peek() == '"') {
            Take();
            Keep(pass, "\"\"", "\"");
        } else {
            quoted_ = false;
            Keep(pass, "\"", {});
        }
    } else if (ch == '"') {
        if (field_started_) {
            Keep(pass, "\"", "\"");
        } else {
            quoted_ = true;
            field_started_ = true;
            Keep(pass, "\"", {});
        }
    } else if (ch == separator_) {
        if (pass && at_field_ && separators_ + 1 == split_field_) (*at_field_)();
        if (!pass) {
            ends_.push_back(record_.size());
            raw_separators_.push_back(raw_.size());
        }
        Keep(pass, std::string_view(&separator_, 1), {});
        ++separators_;
        field_started_ = false;
    } else {
        const bool crlf = ch == '\r' && Peek() == '\n';
        if (crlf) Take();
        ++line_;
        if (first_break_.empty()) first_break_ = crlf ? "\r\n" : ch == '\r' ? "\r" : "\n";
        return true;
    }
    return false;
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
    record_is_utf8_ = IsValidUtf8(raw_);
    plain_record_ = {};
    ends_.push_back(record_.size());
    std::size_t start = 0;
    for (const std::size_t end : ends_) {
        fields.emplace_back(record_.data() + start, end - start);
        start = end;
    }
    return Result::Record;
}

PassedRecord CsvReader::PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
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

}  // namespace kelvo::schedule

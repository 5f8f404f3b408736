#include "cli/csv.h"

#include <algorithm>
#include <bit>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvo::cli {
namespace {

// The bytes that end a run of plain field text, and that make a field need quotes.
std::array<bool, 256> SpecialBytes(char separator) {
    std::array<bool, 256> table{};
    for (const char c : {separator, '"', '\r', '\n'}) table[static_cast<unsigned char>(c)] = true;
    return table;
}

// Eight bytes at a time: a word with the high bit set in every byte equal to `pattern`'s bytes.
constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7FULL;
inline std::uint64_t Matches(std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return ~(((x & kLows) + kLows) | x | kLows);
}

inline std::uint64_t Load(const char* data) {
    std::uint64_t word;
    std::memcpy(&word, data, 8);
    return word;
}

// The number of bits set, without the processor's own instruction (which not every one has).
inline std::size_t Count(std::uint64_t bits) {
    bits -= (bits >> 1) & 0x5555555555555555ULL;
    bits = (bits & 0x3333333333333333ULL) + ((bits >> 2) & 0x3333333333333333ULL);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0FULL;
    return static_cast<std::size_t>((bits * kOnes) >> 56);
}

// Finds the separator, quotes and line breaks a block of bytes at a time: Marks gives a mask of
// where they stand in the block (any order of bits, one mark per byte), Index the byte of the
// lowest mark, Below the marks of the first n bytes of a block.
#if defined(__SSE2__)
class SpecialBytesFinder {
public:
    static constexpr std::size_t kBlock = 16;
    explicit SpecialBytesFinder(char separator) : separator_(_mm_set1_epi8(separator)) {}
    std::uint64_t Marks(const char* data) const {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
        const __m128i found = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, separator_), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"'))),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n'))));
        return static_cast<std::uint32_t>(_mm_movemask_epi8(found));
    }
    static std::size_t Index(std::uint64_t marks) { return static_cast<std::size_t>(std::countr_zero(marks)); }
    static std::uint64_t Below(std::size_t n) { return (std::uint64_t{1} << n) - 1; }

private:
    __m128i separator_;
};
#else
class SpecialBytesFinder {
public:
    static constexpr std::size_t kBlock = 8;
    explicit SpecialBytesFinder(char separator) : separator_(kOnes * static_cast<unsigned char>(separator)) {}
    std::uint64_t Marks(const char* data) const {
        const std::uint64_t word = Load(data);
        return Matches(word, separator_) | Matches(word, kOnes * '"') | Matches(word, kOnes * '\r') |
               Matches(word, kOnes * '\n');
    }
    static std::size_t Index(std::uint64_t marks) { return static_cast<std::size_t>(std::countr_zero(marks)) / 8; }
    static std::uint64_t Below(std::size_t n) { return (std::uint64_t{1} << (8 * n)) - 1; }

private:
    std::uint64_t separator_;
};
#endif

}  // namespace

CsvReader::CsvReader(std::istream& in, char separator)
    : in_(*in.rdbuf()), separator_(separator), special_(SpecialBytes(separator)), buffer_(kBufferBytes) {}

CsvWriter::CsvWriter(std::ostream& out, char separator, std::string_view line_break, bool byte_order_mark)
    : out_(out), separator_(separator), line_break_(line_break), buffer_(kBufferBytes) {
    if (byte_order_mark) Raw("\xEF\xBB\xBF"), first_ = true;
}

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

namespace {

// Copies a short text (up to 16 bytes) with a few overlapping moves instead of a call.
inline void CopyShort(char* out, const char* data, std::size_t size) {
    if (size >= 8) {
        const std::uint64_t head = Load(data), tail = Load(data + size - 8);
        std::memcpy(out, &head, 8);
        std::memcpy(out + size - 8, &tail, 8);
    } else if (size >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, data, 4);
        std::memcpy(&tail, data + size - 4, 4);
        std::memcpy(out, &head, 4);
        std::memcpy(out + size - 4, &tail, 4);
    } else if (size > 0) {
        out[0] = data[0];
        out[size / 2] = data[size / 2];
        out[size - 1] = data[size - 1];
    }
}

}  // namespace

// One field, in quotes when it holds a byte that needs them or begins or ends with a space
// (which a spreadsheet would otherwise drop); otherwise as it is.
void CsvWriter::Put(std::string_view field) {
    bool quoted = !field.empty() && (field.front() == ' ' || field.back() == ' ');
    for (const char c : field) quoted = quoted || c == separator_ || c == '"' || c == '\r' || c == '\n';
    char* out = Reserve(2 * field.size() + 3);
    if (!first_) *out++ = separator_;
    first_ = false;
    if (quoted) *out++ = '"';
    for (const char c : field) {
        if (quoted && c == '"') *out++ = '"';
        *out++ = c;
    }
    if (quoted) *out++ = '"';
    used_ = static_cast<std::size_t>(out - buffer_.data());
}

void CsvWriter::Field(std::string_view field) { Fields(std::span(&field, 1)); }

void CsvWriter::Fields(std::span<const std::string_view> fields) {
    // Written as they are, one after another, and then looked through at once: when the only
    // special bytes among them are the separators put between them and no field begins or ends
    // with a space, they stand; otherwise they are written again one by one, quoted as needed.
    // The room reserved reaches a whole block past them, so that they can be looked through in
    // the buffer a block at a time.
    constexpr std::size_t kBlock = SpecialBytesFinder::kBlock;
    const SpecialBytesFinder finder(separator_);
    std::size_t total = fields.size() + kBlock;
    for (const std::string_view field : fields) total += field.size();
    char* const begin = Reserve(total);
    char* out = begin;
    bool first = first_;
    bool spaced = false;
    std::size_t separators = 0;
    for (const std::string_view field : fields) {
        if (!first) *out++ = separator_, ++separators;
        first = false;
        const std::size_t size = field.size();
        if (size <= 16)
            CopyShort(out, field.data(), size);
        else
            std::memcpy(out, field.data(), size);
        spaced |= size != 0 && (out[0] == ' ' || out[size - 1] == ' ');
        out += size;
    }
    const auto length = static_cast<std::size_t>(out - begin);
    std::size_t special = 0;
    for (std::size_t i = 0; i < length; i += kBlock) {
        std::uint64_t marks = finder.Marks(begin + i);
        if (length - i < kBlock) marks &= SpecialBytesFinder::Below(length - i);
        special += Count(marks);
    }
    if (!spaced && special == separators) {
        used_ += length;
        first_ = first;
        return;
    }
    for (const std::string_view field : fields) Put(field);
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

namespace {

// UTF-8 as a small automaton over classes of bytes: 0 accepts, 1 rejects, the others wait for
// continuation bytes (5 to 8 for the lead bytes that limit the next one: E0, ED, F0, F4).
// clang-format off
constexpr std::array<std::uint8_t, 256> kUtf8Class = [] {
    std::array<std::uint8_t, 256> c{};
    for (int b = 0x80; b <= 0x8F; ++b) c[b] = 1;
    for (int b = 0x90; b <= 0x9F; ++b) c[b] = 2;
    for (int b = 0xA0; b <= 0xBF; ++b) c[b] = 3;
    for (int b = 0xC0; b <= 0xC1; ++b) c[b] = 4;
    for (int b = 0xC2; b <= 0xDF; ++b) c[b] = 5;
    c[0xE0] = 6;
    for (int b = 0xE1; b <= 0xEF; ++b) c[b] = 7;
    c[0xED] = 8;
    c[0xF0] = 9;
    for (int b = 0xF1; b <= 0xF3; ++b) c[b] = 10;
    c[0xF4] = 11;
    for (int b = 0xF5; b <= 0xFF; ++b) c[b] = 12;
    return c;
}();
constexpr std::uint8_t kUtf8Next[9][13] = {
    //0  80 90 A0 C0 C2 E0 E1 ED F0 F1 F4 F5   byte class
    {0, 1, 1, 1, 1, 2, 5, 3, 6, 7, 4, 8, 1},  // 0 between characters
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 1 rejected
    {1, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 2 one continuation byte to come
    {1, 2, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 3 two to come
    {1, 3, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 4 three to come
    {1, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 5 after E0: A0–BF
    {1, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 6 after ED: 80–9F (no surrogates)
    {1, 1, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 7 after F0: 90–BF
    {1, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},  // 8 after F4: 80–8F (up to U+10FFFF)
};
// clang-format on

// The same, flattened with every state times 16, so that a step is one lookup.
constexpr std::array<std::uint8_t, 9 * 16> kUtf8Step = [] {
    std::array<std::uint8_t, 9 * 16> step{};
    for (int state = 0; state < 9; ++state)
        for (int type = 0; type < 13; ++type)
            step[state * 16 + type] = static_cast<std::uint8_t>(kUtf8Next[state][type] * 16);
    return step;
}();

}  // namespace

std::uint8_t Utf8State(std::uint8_t state, std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    unsigned at = state * 16u;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a run of ASCII and two-byte characters (Russian text is one) is
    // checked at once: every continuation byte must follow a two-byte lead, or begin the run
    // while one continuation byte is awaited. A run with any other byte goes through the
    // automaton, as does one begun in the middle of a longer character.
    const __m128i below_c0 = _mm_set1_epi8(static_cast<char>(0xC0));  // continuation bytes: signed, below -64
    const __m128i above_c1 = _mm_set1_epi8(static_cast<char>(0xC1));
    const __m128i below_e0 = _mm_set1_epi8(static_cast<char>(0xE0));
    constexpr unsigned kAwaitingOne = 2 * 16;
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(bytes));
        if (at == 0 && high == 0) continue;
        if (at == 0 || at == kAwaitingOne) {
            const auto continuation = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(bytes, below_c0)));
            const auto lead = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpgt_epi8(bytes, above_c1), _mm_cmplt_epi8(bytes, below_e0))));
            if ((high & ~(continuation | lead)) == 0) {
                const unsigned expected = ((lead << 1) | (at == kAwaitingOne ? 1u : 0u)) & 0xFFFFu;
                if (expected != continuation) return 1;
                at = (lead & 0x8000u) != 0 ? kAwaitingOne : 0;
                continue;
            }
        }
        for (std::size_t k = 0; k < 16; ++k) at = kUtf8Step[at + kUtf8Class[p[i + k]]];
        if (at == 16) return 1;
    }
#endif
    // Eight bytes at a time: plain ASCII between characters is passed over, anything else goes
    // through the automaton byte by byte.
    for (; i + 8 <= n; i += 8) {
        if (at == 0 && (Load(text.data() + i) & kHighs) == 0) continue;
        for (std::size_t k = 0; k < 8; ++k) at = kUtf8Step[at + kUtf8Class[p[i + k]]];
        if (at == 16) return 1;
    }
    for (; i < n; ++i) at = kUtf8Step[at + kUtf8Class[p[i]]];
    return static_cast<std::uint8_t>(at / 16);
}

bool IsValidUtf8(std::string_view text) { return Utf8State(0, text) == 0; }

}  // namespace kelvo::cli

#include <algorithm>
#include <cstring>

#include "schedule/formats/text/byte_blocks.h"
#include "schedule/formats/csv/csv.h"

namespace kelvo::schedule {

using namespace blocks;

CsvWriter::CsvWriter(std::ostream& out, char separator, std::string_view line_break, bool byte_order_mark)
    : out_(out), separator_(separator), line_break_(line_break), buffer_(kBufferBytes) {
    if (byte_order_mark) Raw("\xEF\xBB\xBF"), first_ = true;
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

}  // namespace kelvo::schedule

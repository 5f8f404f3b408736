// The CSV reader, writer and UTF-8 check look at their bytes a block at a time: a block's
// separators, quotes and line breaks found together (sixteen bytes with the x86 vector
// instructions, eight in ordinary registers elsewhere).
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kelvo::schedule::blocks {

// The bytes that end a run of plain field text, and that make a field need quotes.
inline std::array<bool, 256> SpecialBytes(char separator) {
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

}  // namespace kelvo::schedule::blocks

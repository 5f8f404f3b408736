#include "schedule/formats/text/utf8.h"

#include <array>
#include <cstring>

#include "schedule/formats/text/byte_blocks.h"

namespace kelvo::schedule {

using namespace blocks;

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

void Utf8Check::Feed(std::string_view piece) { state_ = Utf8State(state_, piece); }

}  // namespace kelvo::schedule

// UTF-8 checked as a small automaton, eight bytes at a time where they are ASCII.
#pragma once

#include <cstdint>
#include <string_view>

namespace kelvo::schedule {

// Whether a text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);
// Reads `text` on from a state of the UTF-8 automaton (0 between characters, 1 rejected, any
// other in the middle of a character) and returns the state after it.
std::uint8_t Utf8State(std::uint8_t state, std::string_view text);

// Checks UTF-8 piece by piece, a character split between pieces included.
class Utf8Check {
public:
    void Feed(std::string_view piece);
    // Whether everything fed is UTF-8 (a character left unfinished at the end is not).
    bool Valid() const { return state_ == 0; }
    // Whether a byte fed so far cannot be UTF-8, whatever follows.
    bool Failed() const { return state_ == 1; }

private:
    std::uint8_t state_ = 0;  // of the automaton of Utf8State
};

}  // namespace kelvo::schedule

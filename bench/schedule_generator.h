// A cable schedule as electricians fill one in, generated from a seed: every supply kind and
// voltage, both materials, every laying (some typed with Cyrillic letters), loads given as power
// or as current, reverse rows, and a few rows that end with a message. The benchmarks and the
// build comparison read it; the same seed always gives the same rows.
#pragma once

#include <cstdint>
#include <string>

namespace kelvo::bench {

class ScheduleGenerator {
public:
    explicit ScheduleGenerator(std::uint64_t seed) : state_(seed) {}

    static const std::string& Header();  // with its line break
    // Appends one row and its line break.
    void AppendRow(std::string& out);

private:
    void AppendLoad(std::string& out, bool three_phase, std::string_view voltage);
    std::uint64_t Next();
    // A whole number in [0, bound).
    std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
    bool Percent(std::uint32_t percent) { return Below(100) < percent; }
    // `units` hundredths written with a decimal comma and no trailing zeros ("12,5", "7").
    static void AppendHundredths(std::string& out, std::uint32_t units);

    std::uint64_t state_;
};

}  // namespace kelvo::bench

// A workbook's table of shared strings, read from its part a piece at a time and kept in pages
// of text (so that it grows without copies), within bounds no real schedule reaches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/package/zip_part.h"

namespace kelvo::schedule {

// The most text the shared strings may hold, and the most strings.
inline constexpr std::size_t kSharedTextMax = std::size_t{100} << 20;
inline constexpr std::size_t kSharedCountMax = std::size_t{2} << 20;

class SharedStrings {
public:
    // Reads the part "xl/sharedStrings.xml" (a workbook need not have one). False, with the
    // reason in Russian, when it is there but damaged or beyond the bounds.
    bool Read(Archive archive, std::string& fault);

    std::size_t Count() const { return refs_.size(); }
    std::string_view At(std::size_t index) const;

    // Adds a string (already decoded); false when a bound is passed (see Fault).
    bool Add(std::string_view text);
    const std::string& Fault() const { return fault_; }

private:
    static constexpr std::size_t kPage = std::size_t{1} << 20;
    std::vector<std::string> pages_;
    // Per string: its page (bits 40 and up), its place in the page (bits 20–39), its size.
    std::vector<std::uint64_t> refs_;
    std::size_t total_ = 0;
    std::string fault_;
};

}  // namespace kelvo::schedule

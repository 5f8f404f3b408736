#include "schedule/formats/package/merges.h"

#include <algorithm>

#include "schedule/formats/cells/limits.h"

namespace kelvo::schedule {
namespace {

constexpr std::size_t kAreasMax = 65536;

}  // namespace

bool Merges::Add(std::uint64_t row, std::uint64_t column, std::uint64_t rows, std::uint64_t columns,
                 std::string& fault) {
    if (rows <= 1 && columns <= 1) return true;
    if (areas_.size() >= kAreasMax) {
        fault = "объединенных областей больше 65 536";
        return false;
    }
    rows = std::min<std::uint64_t>(rows, kSheetRowsMax);
    columns = std::min<std::uint64_t>(columns, kSheetColumnsMax);
    areas_.push_back({row, column, rows, columns, {}, CellShown::Value});
    return true;
}

void Merges::Sort() {
    std::stable_sort(areas_.begin(), areas_.end(), [](const Area& a, const Area& b) { return a.row < b.row; });
}

bool Merges::Forget(std::uint64_t row, std::string& fault) {
    // Only the areas begun so far are looked at: the work of a row is bounded by those standing.
    const auto begun = std::partition_point(areas_.begin(), areas_.end(), [&](const Area& a) { return a.row < row; });
    const auto ended = std::remove_if(areas_.begin(), begun, [&](const Area& area) {
        const bool gone = area.row + area.rows <= row;
        if (gone) kept_ -= std::min(kept_, area.text.size());
        return gone;
    });
    const auto standing = static_cast<std::size_t>(ended - areas_.begin());
    areas_.erase(ended, begun);
    if (standing <= kCoveredPerRowMax) return true;
    fault = "над строкой " + std::to_string(row) + " больше 1 024 объединенных областей";
    return false;
}

}  // namespace kelvo::schedule

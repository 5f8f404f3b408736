#include "schedule/formats/package/merges.h"

#include <algorithm>

#include "schedule/formats/cells/limits.h"

namespace kelvo::schedule {
namespace {

constexpr std::size_t kAreasMax = 65536;
constexpr std::size_t kTextKeptMax = std::size_t{16} << 20;

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

void Merges::Value(std::uint64_t row, std::uint64_t column, std::string_view text, CellShown shown) {
    for (Area& area : areas_) {
        if (area.row != row || area.column != column) continue;
        if (kept_ + text.size() > kTextKeptMax) return;  // beyond the bound the rows below read empty
        kept_ += text.size();
        area.text.assign(text);
        area.shown = shown;
    }
}

void Merges::Sort() {
    std::stable_sort(areas_.begin(), areas_.end(), [](const Area& a, const Area& b) { return a.row < b.row; });
}

void Merges::Forget(std::uint64_t row) {
    std::erase_if(areas_, [&](const Area& area) {
        const bool ended = area.row + area.rows <= row;
        if (ended) kept_ -= std::min(kept_, area.text.size());
        return ended;
    });
}

}  // namespace kelvo::schedule

// Merged areas of a sheet, as a spreadsheet shows them: the value of an area's first cell is shown
// all down its first column, so a covered cell there reads as that value (a supply or a material
// merged down over a group of lines); a covered cell in another column of the area cannot be read
// (CellShown::MergedAcross). Areas are met in the order of their first rows, and bounded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/record.h"

namespace kelvo::schedule {

class Merges {
public:
    // An area from row `row` (from 1) and column `column` (from 0), `rows` × `columns` cells, added
    // in the order of their first rows (Sort puts areas added otherwise in order); false (and the
    // reason) beyond the bounds.
    bool Add(std::uint64_t row, std::uint64_t column, std::uint64_t rows, std::uint64_t columns, std::string& fault);
    // The areas that begin in `row` take their first cell's value: `value_of(column)` gives a
    // pointer to the text and how it is shown, or null for an empty cell.
    template <typename ValueOf>
    void TakeValues(std::uint64_t row, ValueOf&& value_of) {
        for (Area& area : areas_) {
            if (area.row > row) break;  // areas are kept in the order of their first rows
            if (area.row != row) continue;
            if (const auto value = value_of(area.column); value && kept_ + value->first.size() <= kTextKeptMax) {
                kept_ += value->first.size();  // beyond the bound the rows below read empty
                area.text.assign(value->first);
                area.shown = value->second;
            }
        }
    }
    struct Covered {
        std::uint64_t column;
        std::string_view text;
        CellShown shown;
    };
    // The covered cells of `row`, each with what it shows, through `take` (at most
    // kCoveredPerRowMax of them: a hostile area as wide as a sheet makes no gigabytes).
    template <typename Take>
    void EachCovered(std::uint64_t row, Take&& take) const {
        std::size_t given = 0;
        for (const Area& area : areas_) {
            if (area.row > row || given >= kCoveredPerRowMax) break;
            if (row >= area.row + area.rows) continue;
            for (std::uint64_t c = area.column; c < area.column + area.columns && given < kCoveredPerRowMax; ++c) {
                if (row == area.row && c == area.column) continue;  // the area's own value
                ++given;
                if (c == area.column)
                    take(Covered{c, area.text, area.shown});
                else
                    take(Covered{c, {}, CellShown::MergedAcross});
            }
        }
    }
    static constexpr std::size_t kCoveredPerRowMax = 1024;
    static constexpr std::size_t kTextKeptMax = std::size_t{16} << 20;
    // Areas that end above `row` are no longer kept; false (and the reason) when more than
    // kCoveredPerRowMax areas still stand over it, which no sheet of a person has.
    bool Forget(std::uint64_t row, std::string& fault);
    bool Empty() const { return areas_.empty(); }
    void Sort();

private:
    struct Area {
        std::uint64_t row, column, rows, columns;
        std::string text;
        CellShown shown = CellShown::Value;
    };
    std::vector<Area> areas_;
    std::size_t kept_ = 0;
};

}  // namespace kelvo::schedule

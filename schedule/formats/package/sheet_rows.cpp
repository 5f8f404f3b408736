#include "schedule/formats/package/sheet_rows.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace kelvo::schedule {

SheetRows::SheetRows(TableFormat::Kind kind, std::string damaged, std::shared_ptr<const void> owner,
                     std::unique_ptr<ZipPart> part)
    : owner_(std::move(owner)), part_(std::move(part)), stream_(*this), kind_(kind), damaged_(std::move(damaged)) {}

TableReader::Result SheetRows::Next(std::vector<std::string_view>& fields) {
    fields.clear();
    for (;;) {
        if (gap_ > 0) {
            --gap_;
            ++line_;
            shown_.clear();
            return Result::Record;
        }
        if (repeat_ > 0) {
            --repeat_;
            HandOver(fields);
            ++line_;
            return Result::Record;
        }
        if (done_) return Result::End;
        ParseMore();
    }
}

double SheetRows::Progress() const {
    const auto size = part_->Size();
    return size > 0 ? std::min(1.0, static_cast<double>(read_) / static_cast<double>(size)) : -1;
}

void SheetRows::HoldRow(std::uint64_t gap, std::uint64_t repeat) {
    gap_ = gap;
    repeat_ = repeat;
    stream_.Suspend();
}

void SheetRows::EndSheet() {
    done_ = true;
    stream_.Suspend();
}

void SheetRows::ParseMore() {
    std::string fault;
    if (ParseOpenPart(*part_, stream_, read_, fault)) {
        done_ = at_part_end_ = true;
    } else if (!stream_.Suspended()) {
        fault_ = damaged_ + ": " + fault;
        done_ = true;
        repeat_ = gap_ = 0;
    }
}

void SheetRows::HandOver(std::vector<std::string_view>& fields) {
    shown_.clear();
    for (const Cell& cell : cells_) {
        if (fields.size() < cell.column) fields.resize(cell.column), shown_.resize(cell.column);
        fields.push_back(CellText(cell));
        shown_.push_back(cell.shown);
    }
}

bool SheetRows::ApplyMerges(Merges& merges, std::uint64_t row) {
    if (merges.Empty()) return true;
    // The cells are in the order of their columns.
    merges.TakeValues(row, [&](std::uint64_t column) -> std::optional<std::pair<std::string_view, CellShown>> {
        const auto cell = std::lower_bound(cells_.begin(), cells_.end(), column,
                                           [](const Cell& c, std::uint64_t at) { return c.column < at; });
        if (cell == cells_.end() || cell->column != column) return std::nullopt;
        return std::pair{CellText(*cell), cell->shown};
    });
    bool added = false;
    const std::size_t last = cells_.empty() ? 0 : cells_.back().column;
    merges.EachCovered(row, [&](const Merges::Covered& covered) {
        // What a covered cell may still hold in the file is not what the spreadsheet shows.
        std::erase_if(cells_, [&](const Cell& cell) { return cell.column == covered.column; });
        if (covered.text.empty() && covered.shown == CellShown::Value) return;
        // A cell covered from another column is marked only among cells that hold something (a
        // title merged across the sheet's width stays one cell).
        if (covered.shown == CellShown::MergedAcross && covered.column >= last) return;
        cells_.push_back(
            {static_cast<std::size_t>(covered.column), row_text_.size(), covered.text.size(), covered.shown});
        row_text_ += covered.text;
        added = true;
    });
    if (added)
        std::sort(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) { return a.column < b.column; });
    std::string fault;
    if (merges.Forget(row + 1, fault)) return true;
    stream_.Fail(fault);
    return false;
}

}  // namespace kelvo::schedule

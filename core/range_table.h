// Range tables: ordered rows (lower bound, upper bound, result), both bounds inclusive, the
// first matching row wins. Every table of the rules is walked through these helpers.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <stdexcept>

namespace kelvo {

template <class Result>
struct RangeRow {
    double from;
    double to;
    Result result;
};

// The first row with from <= x <= to, or nullptr (below, between or above the rows).
template <class Result>
const RangeRow<Result>* FindRow(std::span<const RangeRow<Result>> rows, double x) {
    for (const auto& row : rows)
        if (row.from <= x && x <= row.to) return &row;
    return nullptr;
}

// Like FindRow, but a value in the gap between two rows belongs to the upper row: the rows are
// read as a ladder from the first row's lower bound to the last row's upper bound. Used where a
// gap in the written bounds would otherwise leave an ordinary value without a result.
template <class Result>
const RangeRow<Result>* FindRowClosingGaps(std::span<const RangeRow<Result>> rows, double x) {
    if (rows.empty() || !(rows.front().from <= x)) return nullptr;
    for (const auto& row : rows)
        if (x <= row.to) return &row;
    return nullptr;
}

// A table assembled from data at first use: a fixed capacity, rows in order.
template <class Result, std::size_t Capacity = 32>
class RangeTable {
public:
    constexpr void Add(double from, double to, Result result) {
        // The tables are the program's own data; one that outgrows its capacity is a fault of
        // the build, found the first time the table is made.
        if (count_ == Capacity) throw std::length_error("range table capacity exceeded");
        rows_[count_++] = RangeRow<Result>{from, to, result};
    }
    constexpr std::span<const RangeRow<Result>> rows() const { return {rows_.data(), count_}; }
    const RangeRow<Result>* Find(double x) const { return FindRow(rows(), x); }

private:
    std::array<RangeRow<Result>, Capacity> rows_{};
    std::size_t count_ = 0;
};

}  // namespace kelvo

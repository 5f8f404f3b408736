// A cable schedule's columns: the input columns found in a header by their names as a person
// writes them, the result columns added on the right, and the laying codes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/conductor.h"
#include "core/line_calculation.h"

namespace kelvo::schedule {

// Input columns, by their header names.
enum class Column {
    Kind,          // "расчет": "прямой" (default) or "обратный"
    Power,         // "мощность_кВт"
    Current,       // "ток_А"
    Section,       // "сечение_мм2"
    Supply,        // "род_тока": "1ф", "3ф", "постоянный"
    Voltage,       // "напряжение_В"
    Material,      // "материал": "медь", "алюминий"
    Conductor,     // "проводник": "провод", "кабель"
    Laying,        // "прокладка": p1…p6, k1…k9
    Length,        // "длина_м"
    Loss,          // "потери_%"
    Multiplicity,  // "кратность" (default "1")
};
inline constexpr std::size_t kColumnCount = 12;

std::string_view ColumnName(Column column);

// The result columns appended to every row, in order.
inline constexpr std::size_t kResultCount = 11;
const std::array<std::string_view, kResultCount>& ResultColumnNames();
// A row's result columns, in that order (views into the result).
std::array<std::string_view, kResultCount> ResultFields(const LineResult& result);

// Where each input column stands in the header (nothing when it is absent). Header names are
// matched as a person reads them: case, surrounding spaces, a byte-order mark and "ё" for "е"
// do not matter.
class ColumnMap {
public:
    explicit ColumnMap(const std::vector<std::string_view>& header);
    // The column's place in the row, or kAbsent when the header has no such column.
    static constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);
    std::size_t IndexOf(Column column) const { return index_[static_cast<std::size_t>(column)]; }
    // The header's names that are no input column (they are carried through unchanged).
    const std::vector<std::string>& Unknown() const { return unknown_; }

private:
    std::array<std::size_t, kColumnCount> index_;
    std::vector<std::string> unknown_;
};

// A header name as it is compared: lower case, "е" for "ё", no byte-order mark or surrounding
// spaces.
std::string NormalizedColumnName(std::string_view name);

// A laying code of a schedule: p1…p6, k1…k9 ("р" and "к" may be typed in Cyrillic).
std::optional<LayingMethod> LayingFromCode(std::string_view code);

}  // namespace kelvo::schedule

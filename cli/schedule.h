// A cable schedule: the columns kelvo-calc reads and writes, and one row's calculation.
#pragma once

#include <array>
#include <functional>
#include <istream>
#include <ostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_calculation.h"

namespace kelvo::cli {

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
const std::vector<std::string>& ResultColumnNames();

// Where each input column stands in the header (nothing when it is absent).
class ColumnMap {
public:
    explicit ColumnMap(const std::vector<std::string>& header);
    std::optional<std::size_t> IndexOf(Column column) const { return index_[static_cast<std::size_t>(column)]; }

private:
    std::array<std::optional<std::size_t>, kColumnCount> index_{};
};

// Calculates one row; appends the result columns to `out` (cleared first). Returns whether the
// row was calculated without a message.
bool CalculateRow(const ColumnMap& columns, const std::vector<std::string>& row,
                  std::vector<std::string>& out);

// The result columns of a row that cannot be read at all, with its message.
void FailedRow(const std::string& message, std::vector<std::string>& out);

// Reads a whole schedule and writes it back with the result columns, one row at a time (the
// memory used does not grow with the number of rows). on_row is told the rows done so far.
enum class ScheduleStatus { AllCalculated, SomeMessages, NoHeader };
ScheduleStatus ProcessSchedule(std::istream& in, std::ostream& out,
                               const std::function<void(std::size_t)>& on_row = {});

// Laying codes: the window's option names, k8/k9 for the five-core cables in air / in ground.
std::optional<LayingMethod> LayingFromCode(std::string_view code);

}  // namespace kelvo::cli

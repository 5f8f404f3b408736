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

#include "cli/table.h"
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

// Calculates one row into `result` (whatever it held before is replaced). Returns whether the
// row was calculated without a message.
// `fields_are_utf8`: the reader has checked the row's encoding already.
bool CalculateRow(const ColumnMap& columns, const std::vector<std::string_view>& row, LineResult& result,
                  bool fields_are_utf8 = false);

// Reads a whole schedule and writes it back with the result columns, one row at a time (the
// memory used does not grow with the number of rows). Every input row comes out once, in
// order: its fields, padded with empty ones to the header's width, then the result columns,
// then any fields beyond the header's width (such a row gets a message instead of results).
struct ScheduleReport {
    enum class Status {
        AllCalculated,  // every row calculated (blank rows count as calculated)
        SomeMessages,   // some rows carry a message
        NoHeader,       // the input is empty
        HeaderTooLong,  // the header is over the record limit
        UnclosedQuote,  // the input ended inside a quoted field: the rows before it were written
        ReadFault,      // the input could not be read to its end (see fault)
        Cancelled,      // stopped on request: the rows before were written
    };
    Status status = Status::AllCalculated;
    std::size_t rows = 0;  // rows written, the header not counted
    std::size_t rows_with_message = 0;
    std::size_t quote_line = 0;  // UnclosedQuote: the line on which that record begins
    std::string fault;           // ReadFault: why
};
struct ScheduleEvents {
    std::function<void(std::size_t rows_done)> on_row;
    std::function<void(std::string_view name)> on_unknown_column;  // once per such header name
    std::function<bool()> cancelled;                               // asked after every row
};
ScheduleReport ProcessSchedule(TableReader& reader, TableWriter& writer, const ScheduleEvents& events = {});
// The same for CSV in UTF-8 with ";" on streams, the output in the input's line breaks.
ScheduleReport ProcessSchedule(std::istream& in, std::ostream& out, const ScheduleEvents& events = {});

// Laying codes: the window's option names, k8/k9 for the five-core cables in air / in ground.
std::optional<LayingMethod> LayingFromCode(std::string_view code);

}  // namespace kelvo::cli

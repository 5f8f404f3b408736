// A whole cable schedule calculated: read row by row through any format's reader, each row
// written back with its results through any format's writer.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "schedule/columns.h"
#include "schedule/formats/table.h"
#include "schedule/row.h"

namespace kelvo::schedule {

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
    std::size_t rows_not_disconnected = 0;  // checked, and the breaker does not trip in time
    std::size_t quote_line = 0;             // UnclosedQuote: the line on which that record begins
    std::string fault;                      // ReadFault: why
};
struct ScheduleEvents {
    std::function<void(std::size_t rows_done)> on_row;
    std::function<void(std::string_view name)> on_unknown_column;  // once per such header name
    std::function<bool()> cancelled;                               // asked after every row
    // How a data row came out, told before the writer ends its record.
    enum class RowOutcome { Calculated, Message, NotDisconnected };
    std::function<void(RowOutcome outcome)> on_row_outcome;
};
ScheduleReport ProcessSchedule(TableReader& reader, TableWriter& writer, const ScheduleEvents& events = {});
// The same for CSV in UTF-8 with ";" on streams, the output in the input's line breaks.
ScheduleReport ProcessSchedule(std::istream& in, std::ostream& out, const ScheduleEvents& events = {});

}  // namespace kelvo::schedule

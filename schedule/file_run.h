// A schedule file calculated into a result file, as kelvo-calc does it: the input opened, the
// result kept from going over it, every row calculated and written, what is worth saying said in
// kelvo-calc's words, the result put in place only when all went well. kelvo-calc and the web
// page's schedules run this one sequence.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "schedule/run.h"
#include "schedule/schedule_file.h"

namespace kelvo::schedule {

struct FileRun {
    std::string input;  // a path; "" or "-" for standard input
    InputOptions read;
    std::optional<std::string> output;  // a path; standard output when none
    OutputOptions write;
};

struct FileRunEvents {
    // A line to say (kelvo-calc writes it on standard error after "kelvo-calc: "): warnings, notes
    // and, with exit status 2, the fault.
    std::function<void(const std::string& line)> say;
    std::function<void(std::size_t rows_done)> on_row;
    std::function<bool()> cancelled;  // asked after every row
};

// The exit status kelvo-calc gives: 0, 1 (rows with a message or without disconnection) or 2 (a
// fault: nothing written). `report` and `input`, when given, receive the run's counts and what
// the input turned out to be (its format, the sheet read).
int CalculateFile(const FileRun& run, const FileRunEvents& events, ScheduleReport* report = nullptr,
                  TableFormat* input = nullptr);

}  // namespace kelvo::schedule

// The one wording of how a schedule's run ended, for kelvo-calc's standard error and the schedule
// window's message alike, and kelvo-calc's exit status for it.
#pragma once

#include <string>
#include <string_view>

#include "schedule/run.h"

namespace kelvo::schedule {

// What a run that could not read its whole input says (in Russian, from a small letter); empty
// when there is nothing to say: every row read, or the run cancelled by the one who reads it.
// `input_name` names the input ("«журнал.csv»", "стандартный ввод"); `result_to_file`: the
// result would have gone to a file, which then is not written.
std::string OutcomeFault(const ScheduleReport& report, std::string_view input_name, bool result_to_file);

// The unknown column's warning, the name's control characters shown escaped ("\n", "\x1F") so
// that a name typed with a line break stays on its line.
std::string UnknownColumnWarning(std::string_view name);

// What is said once of a file whose numbers are written with a decimal point; empty for others.
std::string NumbersNote(DecimalSign numbers);

// The counts of a run (so far) as the schedule window and the web page show them: "Строк: 10,
// рассчитано: 9, с сообщением: 1", and the rows without disconnection where there are any.
std::string RowCounts(std::size_t rows, std::size_t with_message, std::size_t not_disconnected);

// The name a result is offered under: the input's name without its ending, "-результат", and the
// ending of the result's format (`ending`; empty: the format kelvo-calc writes for such an input).
std::string ResultName(std::string_view input_name, std::string_view ending = {});

// 0 when every row was calculated, 1 when some carry a message, 2 when the input could not be
// read whole (nothing trustworthy to write).
int ExitStatus(const ScheduleReport& report);

}  // namespace kelvo::schedule

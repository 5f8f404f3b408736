#include "schedule/file_run.h"

#include <sys/stat.h>
#include <unistd.h>

#include "schedule/outcome.h"

namespace kelvo::schedule {
namespace {

// The result never goes over the input: it would be gone before it was read; standard output
// appended or redirected onto the input would be read back as more input. What is said, or
// nothing when the output is another file.
std::optional<std::string> RefuseOutputOntoInput(const ScheduleInput& input, const FileRun& run) {
    if (!input.Identity()) return std::nullopt;
    if (run.output && input.Identity() == IdentityOfPath(*run.output))
        return "файл результата «" + *run.output + "» — это входной файл; укажите другой файл после -o";
    struct stat standard_output {};
    if (!run.output && ::fstat(STDOUT_FILENO, &standard_output) == 0 && S_ISREG(standard_output.st_mode) &&
        input.Identity() == IdentityOfDescriptor(STDOUT_FILENO))
        return "стандартный вывод — это входной файл; укажите файл результата после -o";
    return std::nullopt;
}

}  // namespace

int CalculateFile(const FileRun& run, const FileRunEvents& events, ScheduleReport* report_out, TableFormat* input_out) {
    const auto say = [&](const std::string& line) {
        if (events.say) events.say(line);
    };
    const auto fail = [&](const std::string& line) {
        say(line);
        return 2;
    };
    std::string error;
    const auto input = ScheduleInput::Open(run.input, run.read, error);
    if (!input) return fail(error);
    const bool standard_input = run.input.empty() || run.input == "-";
    const std::string input_name = standard_input ? "стандартный ввод" : "«" + run.input + "»";
    if (const auto refused = RefuseOutputOntoInput(*input, run)) return fail(*refused);
    const std::string output_path = run.output.value_or("");
    const auto output = ScheduleOutput::Open(output_path, run.write, error);
    if (!output) return fail("не удается создать «" + output_path + "»: " + error);

    ScheduleEvents schedule_events;
    schedule_events.on_row = events.on_row;
    schedule_events.cancelled = events.cancelled;
    schedule_events.on_unknown_column = [&](std::string_view name) { say(UnknownColumnWarning(name)); };
    const auto report = ProcessSchedule(input->Reader(), output->Writer(), schedule_events);
    if (report_out) *report_out = report;
    if (input_out) *input_out = input->Reader().Format();
    if (const std::string note = NumbersNote(input->Reader().Format().numbers); !note.empty()) say(note);
    if (report.rows_not_disconnected > 0)
        say("строк, в которых отключение при КЗ не обеспечено: " + std::to_string(report.rows_not_disconnected));
    const int status = ExitStatus(report);
    if (status == 2) return fail(OutcomeFault(report, input_name, run.output.has_value()));
    if (!output->Commit(error))
        return fail(run.output ? "не удалось записать «" + output_path + "»: " + error
                               : "не удалось записать результат: " + error);
    return status;
}

}  // namespace kelvo::schedule

// The web page's schedules: a file handed over by the page (in the module's memory file system)
// calculated by the sequence kelvo-calc runs, into a result file of the format asked for. Runs in
// a Web Worker, or in the page itself when it is opened from disk.
#include <emscripten/emscripten.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "schedule/file_run.h"
#include "schedule/outcome.h"
#include "schedule/schedule_file.h"
#include "web/module/answer.h"

#define KELVO_EXPORT extern "C" __attribute__((used, visibility("default")))

namespace {

std::string answer;

// The page hears of the rows done now and then.
EM_JS(void, TellRowsDone, (double rows), {
    if (Module.onRows) Module.onRows(rows);
});

void Put(std::string_view name, std::string_view value) { kelvo::web::AppendLine(answer, name, value); }

// The result's first rows, read back as any schedule is read: "row<TAB>field<TAB>…" lines.
void PutFirstRows(const std::string& path, std::size_t count) {
    std::string error;
    const auto result = kelvo::schedule::ScheduleInput::Open(path, {}, error);
    if (!result) return;
    std::vector<std::string_view> fields;
    for (std::size_t row = 0; row < count; ++row) {
        if (result->Reader().Next(fields) != kelvo::schedule::TableReader::Result::Record) break;
        answer += "row";
        for (const std::string_view field : fields) {
            answer += '\t';
            kelvo::web::AppendField(answer, field);
        }
        answer += '\n';
    }
}

}  // namespace

// Calculates the schedule at `input` (its sheet `sheet`, or the first with a header when empty)
// into the folder `output_folder`, in the format the ending `ending` names (".csv", ".xlsx",
// ".ods"; empty: the input's own, as kelvo-calc's result for it would be). The answer's lines:
// "result", the result's name (schedule::ResultName), "status", "counts" (as the schedule window
// words them, and the sheet read), each line kelvo-calc would say ("say"), and the result's first
// 200 rows ("row").
KELVO_EXPORT const char* kelvo_schedule(const char* input, const char* output_folder, const char* ending,
                                        const char* sheet) {
    namespace schedule = kelvo::schedule;
    const std::string input_path = input;
    const std::string result_name = schedule::ResultName(input_path.substr(input_path.rfind('/') + 1), ending);
    const std::string output = std::string(output_folder) + "/" + result_name;
    schedule::FileRun run;
    run.input = input_path;
    run.read.sheet = sheet;
    run.output = output;
    run.write.kind = schedule::KindOfPath(output);
    schedule::FileRunEvents events;
    std::vector<std::string> said;
    events.say = [&](const std::string& line) { said.push_back(line); };
    events.on_row = [](std::size_t rows) {
        if (rows % 2000 == 0) TellRowsDone(static_cast<double>(rows));
    };
    schedule::ScheduleReport report;
    schedule::TableFormat format;
    int status = 2;
    try {
        status = schedule::CalculateFile(run, events, &report, &format);
    } catch (const std::bad_alloc&) {
        said.push_back(kelvo::messages::kOutOfMemory);
    }
    answer.clear();
    Put("result", result_name);
    Put("status", std::to_string(status));
    Put("counts", schedule::RowCounts(report.rows, report.rows_with_message, report.rows_not_disconnected) +
                      (format.sheet.empty() ? "" : "; лист «" + format.sheet + "»"));
    for (const std::string& line : said) Put("say", line);
    if (status < 2) PutFirstRows(output, 201);
    return answer.c_str();
}

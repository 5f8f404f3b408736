// kelvo-calc: a cable schedule calculated as the window calculates one line, from the command
// line: any format of the list in (formats/format_list.h), CSV, XLSX or ODS out.
#include <fcntl.h>

#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "cli/options.h"
#include "schedule/formats/files.h"
#include "schedule/schedule_file.h"
#include "schedule/outcome.h"
#include "schedule/run.h"

namespace {

using kelvo::cli::Arguments;
namespace schedule = kelvo::schedule;

// A progress line for long runs, only on a terminal.
class Progress {
public:
    Progress() : enabled_(isatty(STDERR_FILENO) == 1), start_(Clock::now()), next_(start_ + std::chrono::seconds(1)) {}
    void Tick(std::size_t rows) {
        if (!enabled_ || (rows & 0x3FF) != 0) return;
        const auto now = Clock::now();
        if (now < next_) return;
        next_ = now + std::chrono::milliseconds(250);
        shown_ = true;
        std::cerr << "\rобработано строк: " << rows << std::flush;
    }
    void Finish(std::size_t rows) {
        if (shown_) std::cerr << "\rобработано строк: " << rows << '\n';
    }

private:
    using Clock = std::chrono::steady_clock;
    bool enabled_;
    bool shown_ = false;
    Clock::time_point start_, next_;
};

int Fail(const std::string& message) {
    std::cerr << "kelvo-calc: " << message << '\n';
    return 2;
}

std::string Reason(int error) { return std::strerror(error); }

// A standard stream the program was started without is held by /dev/null, so that no file
// opened later takes its number and is read or written as that stream; whether it was closed
// is returned.
bool HoldIfClosed(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) return false;
    const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (held >= 0 && held != fd) ::close(held);
    return true;
}

// The result never goes over the input: it would be gone before it was read; standard output
// appended or redirected onto the input would be read back as more input. What is said, or
// nothing when the output is another file.
std::optional<std::string> RefuseOutputOntoInput(const schedule::ScheduleInput& input, const Arguments& arguments) {
    if (!input.Identity()) return std::nullopt;
    if (arguments.output && input.Identity() == schedule::IdentityOfPath(*arguments.output))
        return "файл результата «" + *arguments.output + "» — это входной файл; укажите другой файл после -o";
    struct stat standard_output {};
    if (!arguments.output && ::fstat(STDOUT_FILENO, &standard_output) == 0 && S_ISREG(standard_output.st_mode) &&
        input.Identity() == schedule::IdentityOfDescriptor(STDOUT_FILENO))
        return "стандартный вывод — это входной файл; укажите файл результата после -o";
    return std::nullopt;
}

}  // namespace

int Run(int argc, char** argv) {
    const bool stdin_closed = HoldIfClosed(STDIN_FILENO);
    const bool stdout_closed = HoldIfClosed(STDOUT_FILENO);
    HoldIfClosed(STDERR_FILENO);
    Arguments arguments;
    if (const auto done = kelvo::cli::Parse(argc, argv, arguments)) return *done;

    const bool standard_input = arguments.input.empty() || arguments.input == "-";
    if (standard_input && stdin_closed) return Fail("ошибка чтения входа: " + Reason(EBADF));
    if (!arguments.output && stdout_closed) return Fail("не удалось записать результат: " + Reason(EBADF));
    std::string error;
    const auto input = schedule::ScheduleInput::Open(arguments.input, arguments.read, error);
    if (!input) return Fail(error);
    const std::string input_name = standard_input ? "стандартный ввод" : "«" + arguments.input + "»";

    if (const auto refused = RefuseOutputOntoInput(*input, arguments)) return Fail(*refused);
    const std::string output_path = arguments.output.value_or("");
    const auto output = schedule::ScheduleOutput::Open(output_path, arguments.write, error);
    if (!output) return Fail("не удается создать «" + output_path + "»: " + error);

    Progress progress;
    std::size_t rows = 0;
    schedule::ScheduleEvents events;
    events.on_row = [&](std::size_t done) {
        rows = done;
        progress.Tick(done);
    };
    events.on_unknown_column = [](std::string_view name) {
        std::cerr << "kelvo-calc: " << schedule::UnknownColumnWarning(name) << '\n';
    };
    const auto report = schedule::ProcessSchedule(input->Reader(), output->Writer(), events);
    if (const std::string note = schedule::NumbersNote(input->Reader().Format().numbers); !note.empty())
        std::cerr << "kelvo-calc: " << note << '\n';
    progress.Finish(rows);
    if (report.rows_not_disconnected > 0)
        std::cerr << "kelvo-calc: строк, в которых отключение при КЗ не обеспечено: " << report.rows_not_disconnected
                  << '\n';
    const int status = schedule::ExitStatus(report);
    if (status == 2) return Fail(schedule::OutcomeFault(report, input_name, arguments.output.has_value()));
    if (!output->Commit(error))
        return Fail(arguments.output ? "не удалось записать «" + output_path + "»: " + error
                                     : "не удалось записать результат: " + error);
    return status;
}

int main(int argc, char** argv) {
    std::setlocale(LC_MESSAGES, "");  // the system's reasons in the user's language
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Unwound: the temporary result file is gone, the earlier result as it was.
        return Fail("не хватило памяти: файл требует больше, чем есть у этой машины");
    }
}

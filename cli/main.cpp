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
#include "core/messages.h"
#include "schedule/formats/files.h"
#include "schedule/file_run.h"

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
    Progress progress;
    std::size_t rows = 0;
    bool finished = false;
    schedule::FileRunEvents events;
    // The progress line is ended before anything said after the rows.
    events.say = [&](const std::string& line) {
        if (!finished && rows > 0) progress.Finish(rows), finished = true;
        std::cerr << "kelvo-calc: " << line << '\n';
    };
    events.on_row = [&](std::size_t done) {
        rows = done;
        progress.Tick(done);
    };
    const int status =
        schedule::CalculateFile({arguments.input, arguments.read, arguments.output, arguments.write}, events);
    if (!finished) progress.Finish(rows);
    return status;
}

int main(int argc, char** argv) {
    std::setlocale(LC_MESSAGES, "");  // the system's reasons in the user's language
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Unwound: the temporary result file is gone, the earlier result as it was.
        return Fail(kelvo::messages::kOutOfMemory);
    }
}

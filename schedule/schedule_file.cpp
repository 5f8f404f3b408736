#include "schedule/schedule_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "schedule/columns.h"
#include "schedule/formats/csv/csv_table.h"
#include "schedule/formats/package/zip_part.h"
#include "schedule/shown_numbers.h"

namespace kelvo::schedule {
namespace {

std::string ReadFault(int error) { return "ошибка чтения входа: " + ReasonOf(error); }

// Standard input that cannot be read twice (a pipe) is copied into a temporary file first:
// the format, the encoding and the separator are found by reading ahead.
int Seekable(int fd, std::string& error) {
    if (::lseek(fd, 0, SEEK_CUR) >= 0) return fd;
    std::FILE* copy = std::tmpfile();
    if (!copy) {
        error = "не удается создать временный файл: " + ReasonOf(errno);
        return -1;
    }
    const int copy_fd = ::dup(fileno(copy));
    std::fclose(copy);
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = ReadFault(errno);
            ::close(copy_fd);
            return -1;
        }
        if (got == 0) break;
        if (::write(copy_fd, buffer.data(), static_cast<std::size_t>(got)) != got) {
            error = "не удается записать временный файл: " + ReasonOf(errno);
            ::close(copy_fd);
            return -1;
        }
    }
    ::lseek(copy_fd, 0, SEEK_SET);
    return copy_fd;
}

// Reads up to `size` bytes from `offset` of a file; false (and the reason) when it cannot.
bool ReadPiece(int fd, std::uint64_t offset, std::size_t size, std::string& piece, std::string& error) {
    piece.resize(size);
    const long long got = ReadAt(fd, piece.data(), size, offset);
    if (got < 0) {
        error = ReadFault(errno);
        return false;
    }
    piece.resize(static_cast<std::size_t>(got));
    return true;
}

// The descriptor to read `path` from ("" and "-": standard input); -1 with the reason.
int OpenForReading(const std::string& path, bool standard, std::string& error) {
    if (standard) {
        if (::fcntl(STDIN_FILENO, F_GETFD) != -1) return STDIN_FILENO;
        error = ReadFault(errno);
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) error = "не удается открыть «" + path + "»: " + ReasonOf(errno);
    return fd;
}

// How a text file writes its numbers: its number columns read through once, to the first cell
// that shows a decimal comma. A point and no comma anywhere: a decimal point; neither, while a
// number such as "1,200" reads two ways: unknown.
DecimalSign SurveyNumbers(const FileFormat& format, int fd, std::string_view head, const ReadOptions& read) {
    std::string error;
    const auto reader = format.open({fd, /*owned=*/false, head}, read, error);
    if (!reader) return DecimalSign::Comma;
    std::vector<std::string_view> fields;
    std::optional<ColumnMap> columns;
    bool point = false, two_ways = false;
    for (std::size_t record = 0;; ++record) {
        if (record % 4096 == 0 && read.sheet.stop && read.sheet.stop()) break;
        const auto result = reader->Next(fields);
        if (result == TableReader::Result::End || result == TableReader::Result::UnclosedQuote) break;
        if (result != TableReader::Result::Record) continue;
        if (!columns) {
            if (LooksLikeHeader(fields)) columns.emplace(fields);
            if (!columns && record >= kHeaderRowsSearched) break;
            continue;
        }
        for (const Column column : kNumberColumns) {
            const std::size_t index = columns->IndexOf(column);
            if (index >= fields.size()) continue;
            switch (EvidenceOf(Trim(fields[index]))) {
                case SignEvidence::Comma:
                    return DecimalSign::Comma;
                case SignEvidence::Point:
                    point = true;
                    break;
                case SignEvidence::TwoWays:
                    two_ways = true;
                    break;
                case SignEvidence::None:
                    break;
            }
        }
    }
    return point ? DecimalSign::Point : two_ways ? DecimalSign::Unknown : DecimalSign::Comma;
}

}  // namespace

std::unique_ptr<ScheduleInput> ScheduleInput::Open(const std::string& path, const InputOptions& options,
                                                   std::string& error) {
    const bool standard = path.empty() || path == "-";
    const int fd = OpenForReading(path, standard, error);
    if (fd < 0) return nullptr;
    const auto identity = IdentityOfDescriptor(fd);
    const int seekable = Seekable(fd, error);
    if (seekable != fd && !standard) ::close(fd);
    if (seekable < 0) return nullptr;
    const bool owned = !standard || seekable != fd;
    const auto fail = [&](std::string why) -> std::unique_ptr<ScheduleInput> {
        if (owned) ::close(seekable);
        if (!why.empty()) error = std::move(why);
        return nullptr;
    };

    const std::uint64_t size = SizeOfDescriptor(seekable).value_or(0);
    constexpr std::size_t kHead = 1 << 16, kTail = (1 << 16) + 22;  // a zip's comment, and its end record
    std::string head, tail;
    if (!ReadPiece(seekable, 0, kHead, head, error) ||
        !ReadPiece(seekable, size > kTail ? size - kTail : 0, kTail, tail, error))
        return fail({});
    const std::string shown = standard ? std::string("стандартный ввод") : "«" + path + "»";
    std::string why;
    const FileFormat* format = RecognisedFormat(standard ? std::string_view() : path, seekable, head, tail, shown, why);
    if (!format) return fail(why);
    ReadOptions read{
        options.encoding, options.separator, {options.sheet, LooksLikeHeader, NormalizedColumnName, options.stop}};
    if (!format->package) read.numbers = SurveyNumbers(*format, seekable, head, read);
    auto reader = format->open({seekable, owned, head}, read, error);
    if (!reader) return nullptr;
    return std::make_unique<ScheduleInput>(std::move(reader), identity);
}

TableFormat::Kind KindOfPath(const std::string& path) { return OutputFormatOf(path).kind; }

namespace {

class FileOutput : public ScheduleOutput {
public:
    FileOutput(const std::string& path, const OutputOptions& options) : file_(path) {
        if (file_.fd() < 0) return;
        const std::string& written = file_.TemporaryPath().empty() ? path : file_.TemporaryPath();
        writer_ = FormatOfKind(options.kind).make_writer({written, file_.fd(), options.csv});
    }
    bool Opened(std::string& error) const {
        error = file_.error();
        return file_.fd() >= 0;
    }
    TableWriter& Writer() override { return *writer_; }
    bool Commit(std::string& error) override {
        if (!writer_->Finish(error)) return false;
        if (!file_.Commit()) {
            error = file_.error();
            return false;
        }
        return true;
    }

private:
    AtomicOutput file_;
    std::unique_ptr<TableWriter> writer_;
};

class StandardOutput : public ScheduleOutput {
public:
    explicit StandardOutput(const OutputOptions& options) : writer_(MakeCsvFileWriter(STDOUT_FILENO, options.csv)) {}
    TableWriter& Writer() override { return *writer_; }
    bool Commit(std::string& error) override { return writer_->Finish(error); }

private:
    std::unique_ptr<TableWriter> writer_;
};

}  // namespace

std::unique_ptr<ScheduleOutput> ScheduleOutput::Open(const std::string& path, const OutputOptions& options,
                                                     std::string& error) {
    if (path.empty()) {
        if (FormatOfKind(options.kind).package) {
            error = "книгу XLSX или ODS можно записать только в файл (-o ФАЙЛ.xlsx, -o ФАЙЛ.ods)";
            return nullptr;
        }
        return std::make_unique<StandardOutput>(options);
    }
    auto output = std::make_unique<FileOutput>(path, options);
    if (!output->Opened(error)) return nullptr;
    return output;
}

bool ReadingStopped(std::string_view fault) { return fault.ends_with(kStopped); }

}  // namespace kelvo::schedule

#include "cli/schedule_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "cli/xlsx.h"

namespace kelvo::cli {
namespace {

std::string Reason(int error) { return std::strerror(error); }
std::string ReadFault(int error) { return "ошибка чтения входа: " + Reason(error); }

// Reads up to `size` bytes at `offset`; the number read, or -1 with errno.
ssize_t ReadAt(int fd, char* data, std::size_t size, off_t offset) {
    for (;;) {
        const ssize_t got = ::pread(fd, data, size, offset);
        if (got >= 0 || errno != EINTR) return got;
    }
}

// Standard input that cannot be read twice (a pipe) is copied into a temporary file first:
// the encoding and the separator are found by reading ahead.
int Seekable(int fd, std::string& error) {
    if (::lseek(fd, 0, SEEK_CUR) >= 0) return fd;
    std::FILE* copy = std::tmpfile();
    if (!copy) {
        error = "не удается создать временный файл: " + Reason(errno);
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
            error = "не удается записать временный файл: " + Reason(errno);
            ::close(copy_fd);
            return -1;
        }
    }
    ::lseek(copy_fd, 0, SEEK_SET);
    return copy_fd;
}

// Whether the whole file is UTF-8; nothing (and the reason) when it cannot be read.
std::optional<bool> WholeFileIsUtf8(int fd, std::string& error) {
    Utf8Check check;
    std::vector<char> buffer(1 << 16);
    for (off_t offset = 0;;) {
        const ssize_t got = ReadAt(fd, buffer.data(), buffer.size(), offset);
        if (got < 0) {
            error = ReadFault(errno);
            return std::nullopt;
        }
        if (got == 0) return check.Valid();
        check.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        if (check.Failed()) return false;  // one wrong byte settles it
        offset += got;
    }
}

class CsvFileInput : public ScheduleInput {
public:
    CsvFileInput(int fd, bool owned, const TableFormat& format)
        : fd_(fd),
          owned_(owned),
          buffer_(fd),
          stream_(&buffer_),
          reader_(MakeCsvReader(stream_, format)),
          faulting_(*this) {}
    ~CsvFileInput() override {
        if (owned_) ::close(fd_);
    }
    TableReader& Reader() override { return faulting_; }
    void SetIdentity(std::optional<FileIdentity> identity) { identity_ = identity; }

private:
    // The CSV reader, with the read errors of the file as its fault.
    class Faulting : public TableReader {
    public:
        explicit Faulting(CsvFileInput& input) : input_(input) {}
        Result Next(std::vector<std::string_view>& fields) override { return input_.reader_->Next(fields); }
        CsvReader::PassedRecord PassThrough(const std::function<void(std::string_view)>& bytes, std::size_t field,
                                            const std::function<void()>& at_field) override {
            return input_.reader_->PassThrough(bytes, field, at_field);
        }
        std::size_t RecordLine() const override { return input_.reader_->RecordLine(); }
        bool RecordIsUtf8() const override { return input_.reader_->RecordIsUtf8(); }
        std::string_view PlainRecord() const override { return input_.reader_->PlainRecord(); }
        TableFormat Format() const override { return input_.reader_->Format(); }
        std::string Fault() const override {
            return input_.buffer_.error() ? ReadFault(input_.buffer_.error()) : std::string();
        }
        double Progress() const override {
            struct stat status {};
            if (::fstat(input_.fd_, &status) != 0 || status.st_size <= 0) return -1;
            return std::min(1.0, static_cast<double>(input_.buffer_.BytesRead()) / static_cast<double>(status.st_size));
        }

    private:
        CsvFileInput& input_;
    };

    int fd_;
    bool owned_;
    FdReadBuffer buffer_;
    std::istream stream_;
    std::unique_ptr<TableReader> reader_;
    Faulting faulting_;
};

class XlsxFileInput : public ScheduleInput {
public:
    XlsxFileInput(std::unique_ptr<TableReader> reader, std::optional<FileIdentity> identity)
        : reader_(std::move(reader)) {
        identity_ = identity;
    }
    TableReader& Reader() override { return *reader_; }

private:
    std::unique_ptr<TableReader> reader_;
};

}  // namespace

std::unique_ptr<ScheduleInput> ScheduleInput::Open(const std::string& path, const InputOptions& options,
                                                   std::string& error) {
    const bool standard = path.empty() || path == "-";
    int fd = STDIN_FILENO;
    if (!standard) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            error = "не удается открыть «" + path + "»: " + Reason(errno);
            return nullptr;
        }
    } else if (::fcntl(fd, F_GETFD) == -1) {
        error = ReadFault(errno);
        return nullptr;
    }
    const auto identity = IdentityOfDescriptor(fd);
    const int seekable = Seekable(fd, error);
    if (seekable < 0) {
        if (!standard) ::close(fd);
        return nullptr;
    }
    if (seekable != fd && !standard) ::close(fd);
    const bool owned = !standard || seekable != fd;
    const auto close_it = [&] {
        if (owned) ::close(seekable);
    };

    char start[8] = {};
    const ssize_t got = ReadAt(seekable, start, sizeof start, 0);
    if (got < 0) {
        error = ReadFault(errno);
        close_it();
        return nullptr;
    }
    const std::string_view head(start, static_cast<std::size_t>(got));
    if (LooksLikeCompoundFile(head)) {
        error = "это книга старого формата .xls или книга, защищенная паролем: сохраните ее как .xlsx без пароля";
        close_it();
        return nullptr;
    }
    if (LooksLikeZip(head)) {
        const int own = owned ? seekable : ::dup(seekable);
        auto reader = OpenXlsxReader(own, options.sheet, error);
        if (!reader) return nullptr;
        return std::make_unique<XlsxFileInput>(std::move(reader), identity);
    }

    TableFormat format;
    if (options.encoding) {
        format.encoding = *options.encoding;
    } else {
        const auto utf8 = WholeFileIsUtf8(seekable, error);
        if (!utf8) {
            close_it();
            return nullptr;
        }
        format.encoding = *utf8 ? Encoding::Utf8 : Encoding::Cp1251;
    }
    if (options.separator) {
        format.separator = *options.separator;
    } else {
        std::vector<char> first(1 << 16);
        const ssize_t size = ReadAt(seekable, first.data(), first.size(), 0);
        format.separator =
            DetectSeparator(std::string_view(first.data(), static_cast<std::size_t>(std::max<ssize_t>(size, 0))));
    }
    ::lseek(seekable, 0, SEEK_SET);
    auto input = std::make_unique<CsvFileInput>(seekable, owned, format);
    input->SetIdentity(identity);
    return input;
}

TableFormat::Kind KindOfPath(const std::string& path) {
    if (path.size() < 5) return TableFormat::Kind::Csv;
    std::string end = path.substr(path.size() - 5);
    std::transform(end.begin(), end.end(), end.begin(), [](unsigned char c) { return std::tolower(c); });
    return end == ".xlsx" ? TableFormat::Kind::Xlsx : TableFormat::Kind::Csv;
}

namespace {

class FileOutput : public ScheduleOutput {
public:
    FileOutput(const std::string& path, const OutputOptions& options) : file_(path) {
        if (file_.fd() < 0) return;
        if (options.kind == TableFormat::Kind::Xlsx) {
            writer_ = MakeXlsxWriter(file_.TemporaryPath().empty() ? path : file_.TemporaryPath());
        } else {
            buffer_.emplace(file_.fd());
            stream_.emplace(&*buffer_);
            writer_ = MakeCsvWriter(*stream_, options.csv);
        }
    }
    bool Opened(std::string& error) const {
        error = file_.error();
        return file_.fd() >= 0;
    }
    TableWriter& Writer() override { return *writer_; }
    bool Commit(std::string& error) override {
        if (!writer_->Finish(error)) return false;
        if (buffer_ && buffer_->error()) {
            error = Reason(buffer_->error());
            return false;
        }
        if (!file_.Commit()) {
            error = file_.error();
            return false;
        }
        return true;
    }

private:
    AtomicOutput file_;
    std::optional<FdWriteBuffer> buffer_;
    std::optional<std::ostream> stream_;
    std::unique_ptr<TableWriter> writer_;
};

class StandardOutput : public ScheduleOutput {
public:
    explicit StandardOutput(const OutputOptions& options)
        : buffer_(STDOUT_FILENO), stream_(&buffer_), writer_(MakeCsvWriter(stream_, options.csv)) {}
    TableWriter& Writer() override { return *writer_; }
    bool Commit(std::string& error) override {
        if (!writer_->Finish(error) || buffer_.error()) {
            error = Reason(buffer_.error() ? buffer_.error() : EIO);
            return false;
        }
        return true;
    }

private:
    FdWriteBuffer buffer_;
    std::ostream stream_;
    std::unique_ptr<TableWriter> writer_;
};

}  // namespace

std::unique_ptr<ScheduleOutput> ScheduleOutput::Open(const std::string& path, const OutputOptions& options,
                                                     std::string& error) {
    if (path.empty()) {
        if (options.kind == TableFormat::Kind::Xlsx) {
            error = "книгу XLSX можно записать только в файл (-o ФАЙЛ.xlsx)";
            return nullptr;
        }
        return std::make_unique<StandardOutput>(options);
    }
    auto output = std::make_unique<FileOutput>(path, options);
    if (!output->Opened(error)) return nullptr;
    return output;
}

}  // namespace kelvo::cli

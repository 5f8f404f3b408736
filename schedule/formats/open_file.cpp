#include "schedule/formats/open_file.h"

#include "schedule/columns.h"
#include "schedule/formats/utf8.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <sstream>
#include <ostream>

#include "schedule/formats/ods.h"
#include "schedule/formats/xlsx.h"

namespace kelvo::schedule {
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

// A CSV file: the reader over the file's descriptor, with the file's read errors as its fault
// and the share of the file read as its progress.
class CsvFileInput : public ScheduleInput {
public:
    CsvFileInput(int fd, bool owned, const TableFormat& format)
        : fd_(fd),
          owned_(owned),
          buffer_(fd),
          stream_(&buffer_),
          reader_(MakeCsvReader(stream_, format, {[this] { return Fault(); }, [this] { return Progress(); }})) {}
    ~CsvFileInput() override {
        if (owned_) ::close(fd_);
    }
    TableReader& Reader() override { return *reader_; }
    void SetIdentity(std::optional<FileIdentity> identity) { identity_ = identity; }

private:
    std::string Fault() const { return buffer_.error() ? ReadFault(buffer_.error()) : std::string(); }
    double Progress() const {
        struct stat status {};
        if (::fstat(fd_, &status) != 0 || status.st_size <= 0) return -1;
        return std::min(1.0, static_cast<double>(buffer_.BytesRead()) / static_cast<double>(status.st_size));
    }

    int fd_;
    bool owned_;
    FdReadBuffer buffer_;
    std::istream stream_;
    std::unique_ptr<TableReader> reader_;
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

namespace {

bool EndsWith(const std::string& path, std::string_view end) {
    if (path.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[path.size() - end.size() + i])) != end[i]) return false;
    return true;
}

// A zip archive's local header at its start (or anywhere in its first bytes, when the first one
// is damaged), or the end of its directory in its last bytes.
bool HoldsZipSignature(std::string_view head, std::string_view tail) {
    return head.find(std::string_view("PK\x03\x04", 4)) != std::string_view::npos ||
           head.find(std::string_view("PK\x05\x06", 4)) != std::string_view::npos ||
           tail.find(std::string_view("PK\x05\x06", 4)) != std::string_view::npos;
}

// Whether the first bytes can be a table saved as text: no NUL, and hardly any other control
// characters.
bool LooksLikeText(std::string_view head) {
    std::size_t controls = 0;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) return false;
        controls += byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f';
    }
    return controls * 100 <= head.size();
}

// Reads up to `size` bytes from `offset` of a file; false (and the reason) when it cannot.
bool ReadPiece(int fd, off_t offset, std::size_t size, std::string& piece, std::string& error) {
    piece.resize(size);
    const ssize_t got = ReadAt(fd, piece.data(), size, offset);
    if (got < 0) {
        error = ReadFault(errno);
        return false;
    }
    piece.resize(static_cast<std::size_t>(got));
    return true;
}

// The separator with which one of the first records reads as a schedule's header (";" first,
// then a tab, then ","); without one, the separator of the first line.
char SeparatorOfHeader(std::string_view head, Encoding encoding) {
    for (const char separator : {';', '\t', ','}) {
        std::istringstream in{std::string(head)};
        TableFormat format;
        format.encoding = encoding;
        format.separator = separator;
        const auto reader = MakeCsvReader(in, format);
        std::vector<std::string_view> fields;
        for (int record = 0; record < 50 && reader->Next(fields) == TableReader::Result::Record; ++record)
            if (LooksLikeHeader(fields)) return separator;
    }
    return DetectSeparator(head);
}

// The CSV format of an open file: the encoding and separator given, or found from the file.
std::optional<TableFormat> CsvFormatOf(int fd, const InputOptions& options, std::string_view head, std::string& error) {
    TableFormat format;
    if (options.encoding) {
        format.encoding = *options.encoding;
    } else {
        const auto utf8 = WholeFileIsUtf8(fd, error);
        if (!utf8) return std::nullopt;
        format.encoding = *utf8 ? Encoding::Utf8 : Encoding::Cp1251;
    }
    format.separator = options.separator ? *options.separator : SeparatorOfHeader(head, format.encoding);
    return format;
}

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
    if (seekable != fd && !standard) ::close(fd);
    if (seekable < 0) return nullptr;
    const bool owned = !standard || seekable != fd;
    const auto fail = [&](std::string why) -> std::unique_ptr<ScheduleInput> {
        if (owned) ::close(seekable);
        if (!why.empty()) error = std::move(why);
        return nullptr;
    };

    struct stat status {};
    const off_t size = ::fstat(seekable, &status) == 0 ? status.st_size : 0;
    constexpr std::size_t kHead = 1 << 16, kTail = (1 << 16) + 22;  // a zip's comment, and its end record
    std::string head, tail;
    if (!ReadPiece(seekable, 0, kHead, head, error) ||
        !ReadPiece(seekable, std::max<off_t>(0, size - static_cast<off_t>(kTail)), kTail, tail, error))
        return fail({});
    if (LooksLikeCompoundFile(head))
        return fail("это книга старого формата .xls или книга, защищенная паролем: сохраните ее как .xlsx без пароля");
    // A workbook is what is named one or holds a zip archive's marks: read as a workbook (an
    // OpenDocument spreadsheet or an XLSX workbook) or refused as damaged, never read as text.
    const bool named_ods = EndsWith(path, ".ods");
    if (named_ods || EndsWith(path, ".xlsx") || EndsWith(path, ".xlsm") || HoldsZipSignature(head, tail)) {
        const int own = owned ? seekable : ::dup(seekable);
        auto reader = named_ods || IsOdsArchive(own) ? OpenOdsReader(own, options.sheet, LooksLikeHeader, error)
                                                     : OpenXlsxReader(own, options.sheet, LooksLikeHeader, error);
        if (!reader) return nullptr;
        return std::make_unique<XlsxFileInput>(std::move(reader), identity);
    }
    const bool named_text = EndsWith(path, ".csv") || EndsWith(path, ".txt") || EndsWith(path, ".tsv");
    if (!named_text && !LooksLikeText(head))
        return fail((standard ? std::string("стандартный ввод") : "«" + path + "»") +
                    " — не таблица CSV и не книга XLSX или ODS (в нем есть двоичные данные)");
    const auto format = CsvFormatOf(seekable, options, head, error);
    if (!format) return fail({});
    ::lseek(seekable, 0, SEEK_SET);
    auto input = std::make_unique<CsvFileInput>(seekable, owned, *format);
    input->SetIdentity(identity);
    return input;
}

TableFormat::Kind KindOfPath(const std::string& path) {
    if (EndsWith(path, ".xlsx")) return TableFormat::Kind::Xlsx;
    if (EndsWith(path, ".ods")) return TableFormat::Kind::Ods;
    return TableFormat::Kind::Csv;
}

namespace {

class FileOutput : public ScheduleOutput {
public:
    FileOutput(const std::string& path, const OutputOptions& options) : file_(path) {
        if (file_.fd() < 0) return;
        const std::string& written = file_.TemporaryPath().empty() ? path : file_.TemporaryPath();
        if (options.kind == TableFormat::Kind::Xlsx) {
            writer_ = MakeXlsxWriter(written);
        } else if (options.kind == TableFormat::Kind::Ods) {
            writer_ = MakeOdsWriter(written);
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
        const bool finished = writer_->Finish(error);
        if (buffer_ && buffer_->error()) {
            error = "ошибка записи: " + Reason(buffer_->error());  // the system's reason, not the stream's
            return false;
        }
        if (!finished) return false;
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
        const bool finished = writer_->Finish(error);
        if (buffer_.error()) {
            error = "ошибка записи: " + Reason(buffer_.error());
            return false;
        }
        if (!finished) return false;
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
        if (options.kind != TableFormat::Kind::Csv) {
            error = "книгу XLSX или ODS можно записать только в файл (-o ФАЙЛ.xlsx, -o ФАЙЛ.ods)";
            return nullptr;
        }
        return std::make_unique<StandardOutput>(options);
    }
    auto output = std::make_unique<FileOutput>(path, options);
    if (!output->Opened(error)) return nullptr;
    return output;
}

}  // namespace kelvo::schedule

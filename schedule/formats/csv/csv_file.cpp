// CSV files: their encoding and separator found by reading ahead, then read and written straight
// through the descriptor.
#include <algorithm>
#include <sstream>
#include <vector>

#include "schedule/formats/csv/csv_table.h"
#include "schedule/formats/files.h"
#include "schedule/formats/text/utf8.h"

namespace kelvo::schedule {
namespace {

std::string ReadFault(int error) { return "ошибка чтения входа: " + ReasonOf(error); }

// Whether the whole file is UTF-8; nothing (and the reason) when it cannot be read.
std::optional<bool> WholeFileIsUtf8(int fd, std::string& error) {
    Utf8Check check;
    std::vector<char> buffer(1 << 16);
    for (std::uint64_t offset = 0;;) {
        const long long got = ReadAt(fd, buffer.data(), buffer.size(), offset);
        if (got < 0) {
            error = ReadFault(errno);
            return std::nullopt;
        }
        if (got == 0) return check.Valid();
        check.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        if (check.Failed()) return false;  // one wrong byte settles it
        offset += static_cast<std::uint64_t>(got);
    }
}

// The separator with which one of the first records reads as a schedule's header (";" first,
// then a tab, then ","); without one, the separator of the first line.
char SeparatorOfHeader(std::string_view head, Encoding encoding, const HeaderTest& is_header) {
    for (const char separator : {';', '\t', ','}) {
        if (!is_header) break;
        std::istringstream in{std::string(head)};
        TableFormat format;
        format.encoding = encoding;
        format.separator = separator;
        const auto reader = MakeCsvReader(in, format);
        std::vector<std::string_view> fields;
        for (std::size_t record = 0;
             record < kHeaderRowsSearched && reader->Next(fields) == TableReader::Result::Record; ++record)
            if (is_header(fields)) return separator;
    }
    return DetectSeparator(head);
}

// A CSV file: the reader over the file's descriptor, with the file's read errors as its fault
// and the share of the file read as its progress.
class CsvFileReader final : public TableReader {
public:
    CsvFileReader(int fd, bool owned, const TableFormat& format)
        : fd_(fd),
          owned_(owned),
          buffer_(fd),
          stream_(&buffer_),
          reader_(MakeCsvReader(stream_, format, {[this] { return ReadingFault(); }, [this] { return Share(); }})) {}
    ~CsvFileReader() override {
        if (owned_) CloseDescriptor(fd_);
    }
    Result Next(std::vector<std::string_view>& fields) override {
        const Result result = reader_->Next(fields);
        ended_ |= result == Result::End || result == Result::UnclosedQuote;
        return result;
    }
    std::size_t RecordLine() const override { return reader_->RecordLine(); }
    TableFormat Format() const override { return reader_->Format(); }
    std::string Fault() const override { return reader_->Fault(); }
    double Progress() const override { return reader_->Progress(); }
    TextRecords* AsText() override { return reader_->AsText(); }

private:
    std::string ReadingFault() const {
        if (buffer_.error()) return ReadFault(buffer_.error());
        // A file that grew or shrank while it was read gave rows that are not the file's.
        if (ended_ && size_at_open_ &&
            (buffer_.BytesRead() != *size_at_open_ || SizeOfDescriptor(fd_) != size_at_open_))
            return "файл изменился во время чтения: прочитайте его снова, когда его не пишут";
        return {};
    }
    double Share() const {
        const auto size = SizeOfDescriptor(fd_);
        if (!size || *size == 0) return -1;
        return std::min(1.0, static_cast<double>(buffer_.BytesRead()) / static_cast<double>(*size));
    }

    int fd_;
    bool owned_;
    std::optional<std::uint64_t> size_at_open_ = SizeOfDescriptor(fd_);
    bool ended_ = false;
    FdReadBuffer buffer_;
    std::istream stream_;
    std::unique_ptr<TableReader> reader_;
};

// CSV into a descriptor, with the system's reason for a write error.
class CsvFileWriter final : public TableWriter {
public:
    CsvFileWriter(int fd, const CsvOutputChoice& choice)
        : buffer_(fd), stream_(&buffer_), writer_(MakeCsvWriter(stream_, choice)) {}
    void Begin(const TableFormat& input, const TableLayout& layout) override { writer_->Begin(input, layout); }
    void Field(std::string_view field) override { writer_->Field(field); }
    void Fields(std::span<const std::string_view> fields) override { writer_->Fields(fields); }
    void Raw(std::string_view bytes) override { writer_->Raw(bytes); }
    bool CopiesPlainRecords() const override { return writer_->CopiesPlainRecords(); }
    void EndRecord() override { writer_->EndRecord(); }
    bool Finish(std::string& error) override {
        const bool finished = writer_->Finish(error);
        if (buffer_.error()) {
            error = "ошибка записи: " + ReasonOf(buffer_.error());  // the system's reason, not the stream's
            return false;
        }
        return finished;
    }

private:
    FdWriteBuffer buffer_;
    std::ostream stream_;
    std::unique_ptr<TableWriter> writer_;
};

// The file is not read after all: it goes, when it was handed over.
std::unique_ptr<TableReader> Refused(const OpenedFile& file) {
    if (file.owned) CloseDescriptor(file.fd);
    return nullptr;
}

}  // namespace

std::unique_ptr<TableReader> OpenCsvFile(const OpenedFile& file, const ReadOptions& options, std::string& error) {
    TableFormat format;
    if (options.encoding) {
        format.encoding = *options.encoding;
    } else if (const Encoding marked = Utf16ByMark(file.head); marked != Encoding::Utf8) {
        format.encoding = marked;  // Excel's "Unicode text"
    } else if (LooksLikeUtf16WithoutMark(file.head)) {
        error = "это текст в UTF-16 без метки порядка байтов (BOM): сохраните его в UTF-8 или в UTF-16 с меткой";
        return Refused(file);
    } else {
        const auto utf8 = WholeFileIsUtf8(file.fd, error);
        if (!utf8) return Refused(file);
        format.encoding = *utf8 ? Encoding::Utf8 : Encoding::Cp1251;
    }
    format.numbers = options.numbers;
    format.separator =
        options.separator ? *options.separator : SeparatorOfHeader(file.head, format.encoding, options.sheet.is_header);
    if (!RewindDescriptor(file.fd)) {
        error = ReadFault(errno);
        return Refused(file);
    }
    return std::make_unique<CsvFileReader>(file.fd, file.owned, format);
}

std::unique_ptr<TableWriter> MakeCsvFileWriter(int fd, const CsvOutputChoice& choice) {
    return std::make_unique<CsvFileWriter>(fd, choice);
}

}  // namespace kelvo::schedule

// Writing a workbook through libxlsxwriter: one sheet in the library's constant-memory mode, its
// temporary files beside the result, every call's outcome checked, and the finished workbook
// read back before it counts as written, since the library does not check every write of its
// temporary files (a full disk would otherwise give a workbook cut short, taken for complete).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>

#include "schedule/formats/xlsx/library.h"
#include "schedule/formats/xlsx/xlsx.h"
#include "schedule/formats/cells/cell_writer.h"
#include "schedule/formats/package/read_back.h"
#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

// While it lives, standard error goes nowhere: the library prints its own English lines there
// when a call fails, and the program says what failed in its own words.
class QuietStandardError {
public:
    QuietStandardError() {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~QuietStandardError() {
        std::fflush(stderr);
        if (saved_ < 0) return;
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_ = -1;
};

// What a failed call of the library means, with the system's reason when it gave one.
std::string LibraryFault(lxw_error error, int system_error) {
    std::string what;
    switch (error) {
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            what = "не хватает памяти";
            break;
        case LXW_ERROR_CREATING_XLSX_FILE:
            what = "не удается создать файл книги";
            break;
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
            what = "ошибка временного файла книги";
            break;
        default:
            what = "ошибка записи книги (код библиотеки " + std::to_string(static_cast<int>(error)) + ")";
    }
    return system_error != 0 ? what + ": " + std::strerror(system_error) : what;
}

// The folder a path is in.
std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

class XlsxTableWriter final : public CellWriter {
public:
    explicit XlsxTableWriter(std::string path) : CellWriter(4 * kCellCharactersMax), path_(std::move(path)) {}
    ~XlsxTableWriter() override {
        if (workbook_) {
            QuietStandardError quiet;
            lxw_->workbook_close(workbook_);
        }
    }

    bool Finish(std::string& error) override {
        if (workbook_) {
            QuietStandardError quiet;
            errno = 0;
            const lxw_error closed = lxw_->workbook_close(workbook_);
            workbook_ = nullptr;
            if (closed != LXW_NO_ERROR) Fail(LibraryFault(closed, errno));
        }
        struct stat written {};
        if (error_.empty() && ::stat(path_.c_str(), &written) == 0 && S_ISREG(written.st_mode))
            Fail(ReadBack(path_, {"xl/worksheets/sheet1.xml", "row", rows_with_cells_, "записанная книга"}));
        error = error_;
        return error_.empty();
    }

private:
    void Start() override {
        const std::size_t message_column = Layout().message_column;
        const std::size_t header_row = Layout().rows_above_header;
        if (message_column >= LXW_COL_MAX) return Fail("в строке больше столбцов, чем в листе XLSX");
        std::string error;
        lxw_ = XlsxWriterLibrary(error);
        if (!lxw_) return Fail(std::move(error));
        // The library's temporary files go beside the result, on the disk the result goes to,
        // not into the system's temporary folder.
        folder_ = FolderOf(path_);
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = folder_.data();
        options.use_zip64 = LXW_TRUE;
        QuietStandardError quiet;
        errno = 0;
        workbook_ = lxw_->workbook_new_opt(path_.c_str(), &options);
        if (!workbook_) return Fail(LibraryFault(LXW_ERROR_MEMORY_MALLOC_FAILED, errno));
        sheet_ = lxw_->workbook_add_worksheet(workbook_, "Результат");
        bold_ = lxw_->workbook_add_format(workbook_);
        date_ = lxw_->workbook_add_format(workbook_);
        date_time_ = lxw_->workbook_add_format(workbook_);
        if (!sheet_ || !bold_ || !date_ || !date_time_) return Fail(LibraryFault(LXW_ERROR_CREATING_TMPFILE, errno));
        lxw_->format_set_bold(bold_);
        lxw_->format_set_num_format(date_, "dd.mm.yyyy");
        lxw_->format_set_num_format(date_time_, "dd.mm.yyyy hh:mm");
        // One range per column width: spreadsheets keep only the first of overlapping ranges.
        if (message_column > 0) Check(lxw_->worksheet_set_column(sheet_, 0, Column(message_column - 1), 14, nullptr));
        Check(lxw_->worksheet_set_column(sheet_, Column(message_column), Column(message_column), 60, nullptr));
        lxw_->worksheet_freeze_panes(sheet_, static_cast<lxw_row_t>(header_row + 1), 0);
    }
    void EndRow() override {
        rows_with_cells_ += row_has_cells_;
        row_has_cells_ = false;
        column_ = 0;
        if (Row() + 1 >= LXW_ROW_MAX) Fail("в листе XLSX не больше 1 048 576 строк");
    }
    static lxw_col_t Column(std::size_t column) { return static_cast<lxw_col_t>(column); }
    void Fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
    }
    void Check(lxw_error error) {
        if (error != LXW_NO_ERROR) Fail(LibraryFault(error, 0));
    }
    void Cell(std::string_view field) override {
        if (!sheet_ || !error_.empty()) return;
        const auto row = static_cast<lxw_row_t>(Row());
        const auto column = Column(column_++);
        if (column_ > LXW_COL_MAX) return Fail("в строке больше столбцов, чем в листе XLSX");
        if (field.empty()) return;
        row_has_cells_ = true;
        const ResultCell cell = ResultOf(field, column);
        if (cell.kind == ResultCell::Kind::Number)
            return Check(lxw_->worksheet_write_number(sheet_, row, column, cell.number, nullptr));
        if (cell.kind == ResultCell::Kind::Date) {
            const ShownDateParts& date = cell.date;
            lxw_datetime when{date.year, date.month,  date.day,
                              date.hour, date.minute, static_cast<double>(date.second)};
            return Check(
                lxw_->worksheet_write_datetime(sheet_, row, column, &when, date.has_time ? date_time_ : date_));
        }
        EncodeCellText(field, text_);
        Check(lxw_->worksheet_write_string(sheet_, row, column, text_.c_str(), IsHeaderRow() ? bold_ : nullptr));
    }

    std::string path_, folder_;
    const XlsxWriterCalls* lxw_ = nullptr;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format *bold_ = nullptr, *date_ = nullptr, *date_time_ = nullptr;
    std::size_t column_ = 0;
    std::uint64_t rows_with_cells_ = 0;
    bool row_has_cells_ = false;
    std::string text_, error_;
};

}  // namespace

std::unique_ptr<TableWriter> MakeXlsxWriter(const std::string& path) { return std::make_unique<XlsxTableWriter>(path); }

}  // namespace kelvo::schedule

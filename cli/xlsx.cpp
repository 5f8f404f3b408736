#include "cli/xlsx.h"

#include <dlfcn.h>
#include <expat.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <minizip/unzip.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <utility>
#include <type_traits>
#include <optional>

#include "core/number_text.h"

namespace kelvo::cli {
namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::size_t kCellMax = 32767;  // the most text a cell holds

// Opens an entry of the archive for reading (only one is open at a time).
bool OpenEntry(unzFile archive, const std::string& name) {
    return unzLocateFile(archive, name.c_str(), 1) == UNZ_OK && unzOpenCurrentFile(archive) == UNZ_OK;
}

// An entry of the archive read whole (the small parts: workbook, relations, shared strings).
bool ReadEntry(unzFile archive, const std::string& name, std::string& text) {
    if (!OpenEntry(archive, name)) return false;
    text.clear();
    char buffer[kChunk];
    for (;;) {
        const int got = unzReadCurrentFile(archive, buffer, sizeof buffer);
        if (got < 0) {
            unzCloseCurrentFile(archive);
            return false;
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    // A damaged entry shows as a wrong checksum at its end.
    return unzCloseCurrentFile(archive) == UNZ_OK;
}

std::string_view LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

const char* Attribute(const char** attributes, std::string_view wanted) {
    for (int i = 0; attributes[i]; i += 2)
        if (LocalName(attributes[i]) == wanted) return attributes[i + 1];
    return nullptr;
}

// Parses a whole small XML part, calling `start` for every element (local name, attributes),
// `text` with character data and `end` at every element's end.
struct XmlHandlers {
    std::function<void(std::string_view, const char**)> start;
    std::function<void(std::string_view)> end;
    std::function<void(std::string_view)> text;
};

extern "C" void OnStart(void* data, const char* name, const char** attributes) {
    auto* h = static_cast<XmlHandlers*>(data);
    if (h->start) h->start(LocalName(name), attributes);
}
extern "C" void OnEnd(void* data, const char* name) {
    auto* h = static_cast<XmlHandlers*>(data);
    if (h->end) h->end(LocalName(name));
}
extern "C" void OnText(void* data, const char* text, int length) {
    auto* h = static_cast<XmlHandlers*>(data);
    if (h->text) h->text(std::string_view(text, static_cast<std::size_t>(length)));
}

XML_Parser MakeParser(XmlHandlers& handlers) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &handlers);
    XML_SetElementHandler(parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser, OnText);
    return parser;
}

bool ParseWhole(const std::string& xml, XmlHandlers handlers) {
    XML_Parser parser = MakeParser(handlers);
    const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

// "BC12" → column 54 (from 0); -1 when the reference has no letters.
long ColumnOf(const char* reference) {
    long column = 0;
    bool any = false;
    for (; *reference >= 'A' && *reference <= 'Z'; ++reference) {
        column = column * 26 + (*reference - 'A' + 1);
        any = true;
        if (column > 16384) return -1;
    }
    return any ? column - 1 : -1;
}

constexpr const char* kDamaged = "файл XLSX поврежден";

class XlsxTableReader : public TableReader {
public:
    // `archive` has the sheet's entry open.
    XlsxTableReader(unzFile archive, std::vector<std::string> shared) : archive_(archive), shared_(std::move(shared)) {
        handlers_.start = [this](std::string_view name, const char** attributes) { Start(name, attributes); };
        handlers_.end = [this](std::string_view name) { End(name); };
        handlers_.text = [this](std::string_view text) {
            if (in_value_) value_ += text;
        };
        parser_ = MakeParser(handlers_);
    }
    ~XlsxTableReader() override {
        XML_ParserFree(parser_);
        unzCloseCurrentFile(archive_);
        unzClose(archive_);
    }

    Result Next(std::vector<std::string_view>& fields) override {
        while (ready_.empty() && !done_) ParseChunk();
        fields.clear();
        if (ready_.empty()) return Result::End;
        current_ = std::move(ready_.front());
        ready_.pop_front();
        for (const std::string& cell : current_) fields.emplace_back(cell);
        ++line_;
        return Result::Record;
    }
    CsvReader::PassedRecord PassThrough(const std::function<void(std::string_view)>&, std::size_t,
                                        const std::function<void()>&) override {
        return {};
    }
    std::size_t RecordLine() const override { return line_; }
    TableFormat Format() const override { return {TableFormat::Kind::Xlsx}; }
    std::string Fault() const override { return fault_; }
    double Progress() const override {
        return size_ > 0 ? std::min(1.0, static_cast<double>(read_) / static_cast<double>(size_)) : -1;
    }
    void SetSize(std::uint64_t size) { size_ = size; }

private:
    void ParseChunk() {
        char buffer[kChunk];
        const int got = unzReadCurrentFile(archive_, buffer, sizeof buffer);
        if (got > 0) read_ += static_cast<std::uint64_t>(got);
        if (got < 0) return Fail(std::string(kDamaged) + ": лист не читается");
        if (got == 0 && unzCloseCurrentFile(archive_) == UNZ_CRCERROR)
            return Fail(std::string(kDamaged) + ": контрольная сумма листа не сходится");
        if (XML_Parse(parser_, buffer, static_cast<int>(got), got == 0) != XML_STATUS_OK)
            return Fail(std::string(kDamaged) + ": ошибка XML в строке " +
                        std::to_string(XML_GetCurrentLineNumber(parser_)) + " листа");
        if (got == 0) done_ = true;
    }
    void Fail(std::string fault) {
        fault_ = std::move(fault);
        done_ = true;
    }

    void Start(std::string_view name, const char** attributes) {
        if (name == "row") {
            // Rows the sheet leaves out (empty rows) come as empty rows.
            const char* r = Attribute(attributes, "r");
            const long number = r ? std::strtol(r, nullptr, 10) : rows_ + 1;
            while (rows_ + 1 < number) {
                ready_.emplace_back();
                ++rows_;
            }
            ++rows_;
            row_.clear();
            next_column_ = 0;
        } else if (name == "c") {
            const char* r = Attribute(attributes, "r");
            const long column = r ? ColumnOf(r) : -1;
            column_ = column >= 0 ? static_cast<std::size_t>(column) : next_column_;
            const char* t = Attribute(attributes, "t");
            type_ = t ? t : "n";
            value_.clear();
        } else if (name == "v" || (name == "t" && type_ == "inlineStr")) {
            in_value_ = true;
        }
    }
    void End(std::string_view name) {
        if (name == "v" || name == "t") {
            in_value_ = false;
        } else if (name == "c") {
            if (row_.size() <= column_) row_.resize(column_ + 1);
            row_[column_] = CellText();
            next_column_ = column_ + 1;
        } else if (name == "row") {
            ready_.push_back(std::move(row_));
            row_ = {};
        }
    }
    // A cell's text as a spreadsheet shows it.
    std::string CellText() const {
        if (type_ == "s") {
            const unsigned long index = std::strtoul(value_.c_str(), nullptr, 10);
            return index < shared_.size() ? shared_[index] : std::string();
        }
        if (type_ == "b") return value_ == "1" ? "ИСТИНА" : "ЛОЖЬ";
        if (type_ == "n" && !value_.empty()) {
            char* end = nullptr;
            const double number = std::strtod(value_.c_str(), &end);
            if (end && *end == '\0') return WriteNumber(number);
        }
        return value_;  // inline and formula strings, errors
    }

    unzFile archive_;
    std::vector<std::string> shared_;
    XmlHandlers handlers_;
    XML_Parser parser_ = nullptr;
    std::deque<std::vector<std::string>> ready_;  // rows parsed and not yet handed over
    std::vector<std::string> current_;
    std::vector<std::string> row_;
    std::size_t column_ = 0, next_column_ = 0;
    std::string type_, value_;
    bool in_value_ = false;
    long rows_ = 0;
    std::size_t line_ = 0;
    std::uint64_t read_ = 0, size_ = 0;  // of the sheet's part, unpacked
    bool done_ = false;
    std::string fault_;
};

// The sheets of the workbook in order, each with the path of its part in the archive.
bool SheetsOf(unzFile archive, std::vector<std::pair<std::string, std::string>>& sheets) {
    std::string workbook, relations;
    if (!ReadEntry(archive, "xl/workbook.xml", workbook) ||
        !ReadEntry(archive, "xl/_rels/workbook.xml.rels", relations))
        return false;
    std::map<std::string, std::string> targets;
    XmlHandlers read_relations;
    read_relations.start = [&](std::string_view name, const char** attributes) {
        if (name != "Relationship") return;
        const char* id = Attribute(attributes, "Id");
        const char* target = Attribute(attributes, "Target");
        if (!id || !target) return;
        std::string path = target;
        path = path.starts_with("/") ? path.substr(1) : "xl/" + path;
        targets[id] = path;
    };
    if (!ParseWhole(relations, read_relations)) return false;
    XmlHandlers read_workbook;
    read_workbook.start = [&](std::string_view name, const char** attributes) {
        if (name != "sheet") return;
        const char* sheet_name = Attribute(attributes, "name");
        const char* id = Attribute(attributes, "id");
        if (sheet_name && id && targets.count(id)) sheets.emplace_back(sheet_name, targets[id]);
    };
    return ParseWhole(workbook, read_workbook);
}

bool SharedStrings(unzFile archive, std::vector<std::string>& shared) {
    std::string xml;
    if (!ReadEntry(archive, "xl/sharedStrings.xml", xml)) return true;  // a workbook without any
    bool in_item = false, in_text = false, in_phonetic = false;
    XmlHandlers handlers;
    handlers.start = [&](std::string_view name, const char**) {
        if (name == "si")
            in_item = true, shared.emplace_back();
        else if (name == "rPh")
            in_phonetic = true;
        else if (name == "t" && in_item && !in_phonetic)
            in_text = true;
    };
    handlers.end = [&](std::string_view name) {
        if (name == "si")
            in_item = false;
        else if (name == "rPh")
            in_phonetic = false;
        else if (name == "t")
            in_text = false;
    };
    handlers.text = [&](std::string_view text) {
        if (in_text) shared.back() += text;
    };
    return ParseWhole(xml, handlers);
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

}  // namespace

bool LooksLikeZip(std::string_view start) { return start.starts_with(std::string_view("PK\x03\x04", 4)); }

bool LooksLikeCompoundFile(std::string_view start) {
    return start.starts_with(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

std::unique_ptr<TableReader> OpenXlsxReader(int fd, const std::string& sheet, std::string& error) {
    // The archive is opened through the descriptor's own name, which also names a file that has
    // no other (a copy of standard input).
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    unzFile archive = unzOpen64(path.c_str());
    ::close(fd);  // the archive holds a descriptor of its own
    if (!archive) {
        error = std::string(kDamaged) + ": архив книги не читается";
        return nullptr;
    }
    std::vector<std::pair<std::string, std::string>> sheets;
    std::vector<std::string> shared;
    if (!SheetsOf(archive, sheets) || sheets.empty() || !SharedStrings(archive, shared)) {
        unzClose(archive);
        error = std::string(kDamaged) + ": нет книги или листов";
        return nullptr;
    }
    auto chosen = sheets.begin();
    if (!sheet.empty()) {
        while (chosen != sheets.end() && chosen->first != sheet) ++chosen;
        if (chosen == sheets.end()) {
            error = "в книге нет листа " + Quoted(sheet) + "; листы:";
            for (const auto& [name, part] : sheets) error += " " + Quoted(name);
            unzClose(archive);
            return nullptr;
        }
    }
    unz_file_info64 info{};
    if (!OpenEntry(archive, chosen->second) ||
        unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        error = std::string(kDamaged) + ": нет листа " + Quoted(chosen->first);
        unzClose(archive);
        return nullptr;
    }
    auto reader = std::make_unique<XlsxTableReader>(archive, std::move(shared));
    reader->SetSize(info.uncompressed_size);
    return reader;
}

namespace {

// libxlsxwriter brings the system's cryptography library with it, which takes a millisecond or
// two to load at every start of a program linked to it. So it is loaded the first time a
// workbook is written, and its calls are taken from it then.
struct XlsxWriterCalls {
    decltype(&::workbook_new_opt) workbook_new_opt = nullptr;
    decltype(&::workbook_add_worksheet) workbook_add_worksheet = nullptr;
    decltype(&::workbook_add_format) workbook_add_format = nullptr;
    decltype(&::workbook_close) workbook_close = nullptr;
    decltype(&::format_set_bold) format_set_bold = nullptr;
    decltype(&::worksheet_set_column) worksheet_set_column = nullptr;
    decltype(&::worksheet_freeze_panes) worksheet_freeze_panes = nullptr;
    decltype(&::worksheet_write_string) worksheet_write_string = nullptr;
    decltype(&::worksheet_write_number) worksheet_write_number = nullptr;
    decltype(&::lxw_strerror) lxw_strerror = nullptr;
};

// The calls, or nothing (and the reason in `error`) when the library cannot be loaded.
const XlsxWriterCalls* XlsxWriterLibrary(std::string& error) {
    static const auto loaded = [] {
        std::pair<std::optional<XlsxWriterCalls>, std::string> result;
        void* library = dlopen(KELVO_XLSXWRITER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* reason = dlerror();
            result.second = reason ? reason : KELVO_XLSXWRITER_LIBRARY;
            return result;
        }
        XlsxWriterCalls calls;
        bool complete = true;
        const auto take = [&](auto& call, const char* name) {
            call = reinterpret_cast<std::remove_reference_t<decltype(call)>>(dlsym(library, name));
            complete = complete && call != nullptr;
        };
        take(calls.workbook_new_opt, "workbook_new_opt");
        take(calls.workbook_add_worksheet, "workbook_add_worksheet");
        take(calls.workbook_add_format, "workbook_add_format");
        take(calls.workbook_close, "workbook_close");
        take(calls.format_set_bold, "format_set_bold");
        take(calls.worksheet_set_column, "worksheet_set_column");
        take(calls.worksheet_freeze_panes, "worksheet_freeze_panes");
        take(calls.worksheet_write_string, "worksheet_write_string");
        take(calls.worksheet_write_number, "worksheet_write_number");
        take(calls.lxw_strerror, "lxw_strerror");
        if (complete)
            result.first = calls;
        else
            result.second = std::string(KELVO_XLSXWRITER_LIBRARY) + " без нужных функций";
        return result;
    }();
    if (!loaded.first) {
        error = "не удается загрузить библиотеку записи XLSX: " + loaded.second;
        return nullptr;
    }
    return &*loaded.first;
}

class XlsxTableWriter : public TableWriter {
public:
    explicit XlsxTableWriter(std::string path) : path_(std::move(path)) {}
    ~XlsxTableWriter() override {
        if (workbook_) lxw_->workbook_close(workbook_);
    }

    void Begin(const TableFormat& input, std::size_t message_column) override {
        separator_ = input.separator;
        std::string error;
        lxw_ = XlsxWriterLibrary(error);
        if (!lxw_) return Fail(std::move(error));
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        workbook_ = lxw_->workbook_new_opt(path_.c_str(), &options);
        if (!workbook_) return Fail("не удается создать книгу");
        sheet_ = lxw_->workbook_add_worksheet(workbook_, "Результат");
        bold_ = lxw_->workbook_add_format(workbook_);
        lxw_->format_set_bold(bold_);
        message_column_ = message_column;
        lxw_->worksheet_set_column(sheet_, 0, static_cast<lxw_col_t>(message_column), 14, nullptr);
        lxw_->worksheet_set_column(sheet_, static_cast<lxw_col_t>(message_column),
                                   static_cast<lxw_col_t>(message_column), 60, nullptr);
        lxw_->worksheet_freeze_panes(sheet_, 1, 0);
    }
    void Field(std::string_view field) override {
        if (in_raw_) EndRawField();
        resumed_ = true;
        WriteCell(field);
    }
    void WriteCell(std::string_view field) {
        if (!sheet_ || !error_.empty()) return;
        const auto row = static_cast<lxw_row_t>(row_);
        const auto column = static_cast<lxw_col_t>(column_++);
        if (column_ > LXW_COL_MAX) return Fail("в строке больше столбцов, чем в листе XLSX");
        if (field.empty()) return;
        text_.assign(field);
        if (text_.size() > kCellMax) text_.resize(kCellMax);
        if (row == 0) {
            lxw_->worksheet_write_string(sheet_, row, column, text_.c_str(), bold_);
            return;
        }
        if (column_ - 1 != message_column_) {
            // A number as the program writes numbers is stored as a number; anything else
            // ("007", "2.5") stays the text it is.
            const auto number = ReadNumber(text_);
            if (number && WriteNumber(*number) == text_) {
                lxw_->worksheet_write_number(sheet_, row, column, *number, nullptr);
                return;
            }
        }
        lxw_->worksheet_write_string(sheet_, row, column, text_.c_str(), nullptr);
    }
    void Raw(std::string_view bytes) override {
        // A CSV row over the length limit: its fields, cut where a cell is full, each in its cell.
        for (const char c : bytes) {
            // Bytes that go on after the result columns begin with the separator of a field
            // beyond the header's width.
            if (resumed_) {
                resumed_ = false;
                if (c == separator_) continue;
            }
            if (c == '"') {
                raw_quoted_ = !raw_quoted_;
            } else if (c == separator_ && !raw_quoted_) {
                EndRawField();
            } else if (raw_.size() < kCellMax) {
                raw_ += c;
            }
        }
        in_raw_ = true;
    }
    void EndRecord() override {
        if (in_raw_) EndRawField();
        resumed_ = false;
        column_ = 0;
        if (++row_ >= LXW_ROW_MAX) Fail("в листе XLSX не больше 1 048 576 строк");
    }
    bool Finish(std::string& error) override {
        if (workbook_) {
            const lxw_error closed = lxw_->workbook_close(workbook_);
            workbook_ = nullptr;
            if (closed != LXW_NO_ERROR && error_.empty()) error_ = lxw_->lxw_strerror(closed);
        }
        error = error_;
        return error_.empty();
    }

private:
    void Fail(std::string reason) {
        if (error_.empty()) error_ = std::move(reason);
    }
    void EndRawField() {
        in_raw_ = false;
        raw_quoted_ = false;
        WriteCell(raw_);
        raw_.clear();
    }

    std::string path_;
    char separator_ = ';';
    bool in_raw_ = false, raw_quoted_ = false, resumed_ = false;
    const XlsxWriterCalls* lxw_ = nullptr;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    std::size_t message_column_ = 0;
    std::size_t row_ = 0, column_ = 0;
    std::string text_, raw_, error_;
};

}  // namespace

std::unique_ptr<TableWriter> MakeXlsxWriter(const std::string& path) { return std::make_unique<XlsxTableWriter>(path); }

}  // namespace kelvo::cli

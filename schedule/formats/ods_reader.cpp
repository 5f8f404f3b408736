// Reading an OpenDocument spreadsheet: the document's content part, one sheet of it a row at a
// time (the parser is suspended at the end of every row that holds something).
#include <unistd.h>

#include <cstdlib>
#include <set>

#include "schedule/columns.h"
#include "schedule/formats/number_formats.h"
#include "schedule/formats/ods.h"
#include "schedule/formats/xlsx_text.h"
#include "schedule/formats/zip_part.h"
#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

constexpr const char* kDamaged = "файл ODS поврежден";
constexpr const char* kContent = "content.xml";

// An open document: its archive, closed with it.
struct Document {
    Archive archive;
    ~Document() {
        if (archive.zip) unzClose(archive.zip);
        if (archive.fd >= 0) ::close(archive.fd);
    }
};

std::uint64_t Count(const char* text, std::uint64_t otherwise) {
    if (!text) return otherwise;
    const unsigned long long value = std::strtoull(text, nullptr, 10);
    return value == 0 ? otherwise : value;
}

// A time as OpenDocument writes it ("PT08H30M00S") as shown ("08:30").
std::string ShownDuration(std::string_view iso) {
    int hours = 0, minutes = 0, seconds = 0;
    const std::string text(iso.substr(0, 40));
    if (std::sscanf(text.c_str(), "PT%dH%dM%dS", &hours, &minutes, &seconds) < 2) return std::string(iso);
    const double serial = (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
    return ShownDate(serial, false, true);
}

// One sheet of the content part: the sheet is the `wanted`-th (from 0) or the one named so.
class SheetReader : public TableReader, private XmlEvents {
public:
    SheetReader(std::shared_ptr<Document> document, std::size_t wanted, std::string name)
        : document_(std::move(document)),
          part_(document_->archive),
          stream_(*this),
          wanted_(wanted),
          wanted_name_(std::move(name)) {}

    // Parses until the wanted sheet's first row: false when the content part has no such sheet.
    bool Find() {
        if (part_.Open(kContent) != PartOpened::Open) {
            fault_ = std::string(kDamaged) + ": нет части «content.xml»";
            return false;
        }
        while (!active_ && !done_) ParseMore();
        return active_;
    }
    bool Hidden() const { return hidden_; }
    const std::string& Name() const { return name_; }
    const std::vector<std::string>& Names() const { return names_; }

    Result Next(std::vector<std::string_view>& fields) override {
        fields.clear();
        for (;;) {
            if (gap_ > 0) {
                --gap_;
                ++line_;
                shown_.clear();
                return Result::Record;
            }
            if (repeat_ > 0) {
                --repeat_;
                HandOver(fields);
                ++line_;
                return Result::Record;
            }
            if (done_) return Result::End;
            ParseMore();
        }
    }
    std::size_t RecordLine() const override { return line_; }
    TableFormat Format() const override { return {TableFormat::Kind::Ods}; }
    std::string Fault() const override { return fault_; }
    std::span<const CellShown> Shown() const override { return shown_; }
    double Progress() const override {
        return part_.Size() > 0 ? std::min(1.0, static_cast<double>(read_) / static_cast<double>(part_.Size())) : -1;
    }

private:
    struct Cell {
        std::size_t column, offset, size;
        CellShown shown;
    };

    void ParseMore() {
        std::string fault;
        if (ParseOpenPart(part_, stream_, read_, fault)) {
            done_ = true;
        } else if (!stream_.Suspended()) {
            fault_ = std::string(kDamaged) + ": " + fault;
            done_ = true;
            repeat_ = gap_ = 0;
        }
    }
    void HandOver(std::vector<std::string_view>& fields) {
        shown_.clear();
        for (const Cell& cell : cells_) {
            if (fields.size() < cell.column) fields.resize(cell.column), shown_.resize(cell.column);
            fields.push_back(std::string_view(row_text_).substr(cell.offset, cell.size));
            shown_.push_back(cell.shown);
        }
    }

    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view name) override;
    void Text(std::string_view text) override {
        if (in_paragraph_) AddText(text);
    }
    void AddText(std::string_view text) {
        if (value_.size() + text.size() > 4 * kCellCharactersMax) return CellTooLong();
        value_ += text;
    }
    void StartTable(const char** attributes);
    void StartRow(const char** attributes);
    void StartCell(const char** attributes, bool covered);
    void EndCell();
    void EndRow();
    void CellTooLong() { stream_.Fail("в ячейке " + CellReference(column_, rows_ + 1) + " больше 32 767 знаков"); }

    std::shared_ptr<Document> document_;
    ZipPart part_;
    XmlStream stream_;
    std::size_t wanted_;
    std::string wanted_name_, name_;
    std::vector<std::string> names_;       // of the sheets passed
    std::set<std::string> hidden_styles_;  // table styles that hide their sheet
    std::string table_style_;
    std::size_t tables_ = 0;
    bool active_ = false, hidden_ = false, done_ = false;
    // The row being read.
    std::vector<Cell> cells_;
    std::vector<CellShown> shown_;
    std::string row_text_, value_, type_, number_, error_kind_;
    std::uint64_t row_repeat_ = 1, cell_repeat_ = 1, rows_ = 0, gap_ = 0, gap_pending_ = 0, repeat_ = 0;
    std::size_t column_ = 0, line_ = 0, row_bytes_ = 0;
    bool in_cell_ = false, in_paragraph_ = false, formula_ = false, paragraphs_ = false;
    int annotation_ = 0;
    std::uint64_t read_ = 0;
    std::string fault_;
};

void SheetReader::Start(std::string_view name, const char** attributes) {
    if (name == "style") {
        const char* style = Attribute(attributes, "name");
        table_style_ = style ? style : "";
    } else if (name == "table-properties") {
        const char* display = Attribute(attributes, "display");
        if (display && std::string_view(display) == "false") {
            if (hidden_styles_.size() >= 10000) return stream_.Fail("стилей листов больше 10 000");
            hidden_styles_.insert(table_style_);
        }
    } else if (name == "table") {
        StartTable(attributes);
    } else if (!active_) {
        return;
    } else if (name == "table-row") {
        StartRow(attributes);
    } else if (name == "table-cell" || name == "covered-table-cell") {
        StartCell(attributes, name == "covered-table-cell");
    } else if (name == "annotation") {
        ++annotation_;
    } else if (in_cell_ && annotation_ == 0) {
        if (name == "p" || name == "h") {
            if (paragraphs_) AddText("\n");
            paragraphs_ = in_paragraph_ = true;
        } else if (name == "s" && in_paragraph_) {
            const std::uint64_t spaces = Count(Attribute(attributes, "c"), 1);
            if (spaces > 4 * kCellCharactersMax) return CellTooLong();
            AddText(std::string(static_cast<std::size_t>(spaces), ' '));
        } else if (name == "tab" && in_paragraph_) {
            AddText("\t");
        } else if (name == "line-break" && in_paragraph_) {
            AddText("\n");
        }
    }
}

void SheetReader::End(std::string_view name) {
    if (name == "table") {
        if (active_) {
            active_ = false;
            done_ = true;
            stream_.Suspend();
        }
    } else if (!active_) {
        return;
    } else if (name == "annotation") {
        --annotation_;
    } else if ((name == "p" || name == "h") && annotation_ == 0) {
        in_paragraph_ = false;
    } else if (name == "table-cell" || name == "covered-table-cell") {
        EndCell();
    } else if (name == "table-row") {
        EndRow();
    }
}

void SheetReader::StartTable(const char** attributes) {
    const char* name = Attribute(attributes, "name");
    const char* style = Attribute(attributes, "style-name");
    const std::string table_name = name ? name : "";
    if (names_.size() < 10000) names_.push_back(table_name);
    const bool wanted = wanted_name_.empty() ? tables_ == wanted_
                                             : NormalizedColumnName(table_name) == NormalizedColumnName(wanted_name_);
    ++tables_;
    if (!wanted || active_) return;
    active_ = true;
    name_ = table_name;
    hidden_ = style && hidden_styles_.count(style);
    stream_.Suspend();  // Find() stops here
}

void SheetReader::StartRow(const char** attributes) {
    row_repeat_ = Count(Attribute(attributes, "number-rows-repeated"), 1);
    cells_.clear();
    row_text_.clear();
    row_bytes_ = 0;
    column_ = 0;
}

void SheetReader::StartCell(const char** attributes, bool covered) {
    in_cell_ = true;
    paragraphs_ = in_paragraph_ = false;
    value_.clear();
    cell_repeat_ = Count(Attribute(attributes, "number-columns-repeated"), 1);
    const char* type = covered ? nullptr : Attribute(attributes, "value-type");
    type_ = type ? type : "";
    const char* calc_type = Attribute(attributes, "value-type");
    for (int i = 0; attributes[i]; i += 2)  // LibreOffice marks an error in its own attribute
        if (std::string_view(attributes[i]).ends_with("calcext:value-type")) calc_type = attributes[i + 1];
    error_kind_ = calc_type && std::string_view(calc_type) == "error" ? "error" : "";
    formula_ = !covered && Attribute(attributes, "formula") != nullptr;
    const char* value = nullptr;
    if (type_ == "float" || type_ == "percentage" || type_ == "currency") value = Attribute(attributes, "value");
    if (type_ == "date") value = Attribute(attributes, "date-value");
    if (type_ == "time") value = Attribute(attributes, "time-value");
    if (type_ == "boolean") value = Attribute(attributes, "boolean-value");
    number_ = value ? value : "";
}

void SheetReader::EndCell() {
    in_cell_ = false;
    Cell cell{column_, row_text_.size(), 0, CellShown::Value};
    if (!error_kind_.empty()) {
        cell.shown = CellShown::Error;
        row_text_ += value_;
    } else if (type_ == "float" || type_ == "currency" || type_ == "percentage") {
        char* end = nullptr;
        const double number = std::strtod(number_.c_str(), &end);
        // A percent as the number shown, without its sign: 2,5 for 0,025 shown as 2,5 %.
        const bool percent = type_ == "percentage";
        row_text_ += end && *end == '\0' && !number_.empty() ? WriteNumber(percent ? number * 100 : number) : value_;
        if (percent) cell.shown = CellShown::Percent;
    } else if (type_ == "date" || type_ == "time") {
        cell.shown = CellShown::Date;
        row_text_ += type_ == "date" ? ShownIsoDate(number_) : ShownDuration(number_);
    } else if (type_ == "boolean") {
        row_text_ += number_ == "true" ? "ИСТИНА" : "ЛОЖЬ";
    } else if (type_.empty() && formula_) {
        cell.shown = CellShown::FormulaWithoutValue;
    } else {
        if (CountCharacters(value_) > kCellCharactersMax) return CellTooLong();
        row_text_ += value_;
    }
    cell.size = row_text_.size() - cell.offset;
    const bool empty = cell.size == 0 && cell.shown == CellShown::Value;
    if (!empty && column_ + cell_repeat_ > kSheetColumnsMax)
        return stream_.Fail("в строке " + std::to_string(rows_ + 1) + " больше 16 384 ячеек");
    for (std::uint64_t i = 0; !empty && i < cell_repeat_; ++i) {
        cells_.push_back({column_ + i, cell.offset, cell.size, cell.shown});
        row_bytes_ += cell.size;
        if (row_bytes_ > kSheetRowBytesMax)
            return stream_.Fail("в строке " + std::to_string(rows_ + 1) + " больше 16 МиБ текста");
    }
    // Empty cells are counted, not made: the trailing empty area of a row costs nothing.
    column_ += static_cast<std::size_t>(std::min<std::uint64_t>(cell_repeat_, kSheetColumnsMax + 1));
}

void SheetReader::EndRow() {
    if (rows_ + row_repeat_ > kSheetRowsMax && !cells_.empty()) return stream_.Fail("строк в листе больше 1 048 576");
    if (cells_.empty()) {
        // Empty rows are counted; they come out only when a row that holds something follows.
        gap_pending_ = std::min<std::uint64_t>(gap_pending_ + row_repeat_, kSheetRowsMax);
        rows_ = std::min<std::uint64_t>(rows_ + row_repeat_, kSheetRowsMax);
        return;
    }
    gap_ = gap_pending_;
    gap_pending_ = 0;
    repeat_ = row_repeat_;
    rows_ += row_repeat_;
    stream_.Suspend();
}

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

std::string NamesOf(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list.append(" ").append(Quoted(name));
    return list;
}

// Whether the sheet has a schedule's header among its first 50 rows.
bool HasHeader(SheetReader& reader, const HeaderTest& is_header) {
    std::vector<std::string_view> fields;
    for (int row = 0; row < 50; ++row) {
        if (reader.Next(fields) != TableReader::Result::Record) return false;
        if (is_header(fields)) return true;
    }
    return false;
}

// The sheet named, else the first visible sheet with a header: its reader, found; nothing and the
// reason when there is none.
std::unique_ptr<SheetReader> ChooseSheet(const std::shared_ptr<Document>& document, const std::string& named,
                                         const HeaderTest& is_header, std::string& error) {
    if (!named.empty()) {
        auto reader = std::make_unique<SheetReader>(document, 0, named);
        if (reader->Find()) return reader;
        error = reader->Fault().empty()
                    ? "в документе нет листа " + Quoted(named) + "; листы:" + NamesOf(reader->Names())
                    : reader->Fault();
        return nullptr;
    }
    for (std::size_t index = 0;; ++index) {
        auto probe = std::make_unique<SheetReader>(document, index, std::string());
        if (!probe->Find()) {
            error = !probe->Fault().empty() ? probe->Fault()
                    : index == 0            ? std::string(kDamaged) + ": в документе нет листов"
                                            : "ни на одном видимом листе документа нет строки заголовка кабельного журнала "
                                              "(в первых 50 строках); листы:" +
                                       NamesOf(probe->Names()) + "; укажите лист: --sheet ИМЯ";
            return nullptr;
        }
        if (probe->Hidden()) continue;
        if (!is_header || HasHeader(*probe, is_header)) {
            auto reader = std::make_unique<SheetReader>(document, index, std::string());
            reader->Find();
            return reader;
        }
        if (!probe->Fault().empty()) {
            error = probe->Fault();
            return nullptr;
        }
    }
}

}  // namespace

std::unique_ptr<TableReader> OpenOdsReader(int fd, const std::string& sheet, const HeaderTest& is_header,
                                           std::string& error) {
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    auto document = std::make_shared<Document>();
    document->archive = {unzOpen64(path.c_str()), fd};
    if (!document->archive.zip) {
        error = std::string(kDamaged) + ": архив документа не читается";
        return nullptr;
    }
    return ChooseSheet(document, sheet, is_header, error);
}

bool IsOdsArchive(int fd) {
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    unzFile archive = unzOpen64(path.c_str());
    if (!archive) return false;
    const bool ods = unzLocateFile(archive, kContent, 1) == UNZ_OK &&
                     unzLocateFile(archive, "xl/workbook.xml", 1) == UNZ_END_OF_LIST_OF_FILE;
    unzClose(archive);
    return ods;
}

}  // namespace kelvo::schedule

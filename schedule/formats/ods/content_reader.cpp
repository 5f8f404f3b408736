// Reading an OpenDocument spreadsheet: the document's content part, one sheet of it a row at a
// time (the parser is suspended at the end of every row that holds something).
#include <cstdlib>
#include <limits>
#include <set>

#include "schedule/formats/cells/shown_values.h"
#include "schedule/formats/ods/cell_styles.h"
#include "schedule/formats/ods/document_kind.h"
#include "schedule/formats/ods/ods.h"
#include "schedule/formats/package/sheet_rows.h"
#include "schedule/formats/cells/cell_text.h"
#include "schedule/formats/package/zip_part.h"
#include "core/float_text.h"
#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

constexpr const char* kDamaged = "файл ODS поврежден";
constexpr const char* kContent = "content.xml";

// A time as OpenDocument writes it ("PT08H30M00S") as shown ("08:30").
std::string ShownDuration(std::string_view iso) {
    int hours = 0, minutes = 0, seconds = 0;
    const std::string text(iso.substr(0, 40));
    if (std::sscanf(text.c_str(), "PT%dH%dM%dS", &hours, &minutes, &seconds) < 2) return std::string(iso);
    const double serial = (hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0;
    return ShownDate(serial, false, true);
}

// One sheet of the content part: the sheet is the `wanted`-th (from 0) or the one named so.
class SheetReader final : public SheetRows {
public:
    SheetReader(std::shared_ptr<const OpenArchive> document, std::size_t index, const SheetWanted& wanted)
        : SheetRows(TableFormat::Kind::Ods, kDamaged, document, std::make_unique<ZipPart>(document->Get())),
          index_(index),
          wanted_{wanted.name, {}, wanted.fold, {}} {}

    // Parses until the wanted sheet's first row: false when the content part has no such sheet.
    bool Find() {
        if (const PartOpened opened = Part().Open(kContent); opened != PartOpened::Open) {
            Damaged(std::string(kDamaged) +
                    (opened == PartOpened::Absent ? ": нет части «content.xml»" : ": часть «content.xml» повреждена"));
            return false;
        }
        while (!active_ && !Done()) ParseMore();
        return active_;
    }
    // Parses on, past the rest of the sheet found last, to the next sheet's first row: the sheets
    // are searched in one pass over the content. False when there is no next sheet.
    bool FindNext() {
        if (!Fault().empty()) return false;
        passing_ = active_;  // the rest of the sheet is passed over
        active_ = hidden_ = in_cell_ = in_paragraph_ = false;
        skipped_ = 0;
        ++index_;
        merges_ = Merges();
        styles_.NewSheet();
        columns_seen_ = rows_ = gap_pending_ = 0;
        cells_.clear();
        row_text_.clear();
        Restart();
        while (!active_ && !Done()) ParseMore();
        return active_;
    }
    std::size_t Index() const { return index_; }
    bool Hidden() const { return hidden_; }
    const std::vector<std::string>& Names() const { return names_; }
    std::size_t Count() const { return tables_; }

private:
    void Start(std::string_view name, const char** attributes) override;
    void End(std::string_view name) override;
    void Text(std::string_view text) override {
        if (in_paragraph_ && skipped_ == 0) AddText(text);
    }
    void AddText(std::string_view text) {
        if (string_value_) return;
        if (value_.size() + text.size() > 4 * kCellCharactersMax) return CellTooLong();
        value_ += text;
    }
    void StartTable(const char** attributes);
    void StartRow(const char** attributes);
    void StartCell(const char** attributes, bool covered);
    void StartInCell(std::string_view name, const char** attributes);
    void EndCell();
    void EndRow();
    // A count as the format writes it: digits only, at most ten of them (more, a sign or anything
    // else is damage, before any arithmetic); `otherwise` where there is none or it is 0.
    std::uint64_t Count(const char* text, std::uint64_t otherwise) {
        if (!text) return otherwise;
        const std::string_view digits(text);
        if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
            stream_.Fail("число повторений «" + std::string(digits.substr(0, 24)) + "» не число ячеек листа");
            return otherwise;
        }
        std::uint64_t value = 0;
        for (const char c : digits) value = value * 10 + static_cast<std::uint64_t>(c - '0');
        return value == 0 ? otherwise : value;
    }
    void CellTooLong() { stream_.Fail("в ячейке " + CellReference(column_, rows_ + 1) + " больше 32 767 знаков"); }

    std::size_t index_;
    SheetWanted wanted_;
    CellStyles styles_;  // how a float is shown by its style
    Merges merges_;      // the merged areas met so far
    std::uint64_t columns_seen_ = 0;
    CellShown shown_as_ = CellShown::Value;
    std::vector<std::string> names_;       // of the sheets passed
    std::set<std::string> hidden_styles_;  // table styles that hide their sheet
    std::string table_style_;
    std::size_t tables_ = 0;
    bool active_ = false, hidden_ = false;
    bool passing_ = false;         // over the rest of a sheet searched, to its end
    std::size_t depth_ = 0;        // of the element being parsed
    std::size_t table_depth_ = 0;  // of the sheet's table element
    std::size_t spreadsheet_depth_ = std::numeric_limits<std::size_t>::max() - 1;  // of the sheets' parent
    // The row being read.
    std::string value_, type_, number_, error_kind_;
    std::uint64_t row_repeat_ = 1, cell_repeat_ = 1, rows_ = 0, gap_pending_ = 0;
    std::size_t column_ = 0, row_bytes_ = 0;
    bool in_cell_ = false, in_paragraph_ = false, formula_ = false, paragraphs_ = false, string_value_ = false;
    int skipped_ = 0;  // the depth within an element passed over whole
};

void SheetReader::Start(std::string_view name, const char** attributes) {
    ++depth_;
    if (passing_) return;
    if (skipped_ > 0) return ++skipped_, void();
    if (name == "style" || name == "percentage-style") {
        const char* style = Attribute(attributes, "name");
        table_style_ = style ? style : "";
        if (std::string fault; !styles_.Style(name, attributes, fault)) return stream_.Fail(fault);
    } else if (name == "table-properties") {
        const char* display = Attribute(attributes, "display");
        if (display && std::string_view(display) == "false") {
            if (hidden_styles_.size() >= 10000) return stream_.Fail("стилей листов больше 10 000");
            if (std::string fault; !styles_.Keep(table_style_.size(), fault)) return stream_.Fail(fault);
            hidden_styles_.insert(table_style_);
        }
    } else if (name == "spreadsheet") {
        spreadsheet_depth_ = depth_;
    } else if (name == "table" && !active_) {
        // A sheet is a table of the spreadsheet itself, not one within a cell of a sheet.
        if (depth_ == spreadsheet_depth_ + 1) StartTable(attributes);
    } else if (!active_) {
        return;
    } else if (in_cell_) {
        StartInCell(name, attributes);
    } else if (name == "table") {
        skipped_ = 1;  // a table within the sheet is no rows of it
    } else if (name == "table-column") {
        if (std::string fault; !styles_.Column(columns_seen_, attributes, fault)) return stream_.Fail(fault);
        columns_seen_ +=
            std::min<std::uint64_t>(Count(Attribute(attributes, "number-columns-repeated"), 1), kSheetColumnsMax + 1);
    } else if (name == "table-row") {
        StartRow(attributes);
    } else if (name == "table-cell" || name == "covered-table-cell") {
        StartCell(attributes, name == "covered-table-cell");
    }
}

// Within a cell only its own paragraphs and their text are its text: a comment, a text box or a
// shape anchored to the cell, a table or an extension's element within it, are passed over whole.
void SheetReader::StartInCell(std::string_view name, const char** attributes) {
    if (!in_paragraph_) {
        if (name != "p" && name != "h") return skipped_ = 1, void();
        if (paragraphs_) AddText("\n");
        paragraphs_ = in_paragraph_ = true;
    } else if (name == "s") {
        const std::uint64_t spaces = Count(Attribute(attributes, "c"), 1);
        if (spaces > 4 * kCellCharactersMax) return CellTooLong();
        AddText(std::string(static_cast<std::size_t>(spaces), ' '));
    } else if (name == "tab") {
        AddText("\t");
    } else if (name == "line-break") {
        AddText("\n");
    } else if (name != "span" && name != "a" && name != "soft-page-break" && !name.starts_with("bookmark")) {
        skipped_ = 1;
    }
}

void SheetReader::End(std::string_view name) {
    const std::size_t depth = depth_--;
    if (passing_) {
        passing_ = depth != table_depth_;
        return;
    }
    if (skipped_ > 0) return --skipped_, void();
    if (name == "table") {
        if (active_) {
            active_ = false;
            EndSheet();
        }
    } else if (!active_) {
        return;
    } else if ((name == "p" || name == "h") && in_paragraph_) {
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
    std::string fault;
    if (names_.size() < 10000 && !styles_.Keep(table_name.size(), fault)) return stream_.Fail(fault);
    if (names_.size() < 10000) names_.push_back(table_name);
    const bool wanted = wanted_.name.empty() ? tables_ == index_ : wanted_.SameName(table_name, wanted_.name);
    ++tables_;
    if (!wanted || active_) return;
    active_ = true;
    NameSheet(table_name);
    table_depth_ = depth_;
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
    const std::uint64_t rows_spanned = Count(Attribute(attributes, "number-rows-spanned"), 1),
                        columns_spanned = Count(Attribute(attributes, "number-columns-spanned"), 1);
    if (!covered && (rows_spanned > 1 || columns_spanned > 1))
        if (std::string fault; !merges_.Add(rows_ + 1, column_, rows_spanned, columns_spanned, fault))
            return stream_.Fail(fault);
    const char* type = covered ? nullptr : Attribute(attributes, "value-type");
    type_ = type ? type : "";
    const char* calc_type = Attribute(attributes, "value-type");
    for (int i = 0; attributes[i]; i += 2)  // LibreOffice marks an error in its own attribute
        if (std::string_view(attributes[i]).ends_with("calcext:value-type")) calc_type = attributes[i + 1];
    error_kind_ = calc_type && std::string_view(calc_type) == "error" ? "error" : "";
    formula_ = !covered && Attribute(attributes, "formula") != nullptr;
    const char* style = Attribute(attributes, "style-name");
    shown_as_ = styles_.OfFloat(style, column_);
    const char* value = nullptr;
    if (type_ == "float" || type_ == "percentage" || type_ == "currency") value = Attribute(attributes, "value");
    if (type_ == "date") value = Attribute(attributes, "date-value");
    if (type_ == "time") value = Attribute(attributes, "time-value");
    if (type_ == "boolean") value = Attribute(attributes, "boolean-value");
    number_ = value ? value : "";
    // The format's rule: a string's value, where the cell gives one, is its value, not its text.
    const char* string_value = type_ == "string" ? Attribute(attributes, "string-value") : nullptr;
    string_value_ = false;
    if (string_value) AddText(string_value);
    string_value_ = string_value != nullptr;  // the paragraphs add nothing to it
}

void SheetReader::EndCell() {
    in_cell_ = false;
    Cell cell{column_, row_text_.size(), 0, CellShown::Value};
    if (!error_kind_.empty()) {
        cell.shown = CellShown::Error;
        row_text_ += value_;
    } else if (type_ == "float" || type_ == "currency" || type_ == "percentage") {
        double number = 0;
        const bool read = float_text::ParseFileNumber(number_, number);
        // A percent as the number shown, without its sign: 2,5 for 0,025 shown as 2,5 %.
        const bool percent = type_ == "percentage" || (type_ == "float" && shown_as_ == CellShown::Percent);
        row_text_ += read ? WriteNumber(percent ? number * 100 : number) : value_;
        if (percent) cell.shown = CellShown::Percent;
    } else if (type_ == "date" || type_ == "time") {
        cell.shown = CellShown::Date;
        row_text_ += type_ == "date" ? ShownIsoDate(number_) : ShownDuration(number_);
    } else if (type_ == "boolean") {
        row_text_ += number_ == "true" ? "ИСТИНА" : "ЛОЖЬ";
    } else if (type_.empty() && formula_ && !paragraphs_) {
        // A formula whose result the file does not keep; one kept as an empty paragraph (the empty
        // text) is an empty cell.
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
        cells_.push_back({static_cast<std::size_t>(column_ + i), cell.offset, cell.size, cell.shown});
        row_bytes_ += cell.size;
        if (row_bytes_ > kSheetRowBytesMax)
            return stream_.Fail("в строке " + std::to_string(rows_ + 1) + " больше 16 МиБ текста");
    }
    // Empty cells are counted, not made: the trailing empty area of a row costs nothing.
    column_ += static_cast<std::size_t>(std::min<std::uint64_t>(cell_repeat_, kSheetColumnsMax + 1));
}

void SheetReader::EndRow() {
    if (!ApplyMerges(merges_, rows_ + 1)) return;
    if (rows_ + row_repeat_ > kSheetRowsMax && !cells_.empty()) return stream_.Fail("строк в листе больше 1 048 576");
    if (cells_.empty()) {
        // Empty rows are counted; they come out only when a row that holds something follows.
        gap_pending_ = std::min<std::uint64_t>(gap_pending_ + row_repeat_, kSheetRowsMax);
        rows_ = std::min<std::uint64_t>(rows_ + row_repeat_, kSheetRowsMax);
        return;
    }
    HoldRow(gap_pending_, row_repeat_);
    gap_pending_ = 0;
    rows_ += row_repeat_;
}

// The document's sheets: searched in one pass over the content; the one chosen found from its start.
class DocumentSheets : public SheetSet {
public:
    explicit DocumentSheets(std::shared_ptr<const OpenArchive> document) : document_(std::move(document)) {}

    std::unique_ptr<TableReader> OpenAt(std::size_t index, bool& hidden, std::string& fault, bool probe) override {
        // The search goes on from the sheet searched last, where its parse stands.
        if (probe && passed_ && passed_->Index() + 1 == index) {
            std::unique_ptr<SheetReader> next = std::move(passed_);
            if (next->FindNext()) {
                hidden = next->Hidden();
                return next;
            }
            fault = next->Fault();
            names_ = next->Names();
            count_ = next->Count();
            return nullptr;
        }
        return Found(std::make_unique<SheetReader>(document_, index, SheetWanted{}), &hidden, fault);
    }
    void Passed(std::unique_ptr<TableReader> probe) override {
        passed_.reset(static_cast<SheetReader*>(probe.release()));  // made here, by OpenAt
    }
    std::unique_ptr<TableReader> OpenNamed(const SheetWanted& wanted, std::string& fault) override {
        return Found(std::make_unique<SheetReader>(document_, 0, wanted), nullptr, fault);
    }
    std::vector<std::string> Names() const override { return names_; }
    std::size_t Count() const override { return count_; }

private:
    std::unique_ptr<TableReader> Found(std::unique_ptr<SheetReader> reader, bool* hidden, std::string& fault) {
        if (reader->Find()) {
            if (hidden) *hidden = reader->Hidden();
            return reader;
        }
        fault = reader->Fault();
        names_ = reader->Names();
        count_ = reader->Count();
        return nullptr;
    }

    std::shared_ptr<const OpenArchive> document_;
    std::vector<std::string> names_;
    std::size_t count_ = 0;
    std::unique_ptr<SheetReader> passed_;  // the sheet searched last, when it was not the one
};

}  // namespace

std::unique_ptr<TableReader> MakeOdsReader(int fd, const SheetWanted& wanted, std::string& error) {
    auto document = std::make_shared<const OpenArchive>(fd, wanted.stop);
    if (!document->Opened()) {
        error = std::string(kDamaged) + ": архив документа не читается";
        return nullptr;
    }
    if (!document->Fault().empty()) {
        error = std::string(kDamaged) + ": " + document->Fault();
        return nullptr;
    }
    if (const std::string refused = RefusedDocument(document->Get()); !refused.empty()) {
        error = refused;
        return nullptr;
    }
    DocumentSheets sheets(std::move(document));
    return ChooseSheet(sheets, wanted, {"в документе", "документа", std::string(kDamaged) + ": в документе нет листов"},
                       error);
}

}  // namespace kelvo::schedule

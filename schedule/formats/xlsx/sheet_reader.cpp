// A workbook's sheet read a row at a time, each cell as the spreadsheet shows it.
#include <cstdlib>
#include <limits>
#include <utility>

#include "schedule/formats/package/sheet_rows.h"
#include "schedule/formats/xlsx/workbook.h"
#include "schedule/formats/cells/cell_text.h"
#include "schedule/formats/package/zip_part.h"
#include "core/float_text.h"
#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

// "BC12" → column 53 and row 12 (both from 1); false when it is no reference within a sheet.
bool ParseReference(const char* reference, std::uint64_t& column, std::uint64_t& row) {
    column = 0;
    row = 0;
    const char* c = reference;
    for (; *c >= 'A' && *c <= 'Z'; ++c)
        if ((column = column * 26 + static_cast<std::uint64_t>(*c - 'A' + 1)) > kSheetColumnsMax) return false;
    for (; *c >= '0' && *c <= '9'; ++c)
        if ((row = row * 10 + static_cast<std::uint64_t>(*c - '0')) > kSheetRowsMax) return false;
    return *c == '\0' && column > 0;
}

// A whole number of digits only; false for anything else.
bool ParseIndex(const std::string& text, std::uint64_t& value) {
    value = 0;
    if (text.empty() || text.size() > 18) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

class SheetReader final : public SheetRows {
public:
    // `part` is the sheet's part, open.
    SheetReader(std::shared_ptr<const Workbook> book, std::unique_ptr<ZipPart> part, Merges merges)
        : SheetRows(TableFormat::Kind::Xlsx, kDamaged, book, std::move(part)),
          book_(std::move(book)),
          merges_(std::move(merges)) {}
    void Named(const std::string& name) { NameSheet(name); }

private:
    std::string_view CellText(const Cell& cell) const override {
        return cell.shared ? book_->shared.At(cell.offset) : SheetRows::CellText(cell);
    }

    void Start(std::string_view name, const char** attributes) override {
        if (name == "row") {
            StartRow(Attribute(attributes, "r"));
        } else if (name == "c") {
            StartCell(Attribute(attributes, "r"), Attribute(attributes, "t"), Attribute(attributes, "s"));
        } else if (name == "f") {
            has_formula_ = true;
        } else if (name == "v" || (name == "t" && type_ == "inlineStr" && phonetic_ == 0)) {
            in_value_ = true;
            kept_value_ |= name == "v";
        } else if (name == "rPh") {
            ++phonetic_;
        }
    }
    void End(std::string_view name) override {
        if (name == "v" || name == "t") {
            in_value_ = false;
        } else if (name == "rPh" && phonetic_ > 0) {
            --phonetic_;
        } else if (name == "c") {
            EndCell();
        } else if (name == "row") {
            if (!ApplyMerges(merges_, rows_)) return;
            // A row with no value in any cell (a formatted empty area) is counted, and comes out
            // only when a row that holds something follows: trailing ones are no rows.
            if (cells_.empty()) {
                empty_rows_ += gap_ + 1;
            } else {
                HoldRow(empty_rows_ + gap_, 1);
                empty_rows_ = 0;
            }
        }
    }
    void Text(std::string_view text) override {
        if (!in_value_) return;
        if (value_.size() + text.size() > 4 * kCellCharactersMax) return CellTooLong();
        value_ += text;
    }

    void StartRow(const char* r) {
        std::uint64_t number = rows_ + 1;
        if (r && (!ParseIndex(r, number) || number == 0 || number > kSheetRowsMax))
            return stream_.Fail("номер строки «" + std::string(r).substr(0, 20) + "» вне листа");
        if (number <= rows_) return stream_.Fail("строка " + std::to_string(number) + " не по порядку");
        gap_ = number - rows_ - 1;
        rows_ = number;
        cells_.clear();
        row_text_.clear();
        row_bytes_ = 0;
        next_column_ = 0;
    }
    void StartCell(const char* r, const char* t, const char* s) {
        std::uint64_t column = next_column_ + 1, row = 0;
        if (r && !ParseReference(r, column, row))
            return stream_.Fail("ссылка на ячейку «" + std::string(r).substr(0, 20) + "» вне листа");
        if (column > kSheetColumnsMax)
            return stream_.Fail("в строке " + std::to_string(rows_) + " больше 16 384 ячеек");
        if (column <= next_column_) return stream_.Fail("ячейка " + Where(column) + " не по порядку");
        column_ = static_cast<std::size_t>(column - 1);
        next_column_ = column;
        type_ = t ? t : "n";
        value_.clear();
        has_formula_ = kept_value_ = false;
        style_ = s ? static_cast<std::size_t>(std::strtoul(s, nullptr, 10)) : 0;
    }
    void EndCell() {
        Cell cell{column_, row_text_.size(), 0, CellShown::Value};
        if (value_.empty() && type_ != "inlineStr") {
            // A formula whose result the file does not keep: said, never read as empty. One whose
            // kept result is the empty text ("" of =IF(D12="";"";…)) is an empty cell.
            if (!has_formula_ || (type_ == "str" && kept_value_)) return;
            cell.shown = CellShown::FormulaWithoutValue;
        } else if (type_ == "s") {
            std::uint64_t index = 0;
            if (!ParseIndex(value_, index) || index >= book_->shared.Count())
                return stream_.Fail("ячейка " + Where(column_ + 1) + " ссылается на общую строку «" +
                                    value_.substr(0, 20) + "», которой нет");
            cell.shared = true;
            cell.offset = static_cast<std::size_t>(index);
            row_bytes_ += book_->shared.At(cell.offset).size();
        } else {
            if (!AppendValue(cell.shown)) return;
            cell.size = row_text_.size() - cell.offset;
            row_bytes_ += cell.size;
        }
        if (row_bytes_ > kSheetRowBytesMax)
            return stream_.Fail("в строке " + std::to_string(rows_) + " больше 16 МиБ текста");
        cells_.push_back(cell);
    }
    // The cell's text as a spreadsheet shows it, after the row's other texts, and how it is shown;
    // false on a fault.
    bool AppendValue(CellShown& shown) {
        if (type_ == "b") {
            row_text_ += value_ == "1" ? "ИСТИНА" : "ЛОЖЬ";
        } else if (type_ == "n") {
            double number = 0;
            if (!float_text::ParseFileNumber(value_, number)) {
                row_text_ += value_;
                return true;
            }
            shown = book_->formats.OfStyle(style_);
            if (shown == CellShown::Date) {
                row_text_ += ShownDate(number, book_->date1904, book_->formats.TimeOnly(style_));
            } else {
                // A percent as the number shown, without its sign: 2,5 for 0,025 shown as 2,5 %.
                row_text_ += WriteNumber(shown == CellShown::Percent ? number * 100 : number);
            }
        } else if (type_ == "inlineStr" || type_ == "str") {
            DecodeCellText(value_, decoded_);
            if (CountCharacters(decoded_) > kCellCharactersMax) return CellTooLong(), false;
            row_text_ += decoded_;
        } else if (type_ == "d") {
            shown = CellShown::Date;
            row_text_ += ShownIsoDate(value_);
        } else {
            if (type_ == "e") shown = CellShown::Error;
            row_text_ += value_;  // #N/A and the like
        }
        return true;
    }
    void CellTooLong() { stream_.Fail("в ячейке " + Where(column_ + 1) + " больше 32 767 знаков"); }
    std::string Where(std::uint64_t column) const { return CellReference(column - 1, rows_); }

    std::shared_ptr<const Workbook> book_;
    Merges merges_;
    std::size_t style_ = 0;
    bool has_formula_ = false, kept_value_ = false;
    std::string type_, value_, decoded_;
    std::size_t column_ = 0, row_bytes_ = 0;
    std::uint64_t next_column_ = 0, rows_ = 0, gap_ = 0, empty_rows_ = 0;
    int phonetic_ = 0;
    bool in_value_ = false;
};

// The merged areas of a sheet (its mergeCells, after its rows), in the order of their first rows.
class MergeList : public XmlEvents {
public:
    explicit MergeList(Merges& merges) : merges_(merges), stream_(*this) {}
    bool Read(Archive archive, const std::string& part, std::string& fault) {
        if (!ParsePart(archive, part, stream_, false, fault, std::numeric_limits<std::uint64_t>::max())) return false;
        merges_.Sort();
        return true;
    }

private:
    void Start(std::string_view name, const char** attributes) override {
        if (name != "mergeCell") return;
        const char* ref = Attribute(attributes, "ref");
        const std::string_view range = ref ? ref : "";
        const auto colon = range.find(':');
        std::uint64_t first_column = 0, first_row = 0, last_column = 0, last_row = 0;
        if (colon == std::string_view::npos ||
            !ParseReference(std::string(range.substr(0, colon)).c_str(), first_column, first_row) ||
            !ParseReference(std::string(range.substr(colon + 1)).c_str(), last_column, last_row) ||
            last_column < first_column || last_row < first_row)
            return stream_.Fail("объединение ячеек «" + std::string(range.substr(0, 40)) + "» вне листа");
        std::string fault;
        if (!merges_.Add(first_row, first_column - 1, last_row - first_row + 1, last_column - first_column + 1, fault))
            stream_.Fail(fault);
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

    Merges& merges_;
    XmlStream stream_;
};

}  // namespace

std::unique_ptr<TableReader> MakeSheetReader(std::shared_ptr<const Workbook> book, std::unique_ptr<ZipPart> part,
                                             const std::string& name, bool with_merges, std::string& fault) {
    Merges merges;
    if (with_merges && !MergeList(merges).Read(book->archive, part->Name(), fault)) {
        fault = std::string(kDamaged) + ": " + fault;
        return nullptr;
    }
    auto reader = std::make_unique<SheetReader>(std::move(book), std::move(part), std::move(merges));
    reader->Named(name);
    return reader;
}

}  // namespace kelvo::schedule

// Reading a workbook: its sheets from the workbook part and its relations, the shared strings,
// then the chosen sheet a row at a time (the parser is suspended at the end of every row, so a
// row is all that is held of the sheet).
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "schedule/formats/shared_strings.h"
#include "schedule/formats/xlsx.h"
#include "schedule/formats/xlsx_text.h"
#include "schedule/formats/zip_part.h"
#include "core/number_text.h"

namespace kelvo::schedule {
namespace {

constexpr const char* kDamaged = "файл XLSX поврежден";
constexpr std::size_t kSheetsMax = 10000;

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

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

std::string ColumnLetters(std::uint64_t column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
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

class SheetReader : public TableReader, private XmlEvents {
public:
    // `part` is the sheet's part, open.
    SheetReader(Archive archive, std::unique_ptr<ZipPart> part, SharedStrings shared)
        : archive_(archive), part_(std::move(part)), shared_(std::move(shared)), stream_(*this) {}
    ~SheetReader() override {
        part_.reset();
        unzClose(archive_.zip);
        ::close(archive_.fd);
    }

    Result Next(std::vector<std::string_view>& fields) override {
        fields.clear();
        for (;;) {
            if (gap_ > 0) {  // rows the sheet leaves out come as empty rows
                --gap_;
                ++line_;
                return Result::Record;
            }
            if (row_ready_) {
                row_ready_ = false;
                for (const Cell& cell : cells_) {
                    if (fields.size() < cell.column) fields.resize(cell.column);
                    fields.push_back(cell.shared ? shared_.At(cell.offset)
                                                 : std::string_view(row_text_).substr(cell.offset, cell.size));
                }
                ++line_;
                return Result::Record;
            }
            if (done_) return Result::End;
            ParseMore();
        }
    }
    std::size_t RecordLine() const override { return line_; }
    TableFormat Format() const override { return {TableFormat::Kind::Xlsx}; }
    std::string Fault() const override { return fault_; }
    double Progress() const override {
        const auto size = part_->Size();
        return size > 0 ? std::min(1.0, static_cast<double>(read_) / static_cast<double>(size)) : -1;
    }

private:
    struct Cell {
        std::size_t column;  // from 0
        std::size_t offset, size;
        bool shared;  // offset is the shared string's index
    };

    void ParseMore() {
        std::string fault;
        if (ParseOpenPart(*part_, stream_, read_, fault)) {
            done_ = true;
        } else if (!stream_.Suspended()) {
            fault_ = std::string(kDamaged) + ": " + fault;
            done_ = true;
            row_ready_ = false;
            gap_ = 0;
        }
    }

    void Start(std::string_view name, const char** attributes) override {
        if (name == "row") {
            StartRow(Attribute(attributes, "r"));
        } else if (name == "c") {
            StartCell(Attribute(attributes, "r"), Attribute(attributes, "t"));
        } else if (name == "v" || (name == "t" && type_ == "inlineStr" && phonetic_ == 0)) {
            in_value_ = true;
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
            row_ready_ = true;
            stream_.Suspend();
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
    void StartCell(const char* r, const char* t) {
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
    }
    void EndCell() {
        if (value_.empty() && type_ != "inlineStr") return;
        Cell cell{column_, row_text_.size(), 0, false};
        if (type_ == "s") {
            std::uint64_t index = 0;
            if (!ParseIndex(value_, index) || index >= shared_.Count())
                return stream_.Fail("ячейка " + Where(column_ + 1) + " ссылается на общую строку «" +
                                    value_.substr(0, 20) + "», которой нет");
            cell.shared = true;
            cell.offset = static_cast<std::size_t>(index);
            row_bytes_ += shared_.At(cell.offset).size();
        } else {
            if (!AppendValue()) return;
            cell.size = row_text_.size() - cell.offset;
            row_bytes_ += cell.size;
        }
        if (row_bytes_ > kSheetRowBytesMax)
            return stream_.Fail("в строке " + std::to_string(rows_) + " больше 16 МиБ текста");
        cells_.push_back(cell);
    }
    // The cell's text as a spreadsheet shows it, after the row's other texts; false on a fault.
    bool AppendValue() {
        if (type_ == "b") {
            row_text_ += value_ == "1" ? "ИСТИНА" : "ЛОЖЬ";
        } else if (type_ == "n") {
            char* end = nullptr;
            const double number = std::strtod(value_.c_str(), &end);
            row_text_ += end && *end == '\0' ? WriteNumber(number) : value_;
        } else if (type_ == "inlineStr" || type_ == "str") {
            DecodeCellText(value_, decoded_);
            if (CountCharacters(decoded_) > kCellCharactersMax) return CellTooLong(), false;
            row_text_ += decoded_;
        } else {
            row_text_ += value_;  // errors (#N/A) and dates as they are stored
        }
        return true;
    }
    void CellTooLong() { stream_.Fail("в ячейке " + Where(column_ + 1) + " больше 32 767 знаков"); }
    std::string Where(std::uint64_t column) const { return ColumnLetters(column) + std::to_string(rows_); }

    Archive archive_;
    std::unique_ptr<ZipPart> part_;
    SharedStrings shared_;
    XmlStream stream_;
    std::vector<Cell> cells_;
    std::string row_text_, type_, value_, decoded_;
    std::size_t column_ = 0, row_bytes_ = 0, line_ = 0;
    std::uint64_t next_column_ = 0, rows_ = 0, gap_ = 0;
    int phonetic_ = 0;
    bool in_value_ = false, row_ready_ = false, done_ = false;
    std::uint64_t read_ = 0;  // of the sheet's part, unpacked
    std::string fault_;
};

}  // namespace

namespace {

// The workbook's sheets in order, each with the path of its part: from the workbook part and
// its relations.
class SheetList : public XmlEvents {
public:
    explicit SheetList(std::vector<std::pair<std::string, std::string>>& sheets) : sheets_(sheets) {}

    bool Read(Archive archive, std::string& fault) {
        reading_relations_ = true;
        XmlStream relations(*this);
        stream_ = &relations;
        if (!ParsePart(archive, "xl/_rels/workbook.xml.rels", relations, false, fault)) return false;
        reading_relations_ = false;
        XmlStream workbook(*this);
        stream_ = &workbook;
        return ParsePart(archive, "xl/workbook.xml", workbook, false, fault);
    }

private:
    void Start(std::string_view name, const char** attributes) override {
        if (reading_relations_ && name == "Relationship") {
            const char* id = Attribute(attributes, "Id");
            const char* target = Attribute(attributes, "Target");
            if (!id || !target) return;
            if (targets_.size() >= kSheetsMax) return stream_->Fail("связей больше " + std::to_string(kSheetsMax));
            const std::string path = target;
            targets_[id] = path.starts_with("/") ? path.substr(1) : "xl/" + path;
        } else if (!reading_relations_ && name == "sheet") {
            const char* sheet_name = Attribute(attributes, "name");
            const char* id = Attribute(attributes, "id");
            if (!sheet_name || !id || !targets_.count(id)) return;
            if (sheets_.size() >= kSheetsMax) return stream_->Fail("листов больше " + std::to_string(kSheetsMax));
            sheets_.emplace_back(sheet_name, targets_[id]);
        }
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

    std::vector<std::pair<std::string, std::string>>& sheets_;
    std::map<std::string, std::string> targets_;
    XmlStream* stream_ = nullptr;
    bool reading_relations_ = true;
};

}  // namespace

bool LooksLikeCompoundFile(std::string_view start) {
    return start.starts_with(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

std::unique_ptr<TableReader> OpenXlsxReader(int fd, const std::string& sheet, std::string& error) {
    // The archive is opened through the descriptor's own name, which also names a file that has
    // no other (a copy of standard input).
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const Archive archive{unzOpen64(path.c_str()), fd};
    if (!archive.zip) {
        ::close(fd);
        error = std::string(kDamaged) + ": архив книги не читается";
        return nullptr;
    }
    const auto fail = [&](const std::string& why) -> std::unique_ptr<TableReader> {
        unzClose(archive.zip);
        ::close(fd);
        error = why;
        return nullptr;
    };
    std::vector<std::pair<std::string, std::string>> sheets;
    std::string fault;
    if (!SheetList(sheets).Read(archive, fault)) return fail(std::string(kDamaged) + ": " + fault);
    if (sheets.empty()) return fail(std::string(kDamaged) + ": в книге нет листов");
    SharedStrings shared;
    if (!shared.Read(archive, fault)) return fail(std::string(kDamaged) + ": " + fault);
    auto chosen = sheets.begin();
    if (!sheet.empty()) {
        while (chosen != sheets.end() && chosen->first != sheet) ++chosen;
        if (chosen == sheets.end()) {
            std::string list = "в книге нет листа " + Quoted(sheet) + "; листы:";
            for (const auto& [name, part] : sheets) list += " " + Quoted(name);
            return fail(list);
        }
    }
    auto part = std::make_unique<ZipPart>(archive);
    if (part->Open(chosen->second) != PartOpened::Open)
        return fail(std::string(kDamaged) + ": нет листа " + Quoted(chosen->first));
    return std::make_unique<SheetReader>(archive, std::move(part), std::move(shared));
}

}  // namespace kelvo::schedule

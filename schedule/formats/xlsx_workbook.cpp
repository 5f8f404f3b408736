// Opening a workbook: its sheets from the workbook part and its relations, the parts every sheet
// needs (shared strings, number formats), and the sheet to read.
#include <map>

#include "schedule/columns.h"
#include "schedule/formats/xlsx_sheet.h"

namespace kelvo::schedule {

namespace {

constexpr std::size_t kSheetsMax = 10000;
constexpr std::size_t kHeaderRowsSearched = 50;

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

struct Sheet {
    std::string name, part;
    bool hidden = false;
};

// The workbook's sheets in order, each with the path of its part and whether it is hidden, and
// the workbook's date system: from the workbook part and its relations.
class SheetList : public XmlEvents {
public:
    SheetList(std::vector<Sheet>& sheets, bool& date1904) : sheets_(sheets), date1904_(date1904) {}

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
            const char* state = Attribute(attributes, "state");
            if (!sheet_name || !id || !targets_.count(id)) return;
            if (sheets_.size() >= kSheetsMax) return stream_->Fail("листов больше " + std::to_string(kSheetsMax));
            sheets_.push_back({sheet_name, targets_[id], state && std::string_view(state) != "visible"});
        } else if (!reading_relations_ && name == "workbookPr") {
            const char* system = Attribute(attributes, "date1904");
            date1904_ = system && (std::string_view(system) == "1" || std::string_view(system) == "true");
        }
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}

    std::vector<Sheet>& sheets_;
    bool& date1904_;
    std::map<std::string, std::string> targets_;
    XmlStream* stream_ = nullptr;
    bool reading_relations_ = true;
};

}  // namespace

bool LooksLikeCompoundFile(std::string_view start) {
    return start.starts_with(std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

namespace {

std::string SheetNames(const std::vector<Sheet>& sheets) {
    std::string list;
    for (const Sheet& sheet : sheets) list.append(" ").append(Quoted(sheet.name));
    return list;
}

// Whether a sheet has a schedule's header among its first rows. False with `fault` when the sheet
// cannot be read.
bool HasHeader(const std::shared_ptr<const Workbook>& book, const Sheet& sheet, const HeaderTest& is_header,
               std::string& fault) {
    auto part = std::make_unique<ZipPart>(book->archive);
    if (part->Open(sheet.part) != PartOpened::Open) {
        fault = std::string(kDamaged) + ": нет листа " + Quoted(sheet.name);
        return false;
    }
    const auto reader = MakeSheetReader(book, std::move(part));
    std::vector<std::string_view> fields;
    for (std::size_t row = 0; row < kHeaderRowsSearched; ++row) {
        if (reader->Next(fields) != TableReader::Result::Record) break;
        if (is_header(fields)) return true;
    }
    fault = reader->Fault();
    return false;
}

// The sheet to read: the one named (case does not matter), else the first visible sheet with a
// schedule's header. Nothing, and the reason in `error`, when there is none.
const Sheet* ChooseSheet(const std::shared_ptr<const Workbook>& book, const std::vector<Sheet>& sheets,
                         const std::string& named, const HeaderTest& is_header, std::string& error) {
    if (!named.empty()) {
        for (const Sheet& sheet : sheets)
            if (NormalizedColumnName(sheet.name) == NormalizedColumnName(named)) return &sheet;
        error = "в книге нет листа " + Quoted(named) + "; листы:" + SheetNames(sheets);
        return nullptr;
    }
    if (!is_header) return &sheets.front();
    for (const Sheet& sheet : sheets) {
        if (sheet.hidden) continue;
        if (HasHeader(book, sheet, is_header, error)) return &sheet;
        if (!error.empty()) return nullptr;
    }
    error =
        "ни на одном видимом листе книги нет строки заголовка кабельного журнала (в первых 50 строках); "
        "листы:" +
        SheetNames(sheets) + "; укажите лист: --sheet ИМЯ";
    return nullptr;
}

}  // namespace

std::unique_ptr<TableReader> OpenXlsxReader(int fd, const std::string& sheet, const HeaderTest& is_header,
                                            std::string& error) {
    // The archive is opened through the descriptor's own name, which also names a file that has
    // no other (a copy of standard input).
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    auto book = std::make_shared<Workbook>();
    book->archive = {unzOpen64(path.c_str()), fd};
    if (!book->archive.zip) {
        error = std::string(kDamaged) + ": архив книги не читается";
        return nullptr;
    }
    std::vector<Sheet> sheets;
    std::string fault;
    if (!SheetList(sheets, book->date1904).Read(book->archive, fault) || !book->shared.Read(book->archive, fault) ||
        !book->formats.Read(book->archive, fault)) {
        error = std::string(kDamaged) + ": " + fault;
        return nullptr;
    }
    if (sheets.empty()) {
        error = std::string(kDamaged) + ": в книге нет листов";
        return nullptr;
    }
    const Sheet* chosen = ChooseSheet(book, sheets, sheet, is_header, error);
    if (!chosen) return nullptr;
    auto part = std::make_unique<ZipPart>(book->archive);
    if (part->Open(chosen->part) != PartOpened::Open) {
        error = std::string(kDamaged) + ": нет листа " + Quoted(chosen->name);
        return nullptr;
    }
    return MakeSheetReader(std::move(book), std::move(part));
}

}  // namespace kelvo::schedule

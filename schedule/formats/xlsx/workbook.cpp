// Opening a workbook: its sheets from the workbook part and its relations, the parts every sheet
// needs (shared strings, number formats), and the sheet to read.
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "schedule/formats/package/sheet_choice.h"
#include "schedule/formats/xlsx/workbook.h"
#include "schedule/formats/xlsx/xlsx.h"

namespace kelvo::schedule {

namespace {

constexpr std::size_t kSheetsMax = 10000;

std::string Quoted(const std::string& text) { return "«" + text + "»"; }

// The part a relationship of the workbook part names: relative to "xl/" (with "./" and "../"
// steps) or from the package's root ("/…"), its percent-encoded bytes decoded.
std::string PartOfTarget(std::string_view target) {
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        const auto hex = [&](char c) {
            return std::string_view("0123456789ABCDEFabcdef").find(c) != std::string_view::npos;
        };
        if (target[i] == '%' && i + 2 < target.size() && hex(target[i + 1]) && hex(target[i + 2])) {
            decoded += static_cast<char>(std::stoi(std::string(target.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            decoded += target[i];
        }
    }
    std::vector<std::string> steps;
    if (!decoded.starts_with('/')) steps.push_back("xl");
    std::size_t start = 0;
    while (start <= decoded.size()) {
        const std::size_t end = std::min(decoded.find('/', start), decoded.size());
        const std::string step = decoded.substr(start, end - start);
        if (step == "..") {
            if (!steps.empty()) steps.pop_back();
        } else if (!step.empty() && step != ".") {
            steps.push_back(step);
        }
        start = end + 1;
    }
    std::string part;
    for (const std::string& step : steps) part += (part.empty() ? "" : "/") + step;
    return part;
}

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
            if (!Keep(std::strlen(id) + std::strlen(target))) return;
            const std::string path = target;
            targets_[id] = PartOfTarget(path);
        } else if (!reading_relations_ && name == "sheet") {
            const char* sheet_name = Attribute(attributes, "name");
            const char* id = Attribute(attributes, "id");
            const char* state = Attribute(attributes, "state");
            if (!sheet_name || !id || !targets_.count(id)) return;
            if (sheets_.size() >= kSheetsMax) return stream_->Fail("листов больше " + std::to_string(kSheetsMax));
            if (!Keep(std::strlen(sheet_name))) return;
            // Two sheets of one part would have the part read as often as it is named.
            if (!parts_.insert(targets_[id]).second)
                return stream_->Fail("два листа ссылаются на одну часть «" + targets_[id] + "»");
            sheets_.push_back({sheet_name, targets_[id], state && std::string_view(state) != "visible"});
        } else if (!reading_relations_ && name == "workbookPr") {
            const char* system = Attribute(attributes, "date1904");
            date1904_ = system && (std::string_view(system) == "1" || std::string_view(system) == "true");
        }
    }
    void End(std::string_view) override {}
    void Text(std::string_view) override {}
    // Counts bytes kept of the relationships and the sheets' names: false past 16 MiB (the stream
    // failed).
    bool Keep(std::size_t bytes) {
        kept_ += bytes;
        if (kept_ <= kKeptMax) return true;
        stream_->Fail("связи и имена листов занимают больше 16 МиБ");
        return false;
    }

    static constexpr std::size_t kKeptMax = std::size_t{16} << 20;
    std::size_t kept_ = 0;
    std::vector<Sheet>& sheets_;
    bool& date1904_;
    std::map<std::string, std::string> targets_;
    std::set<std::string> parts_;  // the parts the sheets named so far
    XmlStream* stream_ = nullptr;
    bool reading_relations_ = true;
};

// The workbook's sheets, each read from its own part.
class WorkbookSheets : public SheetSet {
public:
    WorkbookSheets(std::shared_ptr<const Workbook> book, const std::vector<Sheet>& sheets)
        : book_(std::move(book)), sheets_(sheets) {}

    std::unique_ptr<TableReader> OpenAt(std::size_t index, bool& hidden, std::string& fault, bool probe) override {
        if (index >= sheets_.size()) return nullptr;
        hidden = sheets_[index].hidden;
        return Open(sheets_[index], fault, !probe);
    }
    std::unique_ptr<TableReader> OpenNamed(const SheetWanted& wanted, std::string& fault) override {
        for (const Sheet& sheet : sheets_)
            if (wanted.SameName(sheet.name, wanted.name)) return Open(sheet, fault, true);
        return nullptr;
    }
    std::vector<std::string> Names() const override {
        std::vector<std::string> names;
        for (const Sheet& sheet : sheets_) names.push_back(sheet.name);
        return names;
    }

private:
    std::unique_ptr<TableReader> Open(const Sheet& sheet, std::string& fault, bool with_merges) {
        auto part = std::make_unique<ZipPart>(book_->archive);
        if (const PartOpened opened = part->Open(sheet.part); opened != PartOpened::Open) {
            fault = std::string(kDamaged) + (opened == PartOpened::Absent
                                                 ? ": нет листа " + Quoted(sheet.name)
                                                 : ": лист " + Quoted(sheet.name) + " не читается (часть " +
                                                       Quoted(sheet.part) + " повреждена)");
            return nullptr;
        }
        return MakeSheetReader(book_, std::move(part), sheet.name, with_merges, fault);
    }

    std::shared_ptr<const Workbook> book_;
    const std::vector<Sheet>& sheets_;
};

}  // namespace

std::unique_ptr<TableReader> MakeXlsxReader(int fd, const SheetWanted& wanted, std::string& error) {
    auto book = std::make_shared<Workbook>(fd, wanted.stop);
    if (!book->file.Opened()) {
        error = std::string(kDamaged) + ": архив книги не читается";
        return nullptr;
    }
    if (!book->file.Fault().empty()) {
        error = std::string(kDamaged) + ": " + book->file.Fault();
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
    WorkbookSheets set(std::move(book), sheets);
    return ChooseSheet(set, wanted, {"в книге", "книги", std::string(kDamaged) + ": в книге нет листов"}, error);
}

}  // namespace kelvo::schedule

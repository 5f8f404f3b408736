#include "schedule/formats/package/sheet_choice.h"

#include <algorithm>

namespace kelvo::schedule {
namespace {

// The sheets' names for a message: the first 50, and how many more there are.
std::string NamesOf(const SheetSet& sheets) {
    constexpr std::size_t kNamed = 50;
    const std::vector<std::string> names = sheets.Names();
    std::string list;
    for (std::size_t i = 0; i < names.size() && i < kNamed; ++i) list.append(" «").append(names[i]).append("»");
    if (const std::size_t count = std::max(sheets.Count(), names.size()); count > kNamed)
        list += " и еще " + std::to_string(count - kNamed);
    return list;
}

// Whether a sheet has a schedule's header among its first rows.
bool HasHeader(TableReader& reader, const HeaderTest& is_header) {
    std::vector<std::string_view> fields;
    for (std::size_t row = 0; row < kHeaderRowsSearched; ++row) {
        if (reader.Next(fields) != TableReader::Result::Record) return false;
        if (is_header(fields)) return true;
    }
    return false;
}

}  // namespace

std::unique_ptr<TableReader> ChooseSheet(SheetSet& sheets, const SheetWanted& wanted, const SheetWords& words,
                                         std::string& error) {
    if (!wanted.name.empty()) {
        auto reader = sheets.OpenNamed(wanted, error);
        if (!reader && error.empty())
            error = std::string(words.in_file) + " нет листа «" + wanted.name + "»; листы:" + NamesOf(sheets);
        return reader;
    }
    for (std::size_t index = 0;; ++index) {
        bool hidden = false;
        std::string fault;
        auto probe = sheets.OpenAt(index, hidden, fault, /*probe=*/true);
        if (!probe) {
            error = !fault.empty() ? fault
                    : index == 0   ? words.no_sheets
                                   : "ни на одном видимом листе " + std::string(words.of_file) +
                                       " нет строки заголовка кабельного журнала (в первых 50 строках); листы:" +
                                       NamesOf(sheets) + "; укажите лист: --sheet ИМЯ";
            return nullptr;
        }
        if (hidden) {
            sheets.Passed(std::move(probe));
            continue;
        }
        if (!wanted.is_header) return sheets.OpenAt(index, hidden, error);
        if (HasHeader(*probe, wanted.is_header)) return sheets.OpenAt(index, hidden, error);
        if (!probe->Fault().empty()) {
            error = probe->Fault();
            return nullptr;
        }
        sheets.Passed(std::move(probe));
    }
}

}  // namespace kelvo::schedule

// Which sheet of a spreadsheet file is read: the one asked for by name, else the first visible
// sheet with a schedule's header among its first rows. Every format chooses so; each says how its
// sheets are found and opened.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "schedule/formats/table.h"

namespace kelvo::schedule {

using HeaderTest = std::function<bool(const std::vector<std::string_view>&)>;
inline constexpr std::size_t kHeaderRowsSearched = 50;

struct SheetWanted {
    std::string name;      // the sheet's name; empty for the first visible sheet with a header
    HeaderTest is_header;  // whether a row is a schedule's header (empty: the first visible sheet)
    // What a sheet's name is compared as (case and the like aside); as it is when empty.
    std::function<std::string(std::string_view)> fold;
    // Asked while the file is searched and read: true stops the reading, as a fault.
    std::function<bool()> stop;
    bool SameName(std::string_view a, std::string_view b) const { return fold ? fold(a) == fold(b) : a == b; }
};

class SheetSet {
public:
    virtual ~SheetSet() = default;
    // The sheet numbered `index` (from 0), open at its first row, and whether it is hidden; nothing
    // when there is no such sheet, with `fault` when the file is damaged. `probe`: only its first
    // rows will be read, to look for a header.
    virtual std::unique_ptr<TableReader> OpenAt(std::size_t index, bool& hidden, std::string& fault,
                                                bool probe = false) = 0;
    // A sheet opened by OpenAt to be searched that was not the one: the set may go on from it.
    virtual void Passed(std::unique_ptr<TableReader> probe) { probe.reset(); }
    // The sheet named so (SheetWanted::SameName); nothing when there is none, with `fault` when the
    // file is damaged.
    virtual std::unique_ptr<TableReader> OpenNamed(const SheetWanted& wanted, std::string& fault) = 0;
    // The sheets' names in order (known once a search has passed them all).
    virtual std::vector<std::string> Names() const = 0;
    // How many sheets there are (more than their names kept, in a file of very many).
    virtual std::size_t Count() const { return Names().size(); }
};

// How the messages name the file: "книга"/"документ" in their cases.
struct SheetWords {
    std::string_view in_file;  // "в книге"
    std::string_view of_file;  // "книги"
    std::string no_sheets;     // the message for a file without sheets
};

// The sheet wanted, open at its first row; nothing and the reason in Russian when there is none.
std::unique_ptr<TableReader> ChooseSheet(SheetSet& sheets, const SheetWanted& wanted, const SheetWords& words,
                                         std::string& error);

}  // namespace kelvo::schedule

// How an OpenDocument spreadsheet's cell styles show a number, where the value type alone does not
// say it: a float whose cell style (or its column's default cell style) has a percentage data
// style is shown as a percent, as LibreOffice and Gnumeric show it. Read from the content's
// automatic styles and the sheet's columns, within bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "schedule/formats/record.h"

namespace kelvo::schedule {

class CellStyles {
public:
    // An element of the automatic styles (a data style, a cell style). False, with the reason,
    // past the bounds.
    bool Style(std::string_view element, const char** attributes, std::string& fault);
    // A column of the sheet, from its first column (from 0).
    bool Column(std::uint64_t first, const char** attributes, std::string& fault);
    // How a float in a cell of this style (null: the column's default) is shown.
    CellShown OfFloat(const char* style, std::uint64_t column) const;
    // A new sheet begins: the columns' styles of the last are forgotten.
    void NewSheet();
    // Counts `bytes` of names kept from the styles (here or beside): false, with the reason, past
    // the bound on all of them together.
    bool Keep(std::size_t bytes, std::string& fault);

private:
    std::unordered_set<std::string> percent_data_styles_;
    std::unordered_map<std::string, std::string> data_style_of_;  // cell style: its data style
    std::vector<std::pair<std::uint64_t, std::string>> columns_;  // first column: its default style
    std::size_t kept_ = 0;
};

}  // namespace kelvo::schedule

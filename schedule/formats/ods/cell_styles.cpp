#include "schedule/formats/ods/cell_styles.h"

#include <algorithm>

#include "schedule/formats/package/xml_stream.h"

namespace kelvo::schedule {
namespace {

constexpr std::size_t kStylesKeptMax = std::size_t{16} << 20;  // bytes of names kept, all styles together

}  // namespace

bool CellStyles::Keep(std::size_t bytes, std::string& fault) {
    kept_ += bytes;
    if (kept_ <= kStylesKeptMax) return true;
    fault = "стили ячеек занимают больше 16 МиБ";
    return false;
}

bool CellStyles::Style(std::string_view element, const char** attributes, std::string& fault) {
    const char* name = Attribute(attributes, "name");
    if (!name) return true;
    if (element == "percentage-style") {
        if (!Keep(std::string_view(name).size(), fault)) return false;
        percent_data_styles_.insert(name);
    } else if (element == "style") {
        const char* family = Attribute(attributes, "family");
        const char* data_style = Attribute(attributes, "data-style-name");
        if (!family || std::string_view(family) != "table-cell" || !data_style) return true;
        if (!Keep(std::string_view(name).size() + std::string_view(data_style).size(), fault)) return false;
        data_style_of_[name] = data_style;
    }
    return true;
}

bool CellStyles::Column(std::uint64_t first, const char** attributes, std::string& fault) {
    const char* style = Attribute(attributes, "default-cell-style-name");
    const std::string_view kept = style ? style : "";
    if (!columns_.empty() && columns_.back().second == kept) return true;  // the same style goes on
    if (!Keep(kept.size() + sizeof(columns_.front()), fault)) return false;
    columns_.emplace_back(first, kept);
    return true;
}

void CellStyles::NewSheet() {
    for (const auto& column : columns_) kept_ -= column.second.size() + sizeof(column);
    columns_.clear();
}

CellShown CellStyles::OfFloat(const char* style, std::uint64_t column) const {
    std::string_view name = style ? std::string_view(style) : std::string_view();
    if (!style) {
        const auto after = std::upper_bound(columns_.begin(), columns_.end(), column,
                                            [](std::uint64_t at, const auto& start) { return at < start.first; });
        if (after == columns_.begin()) return CellShown::Value;
        name = std::prev(after)->second;
    }
    if (name.empty()) return CellShown::Value;
    const auto data_style = data_style_of_.find(std::string(name));
    if (data_style == data_style_of_.end()) return CellShown::Value;
    return percent_data_styles_.count(data_style->second) ? CellShown::Percent : CellShown::Value;
}

}  // namespace kelvo::schedule

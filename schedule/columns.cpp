#include "schedule/columns.h"

#include "core/line_calculation.h"

namespace kelvo::schedule {
namespace {

constexpr std::string_view kColumnNames[kColumnCount] = {"расчет",    "мощность_кВт", "ток_А",    "сечение_мм2",
                                                         "род_тока",  "напряжение_В", "материал", "проводник",
                                                         "прокладка", "длина_м",      "потери_%", "кратность"};

}  // namespace

std::string_view ColumnName(Column column) { return kColumnNames[static_cast<std::size_t>(column)]; }

const std::array<std::string_view, kResultCount>& ResultColumnNames() {
    // clang-format off
    static constexpr std::array<std::string_view, kResultCount> kNames = {
        "ток_А_расчет",        "мощность_кВт_расчет", "сечение_по_току_мм2",
        "сечение_по_потерям_мм2", "рекомендуемое_сечение_мм2", "основание",
        "ток_при_кратности_А", "автомат_А",           "УЗО_ток_А",
        "УЗО_дифток_мА",       "сообщение"};
    // clang-format on
    return kNames;
}

std::array<std::string_view, kResultCount> ResultFields(const LineResult& result) {
    using namespace std::string_view_literals;
    const std::string_view basis = result.basis == Basis::Current       ? "по длительному току"sv
                                   : result.basis == Basis::VoltageLoss ? "по потерям напряжения"sv
                                                                        : ""sv;
    return {result.current,
            result.power,
            result.section_by_current,
            result.section_by_loss,
            result.recommended,
            basis,
            result.current_at_multiplicity,
            result.breaker,
            result.rcd_rated,
            result.rcd_trip,
            result.message};
}

std::string NormalizedColumnName(std::string_view name) {
    if (name.starts_with("\xEF\xBB\xBF")) name.remove_prefix(3);
    name = Trim(name);
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const auto next = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if ((c == 0xD0 && next == 0x81) || (c == 0xD1 && next == 0x91)) {  // Ё, ё
            out += "е";
            ++i;
        } else if (c == 0xD0 && next >= 0x90 && next <= 0x9F) {  // А…П
            out += static_cast<char>(0xD0);
            out += static_cast<char>(next + 0x20);
            ++i;
        } else if (c == 0xD0 && next >= 0xA0 && next <= 0xAF) {  // Р…Я
            out += static_cast<char>(0xD1);
            out += static_cast<char>(next - 0x20);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

ColumnMap::ColumnMap(const std::vector<std::string_view>& header) {
    index_.fill(kAbsent);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = NormalizedColumnName(header[i]);
        bool known = false;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (name != NormalizedColumnName(kColumnNames[c])) continue;
            known = true;
            if (index_[c] == kAbsent) index_[c] = i;
        }
        // The result columns of an earlier run are known too: they are carried, not misspelt.
        for (const std::string_view result : ResultColumnNames()) known |= name == NormalizedColumnName(result);
        if (!known && !name.empty()) unknown_.emplace_back(Trim(header[i]));
    }
}

std::optional<LayingMethod> LayingFromCode(std::string_view code) {
    // Typed on a Russian keyboard, "р" and "к" are Cyrillic letters that look the same.
    char letter = code.empty() ? '\0' : code.front();
    if (code.starts_with("р") || code.starts_with("к")) {
        letter = code.starts_with("р") ? 'p' : 'k';
        code.remove_prefix(std::string_view("р").size());
    } else {
        code.remove_prefix(code.empty() ? 0 : 1);
    }
    if ((letter != 'p' && letter != 'k') || code.size() != 1 || code[0] < '1' || code[0] > '9') return std::nullopt;
    const int number = code[0] - '0';
    if (letter == 'p') {
        if (number > 6) return std::nullopt;
        return static_cast<LayingMethod>(number - 1);
    }
    return static_cast<LayingMethod>(kWireLayingCount + static_cast<std::size_t>(number - 1));
}

}  // namespace kelvo::schedule

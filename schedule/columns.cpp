#include "schedule/columns.h"

#include "core/line_calculation.h"

namespace kelvo::schedule {
namespace {

constexpr std::string_view kColumnNames[kColumnCount] = {"расчет",
                                                         "мощность_кВт",
                                                         "ток_А",
                                                         "сечение_мм2",
                                                         "род_тока",
                                                         "напряжение_В",
                                                         "материал",
                                                         "проводник",
                                                         "прокладка",
                                                         "длина_м",
                                                         "потери_%",
                                                         "кратность",
                                                         "сопротивление_петли_Ом",
                                                         "характеристика",
                                                         "сечение_PE_мм2",
                                                         "температура_среды_С",
                                                         "число_кабелей_рядом",
                                                         "расстояние_между_кабелями_мм"};

// The names people give each input column, as ColumnKey writes them: the program's own name first.
// clang-format off
const std::vector<std::string_view> kColumnKeys[kColumnCount] = {
    {"расчет", "видрасчета", "типрасчета"},
    {"мощностьквт", "мощность", "pквт", "рквт", "нагрузкаквт", "руквт", "pуквт"},
    {"тока", "ток", "iа", "ia", "токнагрузкиа", "iра", "iрa"},
    {"сечениемм2", "сечение", "sмм2", "сечениежилымм2"},
    {"родтока", "сеть", "систематока"},
    {"напряжениев", "напряжение", "uв", "uнв", "uномв"},
    {"материал", "материалжилы", "материалжил"},
    {"проводник", "типпроводника", "видпроводника", "проводкабель"},
    {"прокладка", "способпрокладки", "видпрокладки", "кодпрокладки"},
    {"длинам", "длина", "длиналиниим", "lм"},
    {"потери%", "потери", "потеринапряжения%", "допустимыепотери%", "δu%", "Δu%", "du%", "Δu", "δu"},
    {"кратность", "кратностьтока"},
    {"сопротивлениепетлиом", "сопротивлениепетли", "zпетлиом", "zпом", "сопротивлениепетлифазануль"},
    {"характеристика", "характеристикаавтомата", "кривая"},
    {"сечениеpeмм2", "сечениеpe", "pe", "сечениеpeпроводникамм2", "сечениеpенмм2"},
    {"температурасредыс", "температурасреды", "tокр°c", "tокрc", "tокр", "температураокружающейсреды°c",
     "температураокружающейсредыс", "температураокружающейсреды", "tсреды°c", "tсредыс", "температурасреды°c"},
    {"числокабелейрядом", "числокабелей", "колвокабелей", "количествокабелей", "кабелейрядом", "колвокабелейрядом",
     "количествокабелейрядом", "числокабелейвтраншее", "кол-вокабелей", "кол-вокабелейрядом"},
    {"расстояниемеждукабелямимм", "расстояниемеждукабелями", "расстояниемм", "расстояние", "расстояниевсветумм"},
};
// clang-format on

}  // namespace

std::string_view ColumnName(Column column) { return kColumnNames[static_cast<std::size_t>(column)]; }

namespace {

using Line = const LineResult&;
using Check = const DisconnectionFields&;

std::string_view BasisText(Line line, Check) {
    using namespace std::string_view_literals;
    return line.basis == Basis::Current       ? "по длительному току"sv
           : line.basis == Basis::VoltageLoss ? "по потерям напряжения"sv
                                              : ""sv;
}

// clang-format off
constexpr std::array<ResultColumn, kResultColumnsMax> kResultColumns = {{
    {"ток_А_расчет",              ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.current; }},
    {"мощность_кВт_расчет",       ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.power; }},
    {"сечение_по_току_мм2",       ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.section_by_current; }},
    {"сечение_по_потерям_мм2",    ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.section_by_loss; }},
    {"рекомендуемое_сечение_мм2", ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.recommended; }},
    {"основание",                 ResultGroup::Line, BasisText},
    {"ток_при_кратности_А",       ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.current_at_multiplicity; }},
    {"автомат_А",                 ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.breaker; }},
    {"УЗО_ток_А",                 ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.rcd_rated; }},
    {"УЗО_дифток_мА",             ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.rcd_trip; }},
    {"поправочный_коэффициент",   ResultGroup::Correction, [](Line l, Check) -> std::string_view { return l.correction; }},
    {"ток_КЗ_А",                  ResultGroup::Disconnection, [](Line, Check c) -> std::string_view { return c.fault_current; }},
    {"ток_отключения_А",          ResultGroup::Disconnection, [](Line, Check c) -> std::string_view { return c.trip_current; }},
    {"отключение",                ResultGroup::Disconnection, [](Line, Check c) -> std::string_view { return c.verdict; }},
    {"предельная_длина_м",        ResultGroup::Disconnection, [](Line, Check c) -> std::string_view { return c.longest_line; }},
    {"сечение_по_отключению_мм2", ResultGroup::Disconnection, [](Line, Check c) -> std::string_view { return c.smallest_section; }},
    {"сообщение",                 ResultGroup::Line, [](Line l, Check) -> std::string_view { return l.message; }},
}};
// clang-format on

}  // namespace

const std::array<ResultColumn, kResultColumnsMax>& ResultColumns() { return kResultColumns; }

namespace {

bool Written(const ResultColumn& column, bool with_disconnection, bool with_correction) {
    return column.group == ResultGroup::Line || (column.group == ResultGroup::Correction && with_correction) ||
           (column.group == ResultGroup::Disconnection && with_disconnection);
}

}  // namespace

std::size_t ResultColumnNames(bool with_disconnection, ResultTexts& names, bool with_correction) {
    std::size_t count = 0;
    for (const ResultColumn& column : kResultColumns)
        if (Written(column, with_disconnection, with_correction)) names[count++] = column.name;
    return count;
}

std::size_t ResultFields(const LineResult& line, const DisconnectionFields* check, ResultTexts& texts,
                         bool with_correction) {
    static const DisconnectionFields kNone;
    std::size_t count = 0;
    for (const ResultColumn& column : kResultColumns)
        if (Written(column, check != nullptr, with_correction))
            texts[count++] = column.text(line, check ? *check : kNone);
    return count;
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
        } else if (c == '\n' || c == '\r' || c == '\t') {  // a name typed with Ctrl+Enter
            out += ' ';
        } else if (c == 0xC2 && next == 0xA0) {  // a non-breaking space
            out += ' ';
            ++i;
        } else if (c == 0xE2 && next == 0x80 && i + 2 < name.size() &&
                   (static_cast<unsigned char>(name[i + 2]) == 0xAF ||
                    static_cast<unsigned char>(name[i + 2]) == 0x89)) {
            out += ' ';  // a narrow non-breaking or a thin space
            i += 2;
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
    return std::string(Trim(out));
}

std::string ColumnKey(std::string_view name) {
    std::string lower = NormalizedColumnName(name);
    std::string key;
    key.reserve(lower.size());
    for (std::size_t i = 0; i < lower.size(); ++i) {
        const char c = lower[i];
        if (lower.compare(i, 2, "²") == 0) {
            key += '2';
            ++i;
        } else if (std::string_view(" \t_,.;:()[]/\\-").find(c) == std::string_view::npos) {
            key += c;
        }
    }
    // The square millimetre as people write it: "мм.кв.", "кв.мм".
    for (const std::string_view square : {"ммкв", "квмм"})
        if (const auto at = key.find(square); at != std::string::npos) key.replace(at, square.size(), "мм2");
    return key;
}

ColumnMap::ColumnMap(const std::vector<std::string_view>& header) {
    index_.fill(kAbsent);
    // The result columns of an earlier run are known too: they are carried, not misspelt.
    static const auto kResultKeys = [] {
        std::array<std::string, kResultColumnsMax> keys;
        for (std::size_t r = 0; r < keys.size(); ++r) keys[r] = ColumnKey(kResultColumns[r].name);
        return keys;
    }();
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i].empty()) continue;  // names nothing (a wide sheet's empty cells cost nothing)
        const std::string key = ColumnKey(header[i]);
        bool known = false;
        for (std::size_t c = 0; c < kColumnCount && !key.empty(); ++c) {
            for (const std::string_view name : kColumnKeys[c]) {
                if (key != name) continue;
                known = true;
                if (index_[c] == kAbsent) index_[c] = i;
            }
        }
        for (const std::string& result : kResultKeys) known |= key == result;
        if (!known && !key.empty()) unknown_.emplace_back(Trim(header[i]));
    }
}

std::size_t ColumnMap::InputColumns() const {
    std::size_t found = 0;
    for (const std::size_t index : index_) found += index != kAbsent;
    return found;
}

bool LooksLikeHeader(const std::vector<std::string_view>& row) {
    const ColumnMap columns(row);
    const bool load = columns.IndexOf(Column::Power) != ColumnMap::kAbsent ||
                      columns.IndexOf(Column::Current) != ColumnMap::kAbsent ||
                      columns.IndexOf(Column::Section) != ColumnMap::kAbsent;
    return load && columns.InputColumns() >= 3;
}

bool SameCodeIgnoringCase(std::string_view text, std::string_view code) {
    std::size_t i = 0, j = 0;
    for (; i < text.size() && j < code.size(); ++i, ++j) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
        if (c == 0xD0 && i + 1 < text.size()) {
            // Cyrillic capitals: А…П are D0 90…9F, Р…Я D0 A0…AF; their small letters D0 B0…BF, D1 80…8F.
            const auto next = static_cast<unsigned char>(text[i + 1]);
            unsigned char lead = 0xD0, trail = next;
            if (next >= 0x90 && next <= 0x9F) trail = static_cast<unsigned char>(next + 0x20);
            if (next >= 0xA0 && next <= 0xAF) lead = 0xD1, trail = static_cast<unsigned char>(next - 0x20);
            if (j + 1 >= code.size() || static_cast<unsigned char>(code[j]) != lead ||
                static_cast<unsigned char>(code[j + 1]) != trail)
                return false;
            ++i, ++j;
            continue;
        }
        if (c != static_cast<unsigned char>(code[j])) return false;
    }
    return i == text.size() && j == code.size();
}

std::optional<LayingMethod> LayingFromCode(std::string_view code) {
    // Typed on a Russian keyboard, "р" and "к" are Cyrillic letters that look the same; either
    // may be a capital.
    char letter = code.empty() ? '\0' : static_cast<char>(code.front() | 0x20);
    if (code.starts_with("р") || code.starts_with("к") || code.starts_with("Р") || code.starts_with("К")) {
        letter = code.starts_with("р") || code.starts_with("Р") ? 'p' : 'k';
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

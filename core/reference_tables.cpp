#include "core/reference_tables.h"

#include <array>
#include <iterator>
#include <string>

#include "core/number_text.h"
#include "core/permissible_current.h"

namespace kelvo {

ReferenceTable PowerTable() {
    ReferenceTable t;
    t.title = {std::string("Выбор мощности, тока и сечения проводника")};
    t.header_heights = {17, 17, 17};
    const std::string cu = std::string("Медная жила"), al = std::string("Алюминивая жила");
    const std::string v220 = std::string("Напряжение, 220 В"), v380 = std::string("Напряжение, 380 В");
    const std::string amps = std::string("ток, А"), kw = std::string("мощность, кВт");
    // clang-format off
    t.header = {
        {0, 0, 1, 4, cu},
        {0, 4, 2, 1, std::string("Сечение")},
        {0, 5, 1, 4, al},
        {2, 4, 1, 1, std::string("мм.кв.")},
    };
    // clang-format on
    // Under each core group: the two voltages, each with current and power.
    for (const int group : {0, 5}) {
        t.header.push_back({1, group, 1, 2, v220});
        t.header.push_back({1, group + 2, 1, 2, v380});
        for (int i = 0; i < 4; ++i) t.header.push_back({2, group + i, 1, 1, i % 2 == 0 ? amps : kw});
    }
    t.column_weights = {10, 11, 10, 11, 11, 10, 11, 10, 11};
    t.emphasised_column = 4;
    // clang-format off
    const char* rows[][9] = {
        {"15", "3,0", "-", "-", "0,75", "-", "-", "-", "-"},
        {"17", "3,5", "15", "6,5", "1", "-", "-", "-", "-"},
        {"19", "4,0", "16", "10,5", "1,5", "-", "-", "-", "-"},
        {"27", "6,0", "25", "17,0", "2,5", "20", "4,5", "19", "12,5"},
        {"38", "8,0", "30", "20,0", "4", "28", "6,0", "23", "15,0"},
        {"46", "10,0", "40", "26,0", "6", "36", "8,0", "30", "20,0"},
        {"70", "15,0", "50", "33,0", "10", "50", "11,0", "39", "26,0"},
        {"85", "19,0", "75", "50,0", "16", "60", "13,0", "55", "36,0"},
        {"115", "25,0", "90", "60,0", "25", "85", "19,0", "70", "46,0"},
        {"135", "30,0", "115", "76,0", "35", "100", "22,0", "85", "56,0"},
        {"175", "39,0", "145", "96,0", "50", "135", "30,0", "110", "73,0"},
        {"215", "47,0", "180", "119,0", "70", "165", "36,0", "140", "92,0"},
        {"260", "57,0", "220", "145,0", "95", "200", "44,0", "170", "112,0"},
        {"300", "66,0", "260", "172,0", "120", "230", "51,0", "200", "132,0"},
    };
    // clang-format on
    for (const auto& row : rows) {
        t.rows.emplace_back(std::begin(row), std::end(row));
    }
    return t;
}

ReferenceTable BreakerTable() {
    ReferenceTable t;
    t.title = {std::string("Выбор сечения проводника, тока, максимальной мощности нагрузки"),
               std::string("и токовых характеристик автомата защиты.")};
    t.header_heights = {58};
    // clang-format off
    const char* headers[] = {
        "Сечение медной жилы проводника, мм.кв.", "Допустимый длительный ток нагрузки, А",
        "Максимальная мощность однофазной нагрузки для напряжения 220В, кВт",
        "Номинальный ток автомата защиты, А", "Предельный ток автомата защиты, А",
        "Примерная характеристика отгрузки, А"};
    for (int c = 0; c < 6; ++c) t.header.push_back({0, c, 1, 1, headers[c]});
    t.column_weights = {12, 12, 17, 12, 12, 35};
    t.emphasised_column = 0;
    const char* rows[][6] = {
        {"1,5", "19", "4,1", "10", "16", "группы освещения и сигнализации"},
        {"2,5", "27", "5,9", "16", "25", "розеточные группы и электрические полы"},
        {"4", "38", "8,3", "25", "32", "водонагреватели и кондиционеры"},
        {"6", "46", "10,1", "32", "40", "электрические плиты и духовые шкафы"},
        {"10", "70", "15,4", "50", "63", "вводные питающие линии"},
    };
    // clang-format on
    for (const auto& row : rows) {
        t.rows.emplace_back(std::begin(row), std::end(row));
    }
    return t;
}

namespace {

// The permissible current of a section in one table, or "-" where the table has no row.
std::string LimitOf(Material material, LayingMethod laying, std::string_view section) {
    for (const auto& row : PermissibleCurrentTable(material, laying).rows())
        if (row.result.text == section) return WriteNumber(row.to);
    return "-";
}

}  // namespace

ReferenceTable WireCurrentTable() {
    ReferenceTable t;
    t.title = {std::string("Токовая нагрузка на провода и шнуры с резиной и ПВХ изоляцией.")};
    t.header_heights = {14, 26, 16, 28};
    // clang-format off
    t.header = {
        {0, 0, 4, 1, std::string("Сечение жилы, мм кв.")},
        {0, 1, 1, 12, std::string("Ток, А")},
        {1, 1, 1, 2, std::string("Проложенные открыто")},
        {1, 3, 1, 10, std::string("Проложенные в трубе")},
        {2, 1, 2, 1, std::string("С медными жилами")},
        {2, 2, 2, 1, std::string("С алюминиевыми жилами")},
        {2, 3, 1, 5, std::string("С медными жилами")},
        {2, 8, 1, 5, std::string("С алюминиевыми жилами")},
    };
    // clang-format on
    const std::string pipe[] = {std::string("Два одно-\nжильных"), std::string("Три одно-\nжильных"),
                                std::string("Четыре одно-\nжильных"), std::string("Один двух-\nжильный"),
                                std::string("Один трех-\nжильных")};
    for (int i = 0; i < 5; ++i) {
        t.header.push_back({3, 3 + i, 1, 1, pipe[i]});
        t.header.push_back({3, 8 + i, 1, 1, pipe[i]});
    }
    // Pixel widths, as near as the picture's width allows: every header shows whole.
    t.column_weights = {60, 78, 78, 46, 46, 62, 49, 49, 46, 46, 62, 49, 49};
    t.emphasised_column = 0;

    using L = LayingMethod;
    constexpr auto Cu = Material::Copper;
    constexpr auto Al = Material::Aluminium;
    // Open wiring, then the five closed layings of copper and of aluminium.
    const std::array<std::pair<Material, LayingMethod>, 12> columns = {{
        {Cu, L::p1},
        {Al, L::p1},
        {Cu, L::p2},
        {Cu, L::p3},
        {Cu, L::p4},
        {Cu, L::p5},
        {Cu, L::p6},
        {Al, L::p2},
        {Al, L::p3},
        {Al, L::p4},
        {Al, L::p5},
        {Al, L::p6},
    }};
    constexpr std::string_view sections[] = {"0,5", "0,75", "1",  "1,5", "2,5", "4",   "6",   "10",  "16",
                                             "25",  "35",   "50", "70",  "95",  "120", "150", "185", "240"};
    for (const auto section : sections) {
        std::vector<std::string> cells{std::string(section)};
        for (const auto& [material, laying] : columns) cells.push_back(LimitOf(material, laying, section));
        t.rows.push_back(cells);
    }
    return t;
}

}  // namespace kelvo

#include "maximum_current.h"

#include <array>
#include <cmath>
#include <limits>

#include "laying_tables.h"
#include "number_text.h"
#include "result_codes.h"

namespace kelvo {
namespace {

// A cell: the maximum current, and where the cell says "from …", its own lower end.
struct Cell {
    static constexpr double kRowLowerEnd = -1;
    constexpr Cell(double amperes_, double from_ = kRowLowerEnd) : amperes(amperes_), from(from_) {}
    double amperes;
    double from;
};

// A dash in the tables below: the table has no such row.
constexpr Cell NA{-1};

template <std::size_t Columns>
struct CurrentRow {
    std::string_view section;  // the row's upper end
    double from;               // the row's lower end, unless the cell says otherwise
    Cell cell[Columns];
};

// The row "нет" of a column: cross-sections above the table. No row where `to` is 0.
struct AboveTableRow {
    double from;
    double to;
    bool from_exclusive = false;  // "above 120" rather than "from 120,1"
};
constexpr AboveTableRow kNoRow{0, 0};

// Copper wires:            from  p1           p2   p3          p4         p5         p6
// clang-format off
constexpr CurrentRow<6> kCopperWire[] = {
    {"0,5",  0,    {11,          NA,  NA,         NA,        NA,        NA}},
    {"0,75", 0.7,  {15,          NA,  NA,         NA,        NA,        NA}},
    {"1",    0,    {{17, 0.9},   16,  15,         14,        15,        14}},
    {"1,2",  1.1,  {20,          18,  16,         15,        16,        14.5}},
    {"1,5",  1.4,  {23,          19,  17,         16,        18,        15}},
    {"2",    1.9,  {26,          24,  22,         20,        23,        19}},
    {"2,5",  2.4,  {30,          27,  25,         25,        25,        21}},
    {"3",    2.9,  {33,          32,  28,         26,        28,        24}},
    {"4",    3.9,  {41,          38,  35,         30,        32,        27}},
    {"5",    4.9,  {{46, 4.5},   42,  39,         34,        37,        31}},
    {"6",    5.9,  {{50, 5.5},   46,  42,         40,        40,        34}},
    {"8",    7,    {62,          54,  51,         46,        48,        43}},
    {"10",   9,    {80,          70,  60,         50,        55,        50}},
    {"16",   15,   {100,         85,  80,         75,        80,        70}},
    {"25",   24,   {140,         115, 100,        90,        100,       85}},
    {"35",   34,   {170,         135, 125,        115,       125,       100}},
    {"50",   49,   {215,         185, 170,        {150, 40}, {160, 45}, {135, 45}}},
    {"70",   60,   {270,         225, 210,        185,       195,       175}},
    {"95",   90,   {330,         275, {255, 94},  225,       245,       215}},
    {"120",  110,  {385,         315, {290, 119}, 260,       295,       250}},
    {"150",  140,  {440,         360, 330,        NA,        NA,        NA}},
    {"185",  184,  {510,         NA,  NA,         NA,        NA,        NA}},
    {"240",  230,  {605,         NA,  NA,         NA,        NA,        NA}},
    {"300",  299,  {695,         NA,  NA,         NA,        NA,        NA}},
    {"400",  350,  {830,         NA,  NA,         NA,        NA,        NA}},
};
// clang-format on
// clang-format off
constexpr std::array<AboveTableRow, 6> kCopperWireAbove = {
    kNoRow, AboveTableRow{150.1, 200300}, AboveTableRow{151, 200300},
    AboveTableRow{120, 20330, true}, AboveTableRow{120.1, 20330}, AboveTableRow{120.1, 20330}};

// Aluminium wires:         from  p1          p2   p3   p4         p5         p6
constexpr CurrentRow<6> kAluminiumWire[] = {
    {"2",    0,    {21,         19,  18,  15,        17,        14}},
    {"2,5",  2.4,  {24,         20,  19,  19,        19,        16}},
    {"3",    2.8,  {27,         24,  22,  21,        22,        18}},
    {"4",    3.8,  {{32, 3.5},  28,  28,  23,        25,        21}},
    {"5",    4.8,  {{36, 4.5},  32,  30,  27,        28,        24}},
    {"6",    5.8,  {39,         36,  32,  30,        31,        26}},
    {"8",    7,    {46,         43,  40,  37,        38,        32}},
    {"10",   9,    {60,         50,  47,  39,        42,        38}},
    {"16",   15,   {75,         60,  60,  55,        60,        55}},
    {"25",   24,   {105,        85,  80,  70,        75,        65}},
    {"35",   30,   {130,        100, 95,  85,        {95, 34},  75}},
    {"50",   40,   {165,        140, 130, {120, 45}, {125, 45}, 105}},
    {"70",   60,   {210,        175, 165, 140,       150,       135}},
    {"95",   90,   {255,        215, 200, 175,       190,       165}},
    {"120",  110,  {295,        245, 220, 200,       230,       190}},
    {"150",  140,  {340,        275, 255, NA,        NA,        NA}},
    {"185",  180,  {390,        NA,  NA,  NA,        NA,        NA}},
    {"240",  230,  {465,        NA,  NA,  NA,        NA,        NA}},
    {"300",  290,  {535,        NA,  NA,  NA,        NA,        NA}},
    {"400",  380,  {645,        NA,  NA,  NA,        NA,        NA}},
};
// clang-format on
// clang-format off
constexpr std::array<AboveTableRow, 6> kAluminiumWireAbove = {
    kNoRow, AboveTableRow{150.1, 20330}, AboveTableRow{150.1, 20330},
    AboveTableRow{120.1, 20330}, AboveTableRow{120.1, 20330}, AboveTableRow{120.1, 20330}};

// Copper cables:           from  k1           k2          k3          k4   k5          k6   k7          k8          k9
constexpr CurrentRow<9> kCopperCable[] = {
    {"1,5",  0,    {23,          19,         33,         19,  27,         19,  27,         20,         26}},
    {"2,5",  2,    {30,          {27, 2.4},  44,         25,  38,         25,  38,         26,         34}},
    {"4",    3,    {40,          38,         55,         35,  49,         35,  49,         34,         47}},
    {"6",    5,    {50,          50,         70,         42,  60,         42,  60,         46,         54}},
    {"10",   9,    {80,          70,         105,        55,  90,         55,  90,         61,         72}},
    {"16",   15,   {100,         90,         135,        75,  115,        75,  115,        81,         93}},
    {"25",   24,   {140,         115,        175,        95,  150,        95,  150,        107,        121}},
    {"35",   30,   {170,         140,        210,        120, {180, 34},  120, {180, 34},  {131, 34},  {147, 34}}},
    {"50",   40,   {215,         175,        {265, 45},  145, 225,        145, 225,        165,        179}},
    {"70",   60,   {270,         215,        320,        180, 275,        180, 275,        210,        220}},
    {"95",   90,   {325,         260,        385,        220, 330,        220, 330,        255,        260}},
    {"120",  110,  {{385, 115},  300,        445,        260, 385,        260, 385,        299,        299}},
    {"150",  140,  {440,         350,        505,        305, 435,        305, 435,        344,        338}},
    {"185",  180,  {510,         405,        570,        350, 500,        350, 500,        392,        378}},
    {"240",  200,  {{605, 220},  NA,         NA,         NA,  NA,         NA,  NA,         464,        435}},
};
// clang-format on
constexpr AboveTableRow kCopperCableAbove{185.1, 22700};
constexpr AboveTableRow kFiveCoreAbove{240.1, 22700};
// clang-format off
constexpr std::array<AboveTableRow, 9> kCopperCableAboveRows = {
    kNoRow,            kCopperCableAbove, kCopperCableAbove, kCopperCableAbove, kCopperCableAbove,
    kCopperCableAbove, kCopperCableAbove, kFiveCoreAbove,    kFiveCoreAbove};

// Aluminium cables:        from  k1           k2   k3   k4   k5          k6             k7             k8          k9
constexpr CurrentRow<9> kAluminiumCable[] = {
    {"2,5",  0,    {23,          21,  34,  19,  29,         17.5,          26.7,          20,         26}},
    {"4",    3,    {31,          29,  42,  27,  38,         {24.8, 2.51},  {35.1, 2.51},  27,         34}},
    {"6",    5,    {38,          38,  55,  32,  46,         {29.4, 4.1},   {42.3, 4.1},   34,         41}},
    {"10",   9,    {60,          55,  80,  42,  70,         {38.6, 6.1},   {64.4, 6.1},   47,         55}},
    {"16",   15,   {75,          70,  105, 60,  90,         {55.2, 10.1},  {82.8, 10.1},  62,         72}},
    {"25",   24,   {105,         90,  135, 75,  {115, 20},  {69.1, 16.1},  {105.8, 16.1}, 82,         93}},
    {"35",   30,   {{130, 34},   105, 160, 90,  140,        {82.8, 25.1},  {128.8, 25.1}, {101, 34},  {113, 34}}},
    {"50",   40,   {165,         135, 205, 110, 175,        {101.2, 35.1}, {161.1, 35.1}, 126,        137}},
    {"70",   60,   {210,         165, 245, 140, 210,        {128.8, 50.1}, {193.2, 50.1}, 155,        166}},
    {"95",   90,   {250,         200, 295, 170, 255,        {156.4, 70.1}, {234.6, 70.1}, 190,        197}},
    {"120",  110,  {295,         230, 340, 200, 295,        {184.1, 95.1}, {271.4, 95.1}, 219,        224}},
    {"150",  140,  {340,         270, 390, 235, 335,        {216.2, 120.1},{308.2, 120.1},254,        255}},
    {"185",  180,  {390,         310, 440, 270, 385,        {248.4, 150.1},{354.2, 150.1},291,        286}},
    {"240",  200,  {{465, 230},  NA,  NA,  NA,  NA,         NA,            NA,            343,        330}},
};
// clang-format on
constexpr AboveTableRow kAluminiumCableAbove{185.1, 2270};
constexpr AboveTableRow kAluminiumFourCoreAbove{185.1, 227000};
constexpr std::array<AboveTableRow, 9> kAluminiumCableAboveRows = {kNoRow,
                                                                   kAluminiumCableAbove,
                                                                   kAluminiumCableAbove,
                                                                   kAluminiumCableAbove,
                                                                   kAluminiumCableAbove,
                                                                   kAluminiumFourCoreAbove,
                                                                   kAluminiumFourCoreAbove,
                                                                   kFiveCoreAbove,
                                                                   kFiveCoreAbove};

template <std::size_t Columns, std::size_t Rows>
CurrentTable Build(const CurrentRow<Columns> (&rows)[Rows], const std::array<AboveTableRow, Columns>& above,
                   std::size_t column) {
    CurrentTable table;
    bool first = true;
    for (const auto& row : rows) {
        const Cell& cell = row.cell[column];
        if (cell.amperes == NA.amperes) continue;
        const double section = *ReadNumber(row.section);
        // The first row accepts its own cross-section only: a smaller conductor than any the
        // table knows must not be credited with this row's current.
        const double from = first ? section : cell.from != Cell::kRowLowerEnd ? cell.from : row.from;
        table.Add(from, section, cell.amperes);
        first = false;
    }
    const AboveTableRow& none = above[column];
    if (none.to != 0) {
        const double from =
            none.from_exclusive ? std::nextafter(none.from, std::numeric_limits<double>::infinity()) : none.from;
        table.Add(from, none.to, std::nullopt);
    }
    return table;
}

CurrentTable BuildFor(Material material, LayingMethod laying) {
    const std::size_t column = ColumnOf(laying);
    const bool copper = material == Material::Copper;
    if (KindOf(laying) == ConductorKind::Wire)
        return copper ? Build(kCopperWire, kCopperWireAbove, column)
                      : Build(kAluminiumWire, kAluminiumWireAbove, column);
    return copper ? Build(kCopperCable, kCopperCableAboveRows, column)
                  : Build(kAluminiumCable, kAluminiumCableAboveRows, column);
}

}  // namespace

const CurrentTable& MaximumCurrentTable(Material material, LayingMethod laying) {
    static const LayingTables<CurrentTable> tables(BuildFor);
    return tables.Get(material, laying);
}

MaximumCurrent MaximumCurrentOfSize(double size, const ConductorChoice& choice) {
    const auto laying = EffectiveLaying(choice);
    if (!laying) return {};
    const auto* row = MaximumCurrentTable(*choice.material, *laying).Find(size);
    if (!row) return {};
    return {true, row->result};
}

std::string MaximumCurrentBySection(std::string_view section, const ConductorChoice& choice) {
    const auto size = ReadNumber(section);
    if (!size) return {};
    const MaximumCurrent maximum = MaximumCurrentOfSize(*size, choice);
    if (!maximum.in_table) return {};
    return maximum.amperes ? WriteNumber(*maximum.amperes) : std::string(kAboveTable);
}

}  // namespace kelvo

#include "permissible_current.h"

#include <array>

#include "laying_tables.h"
#include "number_text.h"
#include "result_codes.h"

namespace kelvo {
namespace {

// A dash in the tables below: the cross-section has no row for that laying method.
constexpr double NA = -1;

template <std::size_t Columns>
struct LimitRow {
    std::string_view section;
    std::array<double, Columns> limit;  // upper current limit of the row, A, inclusive
};

// Copper wires:            p1    p2    p3    p4    p5    p6
// clang-format off
constexpr LimitRow<6> kCopperWire[] = {
    {"0,5",  {11,   NA,   NA,   NA,   NA,   NA}},
    {"0,75", {15,   NA,   NA,   NA,   NA,   NA}},
    {"1",    {17,   16,   15,   14,   15,   14}},
    {"1,5",  {23,   19,   17,   16,   18,   15}},
    {"2,5",  {30,   27,   25,   25,   25,   21}},
    {"4",    {41,   38,   35,   30,   32,   27}},
    {"6",    {50,   46,   42,   40,   40,   34}},
    {"10",   {80,   70,   60,   50,   55,   50}},
    {"16",   {100,  85,   80,   75,   80,   70}},
    {"25",   {140,  115,  100,  90,   100,  85}},
    {"35",   {170,  135,  125,  115,  125,  100}},
    {"50",   {215,  185,  170,  150,  160,  135}},
    {"70",   {270,  225,  210,  185,  195,  175}},
    {"95",   {330,  275,  255,  225,  245,  215}},
    {"120",  {385,  315,  290,  260,  295,  250}},
    {"150",  {440,  360,  330,  NA,   NA,   NA}},
    {"185",  {510,  NA,   NA,   NA,   NA,   NA}},
    {"240",  {605,  NA,   NA,   NA,   NA,   NA}},
    {"300",  {695,  NA,   NA,   NA,   NA,   NA}},
    {"400",  {830,  NA,   NA,   NA,   NA,   NA}},
};
// clang-format on
constexpr std::array<double, 6> kCopperWireExceed = {20330, 20330, 20330, 20330, 20330, 20330};

// Aluminium wires:         p1    p2    p3    p4    p5    p6
// clang-format off
constexpr LimitRow<6> kAluminiumWire[] = {
    {"2,5",  {24,   20,   19,   19,   19,   16}},
    {"4",    {32,   28,   28,   23,   25,   21}},
    {"6",    {39,   36,   32,   30,   31,   26}},
    {"10",   {60,   50,   47,   39,   42,   38}},
    {"16",   {75,   60,   60,   55,   60,   55}},
    {"25",   {105,  85,   80,   70,   75,   65}},
    {"35",   {130,  100,  95,   85,   95,   75}},
    {"50",   {165,  140,  130,  120,  125,  105}},
    {"70",   {210,  175,  165,  140,  150,  135}},
    {"95",   {255,  215,  200,  175,  190,  165}},
    {"120",  {295,  245,  220,  200,  230,  190}},
    {"150",  {340,  275,  255,  NA,   NA,   NA}},
    {"185",  {390,  NA,   NA,   NA,   NA,   NA}},
    {"240",  {465,  NA,   NA,   NA,   NA,   NA}},
    {"300",  {535,  NA,   NA,   NA,   NA,   NA}},
    {"400",  {645,  NA,   NA,   NA,   NA,   NA}},
};
// clang-format on
constexpr std::array<double, 6> kAluminiumWireExceed = {20330, 20330, 20330, 20330, 20330, 20330};

// The five-core limits carry an allowance of 0,099 A above the tabulated current.
// Copper cables:           k1    k2    k3    k4    k5    k6    k7    k8        k9
// clang-format off
constexpr LimitRow<9> kCopperCable[] = {
    {"1,5",  {23,   19,   33,   19,   27,   19,   27,   20.099,   26.099}},
    {"2,5",  {30,   27,   44,   25,   38,   25,   38,   26.099,   34.099}},
    {"4",    {40,   38,   55,   35,   49,   35,   49,   34.099,   47.099}},
    {"6",    {50,   50,   70,   42,   60,   42,   60,   46.099,   54.099}},
    {"10",   {80,   70,   105,  55,   90,   55,   90,   61.099,   72.099}},
    {"16",   {100,  90,   135,  75,   115,  75,   115,  81.099,   93.099}},
    {"25",   {140,  115,  175,  95,   150,  95,   150,  107.099,  121.099}},
    {"35",   {170,  140,  210,  120,  180,  120,  180,  131.099,  147.099}},
    {"50",   {215,  175,  265,  145,  225,  145,  225,  165.099,  179.099}},
    {"70",   {270,  215,  320,  180,  275,  180,  275,  210.099,  220.099}},
    {"95",   {325,  260,  385,  220,  330,  220,  330,  255.099,  260.099}},
    {"120",  {385,  300,  445,  260,  385,  260,  385,  299.099,  299.099}},
    {"150",  {440,  350,  505,  305,  435,  305,  435,  344.099,  338.099}},
    {"185",  {510,  405,  570,  350,  500,  350,  500,  392.099,  378.099}},
    {"240",  {605,  NA,   NA,   NA,   NA,   NA,   NA,   464.099,  435.099}},
};
// clang-format on
constexpr std::array<double, 9> kCopperCableExceed = {2270, 2270, 2270, 2270, 2270, 2270, 2270, 222350.099, 222350.099};

// The k6 and k7 columns already carry the four-core factor 0,92 in their limits.
// Aluminium cables:        k1    k2    k3    k4    k5    k6     k7     k8        k9
// clang-format off
constexpr LimitRow<9> kAluminiumCable[] = {
    {"2,5",  {23,   21,   34,   19,   29,   17.5,  26.7,  20.099,   26.099}},
    {"4",    {31,   29,   42,   27,   38,   24.8,  35.1,  27.099,   34.099}},
    {"6",    {38,   38,   55,   32,   46,   29.4,  42.3,  34.099,   41.099}},
    {"10",   {60,   55,   80,   42,   70,   38.6,  64.4,  47.099,   55.099}},
    {"16",   {75,   70,   105,  60,   90,   55.2,  82.8,  62.099,   72.099}},
    {"25",   {105,  90,   135,  75,   115,  69.1,  105.8, 82.099,   93.099}},
    {"35",   {130,  105,  160,  90,   140,  82.8,  128.8, 101.099,  113.099}},
    {"50",   {165,  135,  205,  110,  175,  101.2, 161.1, 126.099,  137.099}},
    {"70",   {210,  165,  245,  140,  210,  128.8, 193.2, 155.099,  166.099}},
    {"95",   {250,  200,  295,  170,  255,  156.4, 234.6, 190.099,  197.099}},
    {"120",  {295,  230,  340,  200,  295,  184.1, 271.4, 219.099,  224.099}},
    {"150",  {340,  270,  390,  235,  335,  216.2, 308.2, 254.099,  255.099}},
    {"185",  {390,  310,  440,  270,  385,  248.4, 354.2, 291.099,  286.099}},
    {"240",  {465,  NA,   NA,   NA,   NA,   NA,    NA,    343.099,  330.099}},
};
// clang-format on
constexpr std::array<double, 9> kAluminiumCableExceed = {2270,   2270,   2270,       2270,      2270,
                                                         227000, 227000, 222350.099, 222350.099};

template <std::size_t Columns, std::size_t Rows>
SectionTable Build(const LimitRow<Columns> (&rows)[Rows], const std::array<double, Columns>& exceed,
                   std::size_t column) {
    SectionTable table;
    for (const auto& row : rows)
        if (row.limit[column] != NA) table.Add(0, row.limit[column], TableNumber(row.section));
    table.Add(0, exceed[column], TableNumber(kExceedMarker));
    return table;
}

SectionTable BuildFor(Material material, LayingMethod laying) {
    const std::size_t column = ColumnOf(laying);
    const bool copper = material == Material::Copper;
    if (KindOf(laying) == ConductorKind::Wire)
        return copper ? Build(kCopperWire, kCopperWireExceed, column)
                      : Build(kAluminiumWire, kAluminiumWireExceed, column);
    return copper ? Build(kCopperCable, kCopperCableExceed, column)
                  : Build(kAluminiumCable, kAluminiumCableExceed, column);
}

}  // namespace

const SectionTable& PermissibleCurrentTable(Material material, LayingMethod laying) {
    static const LayingTables<SectionTable> tables(BuildFor);
    return tables.Get(material, laying);
}

std::string SelectSectionByCurrent(std::string_view current, const ConductorChoice& choice) {
    const auto amperes = ReadNumber(current);
    if (!amperes) return {};
    return std::string(SelectSectionByCurrent(*amperes, choice).text);
}

TableNumber SelectSectionByCurrent(double amperes, const ConductorChoice& choice) {
    const auto laying = EffectiveLaying(choice);
    if (!laying || amperes < 0) return {};
    // The current is compared as read, never rounded: 11,01 A is already above the 11 A row.
    const auto* row = PermissibleCurrentTable(*choice.material, *laying).Find(amperes);
    return row ? row->result : TableNumber{};
}

}  // namespace kelvo

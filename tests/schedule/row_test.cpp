// One row of a schedule calculated as the window calculates one line: its results by heading, what a
// missing or reordered column does, the laying codes as people write them.
#include "schedule/row.h"
#include "schedule/outcome.h"
#include "schedule/run.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

namespace kelvo::schedule {
namespace {

const std::vector<std::string> kHeader = {"расчет",    "мощность_кВт", "ток_А",    "сечение_мм2",
                                          "род_тока",  "напряжение_В", "материал", "проводник",
                                          "прокладка", "длина_м",      "потери_%", "кратность"};

// The result columns of one row, by name.
std::map<std::string, std::string> Calculate(const std::vector<std::string>& row,
                                             const std::vector<std::string>& header = kHeader) {
    LineResult result;
    CalculateRow(ColumnMap({header.begin(), header.end()}), {row.begin(), row.end()}, result);
    ResultTexts fields, names;
    const std::size_t count = ResultFields(result, nullptr, fields);
    ResultColumnNames(false, names);
    std::map<std::string, std::string> named;
    for (std::size_t i = 0; i < count; ++i) named[std::string(names[i])] = fields[i];
    return named;
}

// A schedule calculated before is read again: its result columns, every one, are no unknown names.
TEST(Row, TheResultColumnsOfAnEarlierRunAreKnown) {
    ResultTexts names;
    const std::size_t count = ResultColumnNames(true, names, true);
    EXPECT_EQ(count, kResultColumnsMax);
    EXPECT_TRUE(ColumnMap({names.begin(), names.begin() + count}).Unknown().empty());
}

TEST(Row, Rows) {
    struct Case {
        std::vector<std::string> row;
        std::map<std::string, std::string> expected;  // the columns checked
    };
    // clang-format off
    const Case cases[] = {
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"ток_А_расчет", "11,36"}, {"рекомендуемое_сечение_мм2", "0,75"}, {"основание", "по длительному току"},
          {"автомат_А", "12,5"}, {"УЗО_ток_А", "16"}, {"УЗО_дифток_мА", "10"}, {"сообщение", ""}}},
        {{"прямой", "", "23", "", "1ф", "220", "медь", "провод", "p1", "1", "4", "1,25"},
         {{"мощность_кВт_расчет", "5,06"}, {"ток_при_кратности_А", "28,75"}, {"автомат_А", "30"}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p1", "200", "4", "1"},
         {{"сечение_по_потерям_мм2", "10"}, {"основание", "по потерям напряжения"}, {"рекомендуемое_сечение_мм2", "10"}}},
        {{"", "10", "", "", "3ф", "380", "алюминий", "кабель", "k7", "50", "5", ""},
         {{"ток_А_расчет", "15,19"}, {"сечение_по_току_мм2", "2,5"}, {"сообщение", ""}}},
        {{"", "0,5", "", "", "постоянный", "12", "медь", "кабель", "k8", "1", "4", ""},
         {{"ток_А_расчет", "41,67"}, {"сечение_по_току_мм2", "6"}}},
        {{"", "1", "", "", "1ф", "220", "медь", "провод", "р2", "1", "4", ""},  // Cyrillic "р"
         {{"сечение_по_току_мм2", "1"}, {"сообщение", ""}}},
        {{"обратный", "", "", "400", "1ф", "220", "медь", "провод", "p1", "", "", ""},
         {{"ток_А_расчет", "830"}, {"мощность_кВт_расчет", "182,6"}, {"автомат_А", "1000"}, {"УЗО_ток_А", ""},
          {"УЗО_дифток_мА", ""}, {"сообщение", ""}}},
        {{"обратный", "", "", "2,5", "3ф", "380", "медь", "провод", "p1", "", "", "7"},
         {{"мощность_кВт_расчет", "19,74"}, {"автомат_А", "30"}}},
        // Messages, with empty results.
        {{"", "2.5", "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", "В столбце «мощность_кВт» не число «2.5»: десятичные вводятся через запятую, например 2,5"},
          {"ток_А_расчет", ""}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p1", "", "4", ""},
         {{"сообщение", "Установите длину в метрах"}}},
        {{"", "1" + std::string(307, '0'), "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", messages::kCannotCalculate}}},
        {{"", "500", "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", messages::ExceedByPower("500")}, {"сечение_по_току_мм2", ""}}},
        {{"", "5000", "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", messages::kTooLarge}}},
        {{"обратный", "", "", "185", "1ф", "220", "медь", "провод", "p2", "", "", ""},
         {{"сообщение", "Ток на такое сечение не установлен. Уменьшите сечение"}}},
        {{"обратный", "", "", "", "1ф", "220", "медь", "провод", "p2", "", "", ""},
         {{"сообщение", "Установите сечение"}}},
        {{"обратный", "", "", "0,6", "1ф", "220", "медь", "провод", "p1", "", "", ""},
         {{"сообщение", messages::kSectionNotInTable}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "k3", "1", "4", ""},
         {{"сообщение", messages::kIncompleteConductor}}},
        {{"", "2,5", "", "", "2ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", "Неизвестный род тока «2ф»: нужен «1ф», «3ф» или «постоянный»"}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p7", "1", "4", ""},
         {{"сообщение", "Неизвестная прокладка «p7»: для провода p1–p6, для кабеля k1–k9"}}},
        {{"", "2,5", "11", "", "1ф", "220", "медь", "провод", "p1", "1", "4", ""},
         {{"сообщение", "Укажите либо мощность, либо ток, а не оба значения"}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p1", "1", "4", "x"},
         {{"сообщение", "Кратность «x» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "\xFF"},  // short row, invalid UTF-8
         {{"сообщение", "Строка не в кодировке UTF-8"}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto result = Calculate(c.row);
        for (const auto& [column, value] : c.expected)
            EXPECT_EQ(result.at(column), value) << column << " in row " << c.row[1] << c.row[2] << c.row[3];
    }
}

TEST(Row, MissingColumnsAndOtherOrders) {
    const std::vector<std::string> header = {"прокладка", "мощность_кВт", "род_тока", "напряжение_В",
                                             "материал",  "проводник",    "потери_%"};
    EXPECT_EQ(Calculate({"p1", "2,5", "1ф", "220", "медь", "провод", "4"}, header).at("сообщение"),
              "В таблице нет столбца «длина_м»");
    const std::vector<std::string> with_length = {" длина_м ",    "прокладка", "мощность_кВт", "род_тока",
                                                  "напряжение_В", "материал",  "проводник",    "потери_%"};
    const auto row = Calculate({"1", "p1", "2,5", "1ф", "220", "медь", "провод", "4"}, with_length);
    EXPECT_EQ(row.at("сообщение"), "");
    EXPECT_EQ(row.at("ток_А_расчет"), "11,36");
    EXPECT_EQ(Calculate({"1"}, {"длина_м"}).at("сообщение"), "В таблице нет столбца «род_тока»");
}

TEST(Row, LayingCodes) {
    const std::pair<const char*, LayingMethod> good[] = {
        {"p1", LayingMethod::p1}, {"p6", LayingMethod::p6}, {"k1", LayingMethod::k1}, {"k7", LayingMethod::k7},
        {"k8", LayingMethod::k8}, {"k9", LayingMethod::k9}, {"к9", LayingMethod::k9}, {"р6", LayingMethod::p6},
        {"P1", LayingMethod::p1}, {"К3", LayingMethod::k3}, {"Р2", LayingMethod::p2}};
    for (const auto& [code, laying] : good) EXPECT_EQ(LayingFromCode(code), laying) << code;
    for (const char* bad : {"", "p0", "p7", "k0", "k10", "q1", "p", "р", "р7", "кк1", "1", "Q1"})
        EXPECT_FALSE(LayingFromCode(bad)) << bad;
}

// Numbers as a spreadsheet's Russian "as shown" export writes them give what they show.
TEST(Row, NumbersAsShownAreReadAsTyped) {
    const auto row = [](const std::string& length, const std::string& loss) {
        return Calculate({"прямой", "25", "", "", "3ф", "380", "медь", "кабель", "k1", length, loss, "1"});
    };
    const auto typed = row("1200,5", "2,5");
    ASSERT_EQ(typed.at("сообщение"), "");
    for (const auto& [length, loss] : std::vector<std::array<std::string, 2>>{
             {"1 200,5", "2,5%"}, {"1\u00A0200,5", "2,5 %"}, {"1\u202F200,50", "2,5\u00A0%"}})
        EXPECT_EQ(row(length, loss), typed) << length << " | " << loss;
}

// Header names typed with a line break (Ctrl+Enter) or a non-breaking space are the names they
// read as; an unknown one is warned of on one line.
TEST(Row, HeaderNamesWithLineBreaksAndNonBreakingSpaces) {
    const ColumnMap columns({"Мощность,\u00A0кВт", "Напряжение,\nВ", "Длина,\r\nм", "Ток,\u202FА", "Род\tтока"});
    EXPECT_EQ(columns.IndexOf(Column::Power), 0u);
    EXPECT_EQ(columns.IndexOf(Column::Voltage), 1u);
    EXPECT_EQ(columns.IndexOf(Column::Length), 2u);
    EXPECT_EQ(columns.IndexOf(Column::Current), 3u);
    EXPECT_EQ(columns.IndexOf(Column::Supply), 4u);
    EXPECT_EQ(UnknownColumnWarning("Прим\nечание\x1f"),
              "предупреждение: столбец «Прим\\nечание\\x1F» не известен и переносится без изменений");
}

}  // namespace
}  // namespace kelvo::schedule

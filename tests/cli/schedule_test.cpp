#include "cli/schedule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/csv.h"

namespace kelvo::cli {
namespace {

const std::vector<std::string> kHeader = {"расчет", "мощность_кВт", "ток_А", "сечение_мм2", "род_тока",
                                          "напряжение_В", "материал", "проводник", "прокладка",
                                          "длина_м", "потери_%", "кратность"};

// The result columns of one row, by name.
std::map<std::string, std::string> Calculate(const std::vector<std::string>& row,
                                             const std::vector<std::string>& header = kHeader) {
    LineResult result;
    CalculateRow(ColumnMap({header.begin(), header.end()}), {row.begin(), row.end()}, result);
    const auto fields = ResultFields(result);
    std::map<std::string, std::string> named;
    for (std::size_t i = 0; i < fields.size(); ++i) named[std::string(ResultColumnNames()[i])] = fields[i];
    return named;
}

TEST(Schedule, Rows) {
    struct Case {
        std::vector<std::string> row;
        std::map<std::string, std::string> expected;  // the columns checked
    };
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
         {{"сообщение", "десятичные вводятся через запятую, пример 2,5 или не установлена мощность / ток"},
          {"ток_А_расчет", ""}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "p1", "", "4", ""},
         {{"сообщение", "Установите длину в метрах"}}},
        {{"", "2,5", "", "", "1ф", "0", "медь", "провод", "p1", "1", "4", ""},
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
         {{"сообщение", "десятичные вводятся через запятую, пример 2,5 или не установлена мощность / ток"}}},
        {{"", "2,5", "", "", "1ф", "220", "медь", "провод", "\xFF"},  // short row, invalid UTF-8
         {{"сообщение", "Строка не в кодировке UTF-8"}}},
    };
    for (const auto& c : cases) {
        const auto result = Calculate(c.row);
        for (const auto& [column, value] : c.expected)
            EXPECT_EQ(result.at(column), value) << column << " in row " << c.row[1] << c.row[2] << c.row[3];
    }
}

TEST(Schedule, MissingColumnsAndOtherOrders) {
    const std::vector<std::string> header = {"прокладка", "мощность_кВт", "род_тока", "напряжение_В",
                                             "материал", "проводник", "потери_%"};
    EXPECT_EQ(Calculate({"p1", "2,5", "1ф", "220", "медь", "провод", "4"}, header).at("сообщение"),
              "В таблице нет столбца «длина_м»");
    const std::vector<std::string> with_length = {" длина_м ", "прокладка", "мощность_кВт", "род_тока",
                                                  "напряжение_В", "материал", "проводник", "потери_%"};
    const auto row = Calculate({"1", "p1", "2,5", "1ф", "220", "медь", "провод", "4"}, with_length);
    EXPECT_EQ(row.at("сообщение"), "");
    EXPECT_EQ(row.at("ток_А_расчет"), "11,36");
    EXPECT_EQ(Calculate({"1"}, {"длина_м"}).at("сообщение"), "В таблице нет столбца «род_тока»");
}

TEST(Schedule, LayingCodes) {
    const std::pair<const char*, LayingMethod> good[] = {
        {"p1", LayingMethod::p1}, {"p6", LayingMethod::p6}, {"k1", LayingMethod::k1}, {"k7", LayingMethod::k7},
        {"k8", LayingMethod::Option16}, {"k9", LayingMethod::Option18}, {"к9", LayingMethod::Option18},
        {"р6", LayingMethod::p6}};
    for (const auto& [code, laying] : good) EXPECT_EQ(LayingFromCode(code), laying) << code;
    for (const char* bad : {"", "p0", "p7", "k0", "k10", "P1", "q1", "p", "р", "р7", "кк1", "1"}) EXPECT_FALSE(LayingFromCode(bad)) << bad;
}

// The program itself: exit codes, one output row per input row, the header kept.
class KelvoCalc : public ::testing::Test {
protected:
    int Run(const std::string& input, std::string& output) {
        const std::string in = ::testing::TempDir() + "kelvo_in.csv";
        const std::string out = ::testing::TempDir() + "kelvo_out.csv";
        std::ofstream(in, std::ios::binary) << input;
        const std::string command = std::string(KELVO_CALC) + " -o " + out + " " + in + " 2>/dev/null";
        const int status = std::system(command.c_str());
        std::ifstream result(out, std::ios::binary);
        std::stringstream text;
        text << result.rdbuf();
        output = text.str();
        return WEXITSTATUS(status);
    }
};

TEST_F(KelvoCalc, ExitCodesAndRows) {
    std::string output;
    EXPECT_EQ(Run("", output), 2);
    const std::string header = "мощность_кВт;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%\n";
    EXPECT_EQ(Run(header, output), 0);
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
    EXPECT_NE(output.find("сообщение"), std::string::npos);

    EXPECT_EQ(Run(header + "2,5;1ф;220;медь;провод;p1;1;4\n", output), 0);
    EXPECT_NE(output.find(";11,36;2,5;0,75;"), std::string::npos) << output;

    // A good row, a huge one, a bad number, then a quote never closed: the rest of the file is
    // one field of one last row.
    const std::string huge(CsvReader::kMaxRecordBytes + 1, '7');
    EXPECT_EQ(Run(header + "2,5;1ф;220;медь;провод;p1;1;4\n" + huge + "\n2.5;1ф;220;медь;провод;p1;1;4\n\"x\n;\n", output), 1);
    std::istringstream written(output);
    CsvReader reader(written);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string_view> fields;
    while (reader.Next(fields) == CsvReader::Result::Record) records.emplace_back(fields.begin(), fields.end());
    ASSERT_EQ(records.size(), 5u);  // the header and four rows
    EXPECT_EQ(records[1][8], "11,36");
    EXPECT_EQ(records[2].back(), "Строка длиннее 1 МиБ, не прочитана");
    EXPECT_EQ(records[3].back(), "десятичные вводятся через запятую, пример 2,5 или не установлена мощность / ток");
    EXPECT_EQ(records[4][0], "x\n;\n");
}

TEST_F(KelvoCalc, HelpAndVersion) {
    for (const auto& [arguments, status] : {std::pair{" --help >/dev/null", 0}, {" --version >/dev/null", 0},
                                            {" --bogus 2>/dev/null", 2}, {" /no/such/file 2>/dev/null", 2}})
        EXPECT_EQ(WEXITSTATUS(std::system((std::string(KELVO_CALC) + arguments).c_str())), status) << arguments;
}

}  // namespace
}  // namespace kelvo::cli

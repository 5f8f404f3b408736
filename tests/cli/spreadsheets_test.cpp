// Schedules as people keep them, saved by real spreadsheet programs (tools/make-people-fixtures.sh:
// openpyxl without the formulas' results, LibreOffice Calc as .ods and .xlsx, Gnumeric), read by
// the real kelvo-calc: a title above the header, people's headers and capitals, the loss as a
// percent, formulas, dates and errors; never a silent wrong number. And round trips through every
// format keep every cell.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "schedule/formats/csv/csv.h"
#include "tests/support/scratch.h"

namespace kelvo::schedule {
namespace {

namespace fs = std::filesystem;

const std::string kPeople = std::string(KELVO_FIXTURES) + "/people/";

class Spreadsheets : public kelvo::testing::Scratch {
protected:
    std::string Calc(const std::string& arguments, int& status) const {
        const auto run = kelvo::testing::ShellCalc(dir_, arguments);
        status = run.status;
        return run.out;
    }
};

std::vector<std::vector<std::string>> Records(const std::string& text) {
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string_view> fields;
    while (reader.Next(fields) == CsvReader::Result::Record) records.emplace_back(fields.begin(), fields.end());
    return records;
}

// The rows under the header (the third record), each by heading, keyed by its note.
std::map<std::string, std::map<std::string, std::string>> ByNote(const std::string& output) {
    const auto records = Records(output);
    std::map<std::string, std::map<std::string, std::string>> rows;
    if (records.size() < 4) return rows;
    const auto& header = records[2];
    for (std::size_t r = 3; r < records.size(); ++r) {
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < header.size() && i < records[r].size(); ++i) row[header[i]] = records[r][i];
        rows[row["Примечание"].empty() ? "обратный" : row["Примечание"]] = row;
    }
    return rows;
}

TEST_F(Spreadsheets, PeoplesSchedulesAreReadAsTheSpreadsheetShowsThem) {
    struct File {
        const char* name;
        const char* arguments;
        bool results_kept;  // the formulas' results are in the file
    };
    for (const File file : {File{"people.xlsx", "", false}, File{"people-libreoffice.xlsx", "", true},
                            File{"people-libreoffice.ods", "", true},
                            // Gnumeric does not keep the draft sheet hidden: the schedule is named.
                            File{"people-gnumeric.xlsx", "--sheet журнал", true}}) {
        SCOPED_TRACE(file.name);
        int status = 0;
        const std::string output = Calc(std::string(file.arguments) + " " + kPeople + file.name, status);
        EXPECT_EQ(status, 1);
        const auto records = Records(output);
        ASSERT_GE(records.size(), 10u);
        EXPECT_EQ(records[0][0], "Кабельный журнал, объект «Склад № 2»");  // the title, as it came
        EXPECT_EQ(records[2].size(), 13u + 11u);                           // no nameless columns before the results
        auto rows = ByNote(output);
        const auto message = [&](const std::string& note) { return rows[note]["сообщение"]; };
        EXPECT_EQ(message("проценты и заглавные"), "");
        EXPECT_EQ(rows["проценты и заглавные"]["Потери, %"], "2,5");
        EXPECT_EQ(rows["проценты и заглавные"]["автомат_А"], "12,5");
        EXPECT_NE(message("дата вместо потерь").find("В ячейке K6 дата или время"), std::string::npos);
        EXPECT_NE(message("мощность в процентах").find("В ячейке B9 число в процентах"), std::string::npos);
        EXPECT_EQ(rows["обратный"]["Примечание"], "");
        EXPECT_EQ(rows["обратный"]["сообщение"], "");
        if (file.results_kept) {
            EXPECT_EQ(rows["кратность формулой"]["автомат_А"], "30");
            EXPECT_EQ(rows["длина формулой"]["автомат_А"], "15");
            EXPECT_NE(message("ошибка в кратности").find("В ячейке L8 ошибка"), std::string::npos);
        } else {
            EXPECT_NE(message("кратность формулой").find("В ячейке L5 формула без вычисленного значения"),
                      std::string::npos);
            EXPECT_NE(message("длина формулой").find("В ячейке J10 формула"), std::string::npos);
            EXPECT_NE(message("ошибка в кратности").find("В ячейке L8 формула"), std::string::npos);
        }
    }
}

TEST_F(Spreadsheets, ADateInTheNotesStaysADate) {
    int status = 0;
    const std::string output = Calc(kPeople + "people-libreoffice.ods", status);
    EXPECT_NE(output.find(";12.03.2024;"), std::string::npos);
}

TEST_F(Spreadsheets, RoundTripsThroughEveryFormatKeepEveryCell) {
    const std::string dir = dir_.string() + "/";
    int status = 0;
    Calc("-o " + dir + "a.csv " + kPeople + "people-libreoffice.ods", status);
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"a.csv", "b.ods"}, {"b.ods", "c.xlsx"}, {"c.xlsx", "d.csv"}}) {
        Calc("-o " + dir + to + " " + dir + from, status);
        EXPECT_EQ(status, 1) << from << " -> " << to;
    }
    const auto before = Records(Read("a.csv")), after = Records(Read("d.csv"));
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t r = 0; r < before.size(); ++r)
        for (std::size_t i = 0; i < before[r].size(); ++i)
            EXPECT_EQ(after[r].at(i), before[r][i]) << "row " << r << " column " << i;
}

}  // namespace
}  // namespace kelvo::schedule

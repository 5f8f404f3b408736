// kelvo-calc's promises, checked by running the real program in a scratch folder on files made
// the way people make them: every row out once, in order, under its headings; the input and an
// earlier result never lost; the exit status true to what happened.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "schedule/formats/csv/csv.h"
#include "tests/support/scratch.h"
#include "schedule/run.h"
#include "core/messages.h"

namespace kelvo::schedule {
namespace {

namespace fs = std::filesystem;

const std::string kHeader =
    "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%;"
    "кратность";
const std::string kRow = "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1";

using Outcome = kelvo::testing::CalcRun;

class KelvoCalc : public kelvo::testing::Scratch {
protected:
    Outcome Calc(const std::string& arguments, const std::string& prefix = "") const {
        return kelvo::testing::ShellCalc(dir_, arguments, prefix);
    }
};

using Records = std::vector<std::vector<std::string>>;

Records Parse(const std::string& text, char separator = ';') {
    std::istringstream in(text);
    CsvReader reader(in, separator);
    Records records;
    std::vector<std::string_view> fields;
    for (;;) {
        const auto result = reader.Next(fields);
        if (result == CsvReader::Result::Record) {
            records.emplace_back(fields.begin(), fields.end());
        } else if (result == CsvReader::Result::TooLong) {
            reader.PassThrough([](std::string_view) {}, 0, [] {});
            records.push_back({"<too long>"});
        } else {
            return records;
        }
    }
}

// Each data row of an output as heading → value.
std::vector<std::map<std::string, std::string>> Named(const std::string& output, char separator = ';') {
    const Records records = Parse(output, separator);
    std::vector<std::map<std::string, std::string>> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].size() > 1) {
            EXPECT_GE(records[r].size(), records[0].size()) << "row " << r;
        }
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < records[0].size() && i < records[r].size(); ++i) row[records[0][i]] = records[r][i];
        rows.push_back(row);
    }
    return rows;
}

TEST_F(KelvoCalc, OutputOntoTheInputIsRefusedAndTheInputKept) {
    const std::string input = kHeader + "\r\n" + kRow + "\r\n";
    Write("a.csv", input);
    ASSERT_EQ(::symlink("a.csv", Path("link.csv").c_str()), 0);
    for (const char* arguments :
         {"-o a.csv a.csv", "-o ./a.csv a.csv", "-o link.csv a.csv", "-o a.csv < a.csv", "-o a.csv - < link.csv"}) {
        const Outcome run = Calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("это входной файл"), std::string::npos) << arguments << run.err;
        EXPECT_EQ(Read("a.csv"), input) << arguments;
    }
    EXPECT_TRUE(fs::is_symlink(Path("link.csv")));
}

TEST_F(KelvoCalc, AFailedOrInterruptedRunLeavesAnEarlierResultAsItWas) {
    Write("empty.csv", "");
    Write("quote.csv", kHeader + "\n" + kRow + "\n\"щит 1;2\n");
    Write(
        "big.csv", kHeader + "\n" + [] {
            std::string rows;
            for (int i = 0; i < 2000; ++i) rows += kRow + "\n";
            return rows;
        }());
    const std::string endless = "(echo '" + kHeader + "'; yes '" + kRow + "') | ";
    // clang-format off
    const std::pair<std::string, std::string> runs[] = {
        {"-o s.out empty.csv", ""},
        {"-o s.out quote.csv", ""},
        {"-o s.out /tmp", ""},
        {"-o s.out <&-", ""},
        // A file size limit makes the disk "full" part way through (the signal it sends ignored).
        {"-o s.out big.csv", "trap '' XFSZ; ulimit -f 16;"},
        {"-o s.out", endless + "timeout -s INT 0.3"},
        {"-o s.out", endless + "timeout -s TERM 0.3"},
    };
    // clang-format on
    for (const auto& [arguments, prefix] : runs) {
        Write("s.out", "earlier result\n");
        const Outcome run = Calc(arguments, prefix);
        EXPECT_NE(run.status, 0) << prefix << arguments;
        EXPECT_EQ(Read("s.out"), "earlier result\n") << prefix << arguments;
        EXPECT_EQ(Others({"s.out", "empty.csv", "quote.csv", "big.csv"}), std::vector<std::string>{})
            << prefix << arguments;
    }
    // Killed outright: the result is the earlier one or a whole new one, never a part.
    Write("s.out", "earlier result\n");
    Calc("-o s.out", endless + "timeout -s KILL 0.3");
    EXPECT_EQ(Read("s.out"), "earlier result\n");
    // A finished run replaces it, keeping its permissions.
    ::chmod(Path("s.out").c_str(), 0640);
    EXPECT_EQ(Calc("-o s.out big.csv").status, 0);
    EXPECT_EQ(Parse(Read("s.out")).size(), 2001u);
    struct stat status {};
    ASSERT_EQ(::stat(Path("s.out").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    // A device is written as it is, never replaced.
    EXPECT_EQ(Calc("-o /dev/null big.csv").status, 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(KelvoCalc, EveryRowComesOutOnceUnderItsHeadings) {
    const std::string huge_note(2 << 20, 'z');
    const std::string huge_row = "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;\"" + huge_note + "\"";
    Write("in.csv", "\xEF\xBB\xBF" + kHeader + ";примечание\r\n" +
                        "обратный;;;16;3ф;380;алюминий;кабель;k7\r\n" +  // short: 9 fields of 13
                        kRow + ";щит;лишнее;;\r\n" +                     // a surplus field
                        kRow + ";;;\r\n" +                               // surplus fields, all empty
                        huge_row + "\r\n" +                              // over the length limit
                        kRow + "\r\n;;;\r\n\r\n");                       // trailing blank rows
    const Outcome run = Calc("-o out.csv in.csv");
    EXPECT_EQ(run.status, 1) << run.err;
    const std::string output = Read("out.csv");
    const auto rows = Named(output);
    ASSERT_EQ(rows.size(), 7u);

    EXPECT_EQ(rows[0].at("длина_м"), "");
    EXPECT_EQ(rows[0].at("ток_А_расчет"), "82,8");
    EXPECT_EQ(rows[0].at("автомат_А"), "100");
    EXPECT_EQ(rows[0].at("рекомендуемое_сечение_мм2"), "");

    const Records records = Parse(output);
    EXPECT_EQ(rows[1].at("сообщение"), messages::kSurplusFields);
    EXPECT_EQ(rows[1].at("ток_А_расчет"), "");
    EXPECT_EQ(records[2].back(), "лишнее");
    EXPECT_EQ(records[2].size(), records[0].size() + 1);
    EXPECT_EQ(rows[2].at("сообщение"), "");
    EXPECT_EQ(rows[2].at("ток_А_расчет"), "11,36");

    // The long row's own text comes out unchanged, its message under its heading.
    EXPECT_NE(output.find(huge_row + ";;;;;;;;;;;" + messages::kTooLongRow + "\r\n"), std::string::npos);
    EXPECT_EQ(rows[4].at("ток_А_расчет"), "11,36");
    for (int blank : {5, 6}) {
        for (const auto& [heading, value] : rows[blank]) EXPECT_EQ(value, "") << heading;
        EXPECT_EQ(records[blank + 1].size(), records[0].size());
    }

    // Without the faulty rows every row is calculated, blank rows included.
    Write("in.csv", kHeader + "\n" + kRow + "\n\n;;\n");
    EXPECT_EQ(Calc("-o out.csv in.csv").status, 0);
}

TEST_F(KelvoCalc, AnUnclosedQuoteIsAFailureThatNamesItsLine) {
    for (const std::string& tail : {"\"щит 1;2\n" + kRow + "\n" + kRow + "\n", kRow + ";\"щит"}) {
        Write("in.csv", kHeader + "\n" + kRow + "\n" + tail);
        const Outcome run = Calc("in.csv");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("строке 3"), std::string::npos) << run.err;
    }
}

TEST_F(KelvoCalc, ReadErrorsAreReportedNotAborted) {
    for (const char* arguments : {"/tmp", "<&-", "-o s.out /tmp"}) {
        const Outcome run = Calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("ошибка чтения входа"), std::string::npos) << arguments << run.err;
    }
    EXPECT_EQ(Calc("/no/such/file").status, 2);
    Write("in.csv", kHeader + "\n");
    EXPECT_EQ(Calc("in.csv >&-").status, 2);
}

TEST_F(KelvoCalc, HeadersAreMatchedAsAPersonReadsThem) {
    // 23 A at multiplicity 1,25 is 28,75 A: a 30 A breaker; taken as 1 it would be 25 A.
    Write("in.csv",
          " Расчёт ;Ток_А;Род_тока;НАПРЯЖЕНИЕ_В;материал;проводник;прокладка;длина_м;потери_%;Кратность;Примечание\n"
          "прямой;23;1ф;220;медь;провод;p1;15;4;1,25;щит 2\n");
    const Outcome run = Calc("in.csv");
    EXPECT_EQ(run.status, 0) << run.out;
    const auto rows = Named(run.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("ток_при_кратности_А"), "28,75");
    EXPECT_EQ(rows[0].at("автомат_А"), "30");
    EXPECT_EQ(run.err, "kelvo-calc: предупреждение: столбец «Примечание» не известен и переносится без изменений\n");
}

// An English-language export: a decimal point, commas between thousands, found from the file as a
// whole and said once; where nothing in the file tells, "1,200" reads two ways and says so.
TEST_F(KelvoCalc, EnglishNumbersAreFoundFromTheWholeFile) {
    const std::string header =
        "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;"
        "прокладка;длина_м;потери_%;кратность\r\n";
    Write("ru.csv",
          header + "прямой;25;;;3ф;380;медь;кабель;k1;1200;2,5;1\r\nпрямой;2,5;;;3ф;380;медь;кабель;k1;15;4;1\r\n");
    Write("en.csv",
          header + "прямой;25;;;3ф;380;медь;кабель;k1;1,200;2.50%;1\r\nпрямой;2.5;;;3ф;380;медь;кабель;k1;15;4;1\r\n");
    const Outcome russian = Calc("ru.csv"), english = Calc("en.csv");
    const auto results = [](const std::string& out) {
        std::vector<std::map<std::string, std::string>> rows = Named(out);
        for (auto& row : rows)
            for (const char* input : {"мощность_кВт", "длина_м", "потери_%"}) row.erase(input);
        return rows;
    };
    EXPECT_EQ(results(english.out), results(russian.out));
    EXPECT_NE(english.err.find("с десятичной точкой"), std::string::npos) << english.err;
    EXPECT_EQ(russian.err.find("с десятичной точкой"), std::string::npos) << russian.err;
    // A file with both: the decimal comma holds, and a point is no number.
    Write("mixed.csv",
          header + "прямой;2,5;;;3ф;380;медь;кабель;k1;15;4;1\r\nпрямой;2.5;;;3ф;380;медь;кабель;k1;15;4;1\r\n");
    EXPECT_EQ(Named(Calc("mixed.csv").out).at(1).at("сообщение"),
              "В столбце «мощность_кВт» не число «2.5»: десятичные вводятся через запятую, например 2,5");
    Write("unknown.csv", header + "прямой;25;;;3ф;380;медь;кабель;k1;1,200;4;1\r\n");
    EXPECT_NE(Named(Calc("unknown.csv").out).at(0).at("сообщение").find("«1,200» читается двояко"), std::string::npos);
}

// A row carries at most 1 024 surplus fields: a file cannot make a result many times its size.
TEST_F(KelvoCalc, SurplusFieldsAreCarriedUpToABound) {
    Write("in.csv", kHeader + "\n" + kRow + std::string(3000, ';') + "x\n");
    const Outcome run = Calc("in.csv");
    EXPECT_EQ(run.status, 1);
    const auto records = Parse(run.out);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].size(), records[0].size() + 1024);
    EXPECT_NE(records[1][records[0].size() - 1].find("начиная с поля 1037 они не перенесены"), std::string::npos)
        << records[1][records[0].size() - 1];
}

// Excel's "Unicode text" (UTF-16 with its mark, tabs, CRLF) is read and the result written back in
// it; without a mark it is refused naming UTF-16; a flat OpenDocument file is refused by name.
TEST_F(KelvoCalc, Utf16TextAndFlatDocuments) {
    Write("a.csv", kHeader + "\r\n" + kRow + "\r\n");
    const Outcome plain = Calc("a.csv");
    const Outcome unicode = Calc("u16.txt", "iconv -f UTF-8 -t UTF-16 a.csv > u16.txt &&");
    EXPECT_EQ(unicode.status, 0) << unicode.err;
    EXPECT_TRUE(unicode.out.starts_with("\xFF\xFE") || unicode.out.starts_with("\xFE\xFF"));
    Write("u16-out.txt", unicode.out);
    Calc("a.csv", "iconv -f UTF-16 -t UTF-8 u16-out.txt > b.csv &&");
    EXPECT_EQ(Read("b.csv"), plain.out);
    const Outcome unmarked = Calc("le.txt", "iconv -f UTF-8 -t UTF-16LE a.csv > le.txt &&");
    EXPECT_EQ(unmarked.status, 2);
    EXPECT_NE(unmarked.err.find("UTF-16 без метки"), std::string::npos) << unmarked.err;
    Write("flat.fods", "<?xml version=\"1.0\"?><office:document xmlns:office=\"x\"/>");
    const Outcome flat = Calc("flat.fods");
    EXPECT_EQ(flat.status, 2);
    EXPECT_NE(flat.err.find("плоский документ OpenDocument"), std::string::npos) << flat.err;
}

// Figures the window never offers or that make no sense get a message that says which, and no
// result (exit 1).
TEST_F(KelvoCalc, FiguresOutsideTheirRangeGetAMessage) {
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"прямой;;23;;1ф;220;медь;провод;p1;10;4;0", "Кратность «0» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"},
        {"прямой;;23;;1ф;220;медь;провод;p1;10;4;-1", "Кратность «-1» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"},
        {"прямой;;23;;1ф;220;медь;провод;p1;10;4;100", "Кратность «100» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"},
        {"прямой;;23;;1ф;220;медь;провод;p1;10;4;1,3", "Кратность «1,3» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"},
        {"прямой;4;;;1ф;220;медь;провод;p1;-5;4;1", messages::kLengthNotPositive},
        {"прямой;4;;;1ф;220;медь;провод;p1;0;4;1", messages::kLengthNotPositive},
        {"прямой;4;;;1ф;220;медь;провод;p1;5;0;1", messages::kLossNotPositive},
        {"прямой;4;;;1ф;0;медь;провод;p1;5;4;1", messages::kVoltageNotPositive},
        {"прямой;-4;;;1ф;0;медь;провод;p1;5;4;1", messages::kNegativeLoad},
        {"обратный;;;1,5;1ф;-220;медь;провод;p1;;;", messages::kVoltageNotPositive},
        {"обратный;;;abc;1ф;220;медь;провод;p1;;;",
         "В столбце «сечение_мм2» не число «abc»: десятичные вводятся через запятую, например 2,5"},
        // As LibreOffice's Russian export writes them: a loss with its percent sign, grouped thousands.
        {"прямой;4;;;1ф;220;медь;провод;p1;15;4%;1,3", "Кратность «1,3» не из списка: 0,8 1 1,1 1,2 1,25 2 3 4,5 5 6 7"},
        {"прямой;2,5 %;;;1ф;220;медь;провод;p1;15;4;1",
         "В столбце «мощность_кВт» число в процентах «2,5 %»: здесь нужно число без знака %"},

    };
    // clang-format on
    for (const auto& [row, message] : cases) {
        Write("in.csv", kHeader + "\n" + row + "\n");
        const Outcome run = Calc("in.csv");
        EXPECT_EQ(run.status, 1) << row;
        const auto rows = Named(run.out);
        ASSERT_EQ(rows.size(), 1u) << row;
        EXPECT_EQ(rows[0].at("сообщение"), message) << row;
        EXPECT_EQ(rows[0].at("автомат_А"), "") << row;
    }
    // Spaces around an offered multiplicity, and an empty one (taken as 1), are fine.
    Write("in.csv",
          kHeader + "\nпрямой;;23;;1ф;220;медь;провод;p1;10;4; 1,25 \nпрямой;;23;;1ф;220;медь;провод;p1;10;4;\n");
    const Outcome run = Calc("in.csv");
    EXPECT_EQ(run.status, 0);
    const auto rows = Named(run.out);
    EXPECT_EQ(rows.at(0).at("ток_при_кратности_А"), "28,75");
    EXPECT_EQ(rows.at(1).at("ток_при_кратности_А"), "23");
}

TEST_F(KelvoCalc, OptionsAreCheckedOnce) {
    Write("in.csv", kHeader + "\n");
    for (const char* arguments : {"-o '' in.csv", "-o a.csv -o b.csv in.csv", "--bogus", "-o", "in.csv in.csv"}) {
        const Outcome run = Calc(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("Использование: kelvo-calc"), std::string::npos) << arguments;
        EXPECT_EQ(Others({"in.csv"}), std::vector<std::string>{}) << arguments;
    }
    EXPECT_EQ(Calc("--help").status, 0);
    EXPECT_EQ(Calc("--version").status, 0);
}

// Schedules as spreadsheets save them: each comes back in its own encoding, separator and line
// breaks, with the same results.
TEST_F(KelvoCalc, SpreadsheetCsvFilesComeBackInTheirOwnFormat) {
    struct Case {
        const char* file;
        const char* encoding;  // iconv's name, to read the output
        std::string start;     // how the output begins
        std::string line_break;
    };
    const Case cases[] = {
        {"excel-cp1251.csv", "CP1251", "\xF0\xE0\xF1\xF7\xE5\xF2;", "\r\n"},  // "расчет;" in Windows-1251
        {"utf8-bom.csv", "UTF-8", "\xEF\xBB\xBFрасчет;", "\r\n"},
        {"comma.csv", "UTF-8", "расчет,мощность_кВт,", "\n"},
        {"tab.csv", "UTF-8", "расчет\tмощность_кВт\t", "\n"},
    };
    for (const Case& c : cases) {
        const std::string input = std::string(KELVO_FIXTURES) + "/" + c.file;
        const Outcome run = Calc("-o out.csv " + input);
        EXPECT_EQ(run.status, 0) << c.file << run.err;
        const std::string output = Read("out.csv");
        EXPECT_TRUE(output.starts_with(c.start)) << c.file;
        EXPECT_EQ(output.find(c.line_break == "\n" ? "\r\n" : "\n\n"), std::string::npos) << c.file;
        // In UTF-8 on request, the same rows.
        EXPECT_EQ(Calc("--output-encoding utf-8 -o utf8.csv " + input).status, 0);
        const auto rows = Named(Read("utf8.csv"), c.start[c.start.size() - 1]);
        ASSERT_EQ(rows.size(), 3u) << c.file;
        EXPECT_EQ(rows[1].at("мощность_кВт_расчет"), "5,06") << c.file;
        EXPECT_EQ(rows[1].at("ток_при_кратности_А"), "28,75") << c.file;
        EXPECT_EQ(rows[2].at("ток_А_расчет"), "82,8") << c.file;
    }
}

// A workbook as a spreadsheet writes it: numbers as it shows them, shared strings, an empty row
// kept in its place, a second sheet by name; and round trips between the formats keep every
// cell and give the results of the CSV path.
TEST_F(KelvoCalc, WorkbooksInAndOut) {
    const std::string book = std::string(KELVO_FIXTURES) + "/schedule.xlsx";
    const Outcome run = Calc(book);
    EXPECT_EQ(run.status, 0) << run.err;
    const auto rows = Named(run.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].at("мощность_кВт"), "2,5");  // stored as 2.4999999999999996
    EXPECT_EQ(rows[0].at("ток_А_расчет"), "11,36");
    for (const auto& [heading, value] : rows[2]) EXPECT_EQ(value, "") << heading;
    EXPECT_EQ(rows[3].at("ток_А_расчет"), "82,8");
    EXPECT_EQ(Named(Calc("--sheet Второй " + book).out).at(0).at("ток_А_расчет"), "15,19");

    const std::string csv = std::string(KELVO_FIXTURES) + "/excel-cp1251.csv";
    ASSERT_EQ(Calc("--output-encoding utf-8 -o direct.csv " + csv).status, 0);
    ASSERT_EQ(Calc("-o result.xlsx " + csv).status, 0);
    ASSERT_EQ(Calc("-o again.csv result.xlsx").status, 0);
    ASSERT_EQ(Calc("-o again.xlsx again.csv").status, 0);
    ASSERT_EQ(Calc("-o third.csv again.xlsx").status, 0);
    const Records direct = Parse(Read("direct.csv")), again = Parse(Read("again.csv")),
                  third = Parse(Read("third.csv"));
    ASSERT_EQ(again.size(), direct.size());
    ASSERT_EQ(third.size(), direct.size());
    for (std::size_t r = 0; r < direct.size(); ++r) {
        // The workbook's cells are the CSV path's output; calculated once more, the same results.
        ASSERT_EQ(again[r].size(), direct[r].size() + kResultCount) << r;
        EXPECT_EQ(Records::value_type(again[r].begin(), again[r].begin() + direct[r].size()), direct[r]) << r;
        if (r > 0) {
            EXPECT_EQ(Records::value_type(again[r].begin() + direct[r].size(), again[r].end()),
                      Records::value_type(direct[r].begin() + 12, direct[r].end()))
                << r;
        }
        EXPECT_EQ(Records::value_type(third[r].begin(), third[r].begin() + again[r].size()), again[r]) << r;
    }
}

// Workbooks that cannot be read are said so, exit 2, and nothing is written.
TEST_F(KelvoCalc, WorkbooksThatCannotBeRead) {
    const std::string fixtures = std::string(KELVO_FIXTURES) + "/";
    const std::pair<std::string, std::string> cases[] = {
        {"damaged.xlsx", "поврежден"},
        {"compound.xls", "старого формата .xls"},
        {"empty.xlsx", "нет строки заголовка"},
        {"--sheet Нет schedule.xlsx", "нет листа «Нет»; листы: «Журнал» «Второй»"},
    };
    for (const auto& [arguments, message] : cases) {
        Write("s.out", "earlier result\n");
        const std::string line =
            arguments.starts_with("--") ? "--sheet Нет " + fixtures + "schedule.xlsx" : fixtures + arguments;
        const Outcome run = Calc("-o s.out " + line);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find(message), std::string::npos) << arguments << run.err;
        EXPECT_EQ(Read("s.out"), "earlier result\n") << arguments;
        EXPECT_EQ(Others({"s.out"}), std::vector<std::string>{}) << arguments;
    }
}

// The workbook writer is loaded when a workbook is first written; when it cannot be, the run
// fails with the reason and the earlier result stays.
TEST_F(KelvoCalc, AWorkbookWriterThatCannotBeLoadedLeavesTheEarlierResult) {
    fs::create_directory(dir_ / "lib");
    Write(std::string("lib/") + KELVO_XLSXWRITER_LIBRARY, "not a library");
    Write("s.xlsx", "earlier result\n");
    Write("in.csv", kHeader + "\n" + kRow + "\n");
    const Outcome run = Calc("-o s.xlsx in.csv", "LD_LIBRARY_PATH=" + (dir_ / "lib").string());
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("не удается загрузить библиотеку записи XLSX"), std::string::npos) << run.err;
    EXPECT_EQ(Read("s.xlsx"), "earlier result\n");
    EXPECT_EQ(Others({"s.xlsx", "in.csv", "lib"}), std::vector<std::string>{});
}

// The disconnection check: its columns before the message, a line whose breaker does not trip
// in time counted on standard error and making the exit status 1.
TEST_F(KelvoCalc, ALineWhoseBreakerDoesNotTripInTimeIsSaid) {
    Write("s.csv", kHeader + ";сопротивление_петли_Ом;характеристика\r\n" + kRow + ";0,3;C\r\n" +
                       "обратный;;;2,5;1ф;220;медь;провод;p1;50;;;0,3;C\r\n");
    const Outcome run = Calc("s.csv");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("строк, в которых отключение при КЗ не обеспечено: 1"), std::string::npos) << run.err;
    const auto rows = Named(run.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].at("отключение"), "обеспечено");
    EXPECT_EQ(rows[1].at("отключение"), "не обеспечено");
    EXPECT_EQ(rows[1].at("ток_КЗ_А"), "192,98");
    EXPECT_EQ(rows[1].at("ток_отключения_А"), "300");
    EXPECT_EQ(rows[1].at("сообщение"), "");
    const auto header = Parse(run.out)[0];
    EXPECT_EQ(header.back(), "сообщение");
    EXPECT_EQ(header[header.size() - 2], "сечение_по_отключению_мм2");
}

}  // namespace
}  // namespace kelvo::schedule

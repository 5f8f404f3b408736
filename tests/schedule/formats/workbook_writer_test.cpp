// Results written by the real kelvo-calc when things go wrong: a disk that fills, a device that
// takes nothing, texts that XML cannot hold, an output that is the input, names at the limit and
// links that lead nowhere. Whatever happens, the earlier file is as it was or the new one is
// complete, and what is said is the program's own Russian.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>

#include "tests/schedule/formats/workbook_maker.h"

namespace kelvo::schedule::testing {
namespace {

std::string Schedule(std::size_t rows, const std::string& extra_header = "", const std::string& extra = "") {
    std::string text =
        "расчет;мощность_кВт;ток_А;сечение_мм2;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%;"
        "кратность" +
        extra_header + "\r\n";
    for (std::size_t i = 0; i < rows; ++i)
        text += "прямой;" + std::to_string(1 + i % 40) + ",5;;;1ф;220;медь;провод;p1;15;4;1" + extra + "\r\n";
    return text;
}

class WorkbookWriter : public Scratch {};

// What every spreadsheet format written promises, once per format.
class SheetWriter : public Scratch, public ::testing::WithParamInterface<std::string> {
protected:
    std::string Named(const std::string& stem) const { return stem + GetParam(); }
};

TEST_P(SheetWriter, AFullDiskNeverCostsTheEarlierResult) {
    const std::string result = Named("res"), earlier = Named("good");
    Write("s.csv", Schedule(20000));
    ASSERT_EQ(RunCalc(dir_, {"-o", earlier, "s.csv"}).status, 0);
    const std::string good = Read(earlier);
    // The disk fills at each of these sizes of a file (the result's and a library's temporary
    // files alike): before the sheet is written, within it, and at its very end.
    const auto size = static_cast<rlim_t>(good.size());
    for (const rlim_t limit : {rlim_t{16} << 10, size / 4, size / 2, size - 1}) {
        SCOPED_TRACE(limit);
        Write(result, good);
        const CalcRun run = RunCalc(dir_, {"-o", result, "s.csv"}, "/dev/null", "", [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        });
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("не удалось записать «" + result + "»"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("[ERROR]"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Error"), std::string::npos) << run.err;
        EXPECT_TRUE(Read(result) == good);
        EXPECT_EQ(Others({"s.csv", earlier, result}), std::vector<std::string>{});
    }
}

TEST_F(WorkbookWriter, ADeviceThatTakesNothingSaysWhy) {
    Write("s.csv", Schedule(3));
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-o", "/dev/full", "s.csv"}, std::vector<std::string>{"s.csv"}}) {
        const CalcRun run = RunCalc(dir_, arguments, "/dev/null", "/dev/full");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(std::string("ошибка записи: ") + std::strerror(ENOSPC)), std::string::npos) << run.err;
    }
}

TEST_P(SheetWriter, TextsXmlCannotHoldComeBackAsTheFormatKeepsThem) {
    const std::vector<std::string> texts = {
        std::string("nul\0inside", 10), "bell\x07 and \x1f unit", "\xEF\xBF\xBE and \xEF\xBF\xBF",
        "_x0041_ stays as typed",       "tab\tand\rreturn",       std::string(40000, 'z')};
    std::string input = Schedule(0, ";примечание");
    for (const std::string& text : texts) input += "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;\"" + text + "\"\r\n";
    input += "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;not \xFF utf-8\r\n";
    Write("s.csv", input);
    const CalcRun written = RunCalc(dir_, {"--encoding", "utf-8", "-o", Named("r"), "s.csv"});
    EXPECT_EQ(written.status, 1) << written.err;  // the row that is not UTF-8
    const CalcRun read = RunCalc(dir_, {"-o", "back.csv", Named("r")});
    ASSERT_EQ(read.status, 0) << read.err;  // U+FFFD stands for the bytes now
    const std::string back = Read("back.csv");
    for (const std::string& text : texts) {
        std::string expected = text.size() > 32767 ? text.substr(0, 32767) : text;
        // An OpenDocument file has no escapes: what XML cannot hold comes back as U+FFFD.
        if (GetParam() == ".ods") {
            for (const char* gone : {"\xEF\xBF\xBE", "\xEF\xBF\xBF"})
                for (auto at = expected.find(gone); at != std::string::npos; at = expected.find(gone))
                    expected.replace(at, 3, "\xEF\xBF\xBD");
            for (std::size_t i = 0; i < expected.size(); ++i)
                if (static_cast<unsigned char>(expected[i]) < 0x20 && expected[i] != '\t' && expected[i] != '\r')
                    expected.replace(i, 1, "\xEF\xBF\xBD");
        }
        EXPECT_NE(back.find(expected), std::string::npos) << text.substr(0, 20);
    }
    EXPECT_NE(back.find("not \xEF\xBF\xBD utf-8"), std::string::npos);
}

TEST_F(WorkbookWriter, StandardOutputOntoTheInputIsRefused) {
    const std::string input = Schedule(2000);
    Write("l.csv", input);
    const CalcRun appended = RunCalc(dir_, {"l.csv"}, "/dev/null", Path("l.csv"));
    EXPECT_EQ(appended.status, 2);
    EXPECT_NE(appended.err.find("стандартный вывод — это входной файл"), std::string::npos) << appended.err;
    EXPECT_TRUE(Read("l.csv") == input);
}

// A row wider than a sheet (a header of 17 000 columns) cannot be written: exit 2, the earlier
// result kept.
TEST_P(SheetWriter, RowsWiderThanASheetAreRefused) {
    std::string wide;
    for (int i = 0; i < 17000; ++i) wide += ";h" + std::to_string(i);
    Write("s.csv", Schedule(1, wide));
    Write(Named("res"), "earlier");
    const CalcRun run = RunCalc(dir_, {"-o", Named("res"), "s.csv"});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("больше столбцов"), std::string::npos) << run.err;
    EXPECT_EQ(Read(Named("res")), "earlier");
}

TEST_P(SheetWriter, LongNamesAreWritten) {
    Write("s.csv", Schedule(2));
    const std::string long_name = Named(std::string(251 - GetParam().size(), 'r'));  // near the longest a name may be
    const CalcRun long_run = RunCalc(dir_, {"-o", long_name, "s.csv"});
    EXPECT_EQ(long_run.status, 0) << long_run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(Path(long_name)));
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, SheetWriter, ::testing::Values(".xlsx", ".ods"),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param.substr(1); });

TEST_F(WorkbookWriter, LinksThatLeadNowhere) {
    Write("s.csv", Schedule(2));
    ASSERT_EQ(::symlink("target/result.csv", Path("link.csv").c_str()), 0);
    std::filesystem::create_directory(Path("target"));
    const CalcRun linked = RunCalc(dir_, {"-o", "link.csv", "s.csv"});
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.csv")));
    EXPECT_NE(Read("target/result.csv").find("сообщение"), std::string::npos);

    ASSERT_EQ(::symlink("loop-b", Path("loop-a").c_str()), 0);
    ASSERT_EQ(::symlink("loop-a", Path("loop-b").c_str()), 0);
    const CalcRun loop = RunCalc(dir_, {"-o", "loop-a", "s.csv"});
    EXPECT_EQ(loop.status, 2);
    EXPECT_TRUE(std::filesystem::is_symlink(Path("loop-a")));
}

}  // namespace
}  // namespace kelvo::schedule::testing

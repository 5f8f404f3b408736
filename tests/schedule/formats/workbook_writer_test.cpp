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

TEST_F(WorkbookWriter, AFullDiskNeverCostsTheEarlierResult) {
    Write("s.csv", Schedule(20000));
    ASSERT_EQ(RunCalc(dir_, {"-o", "good.xlsx", "s.csv"}).status, 0);
    const std::string good = Read("good.xlsx");
    // The disk fills at each of these sizes of a file (the result's and the library's temporary
    // files alike): before the sheet is written, within it, and while it is packed.
    for (const rlim_t limit : {rlim_t{16} << 10, rlim_t{256} << 10, rlim_t{1} << 20, rlim_t{2} << 20}) {
        SCOPED_TRACE(limit);
        Write("res.xlsx", good);
        const CalcRun run = RunCalc(dir_, {"-o", "res.xlsx", "s.csv"}, "/dev/null", "", [limit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &size);
        });
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find("не удалось записать «res.xlsx»"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("[ERROR]"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Error"), std::string::npos) << run.err;
        EXPECT_TRUE(Read("res.xlsx") == good);
        EXPECT_EQ(Others({"s.csv", "good.xlsx", "res.xlsx"}), std::vector<std::string>{});
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

TEST_F(WorkbookWriter, TextsXmlCannotHoldComeBackWhole) {
    const std::vector<std::string> texts = {
        std::string("nul\0inside", 10), "bell\x07 and \x1f unit", "\xEF\xBF\xBE and \xEF\xBF\xBF",
        "_x0041_ stays as typed",       "tab\tand\rreturn",       std::string(40000, 'z')};
    std::string input = Schedule(0, ";примечание");
    for (const std::string& text : texts) input += "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;\"" + text + "\"\r\n";
    input += "прямой;2,5;;;1ф;220;медь;провод;p1;15;4;1;not \xFF utf-8\r\n";
    Write("s.csv", input);
    const CalcRun written = RunCalc(dir_, {"--encoding", "utf-8", "-o", "r.xlsx", "s.csv"});
    EXPECT_EQ(written.status, 1) << written.err;  // the row that is not UTF-8
    const CalcRun read = RunCalc(dir_, {"-o", "back.csv", "r.xlsx"});
    ASSERT_EQ(read.status, 0) << read.err;  // U+FFFD stands for the bytes now
    const std::string back = Read("back.csv");
    for (const std::string& text : texts) {
        const std::string expected = text.size() > 32767 ? text.substr(0, 32767) : text;
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

TEST_F(WorkbookWriter, LongNamesAndLinksThatLeadNowhere) {
    Write("s.csv", Schedule(2));
    const std::string long_name = std::string(246, 'r') + ".xlsx";  // 251 bytes, near the longest a name may be
    const CalcRun long_run = RunCalc(dir_, {"-o", long_name, "s.csv"});
    EXPECT_EQ(long_run.status, 0) << long_run.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(Path(long_name)));

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

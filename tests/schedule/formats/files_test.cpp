// The result file replaced only when complete: the target is as it was until Commit, then whole;
// nothing is left behind when the output is dropped; the target's permissions are kept; a link is
// written through; a device is written directly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "schedule/formats/files.h"
#include "schedule/schedule_file.h"
#include "tests/support/scratch.h"

namespace kelvo::schedule {
namespace {

namespace fs = std::filesystem;

class AtomicOutputTest : public kelvo::testing::Scratch {
protected:
    std::size_t Entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {})); }
};

TEST_F(AtomicOutputTest, TheTargetChangesOnlyWhenCommitted) {
    std::ofstream(Path("r.csv")) << "earlier";
    ::chmod(Path("r.csv").c_str(), 0640);
    {
        AtomicOutput output(Path("r.csv"));
        ASSERT_GE(output.fd(), 0) << output.error();
        ASSERT_EQ(::write(output.fd(), "new", 3), 3);
        EXPECT_EQ(Read("r.csv"), "earlier");
        EXPECT_EQ(Entries(), 2u);  // the hidden temporary file beside it
    }
    EXPECT_EQ(Read("r.csv"), "earlier");  // dropped uncommitted
    EXPECT_EQ(Entries(), 1u);
    AtomicOutput output(Path("r.csv"));
    ASSERT_EQ(::write(output.fd(), "new", 3), 3);
    ASSERT_TRUE(output.Commit()) << output.error();
    EXPECT_EQ(Read("r.csv"), "new");
    struct stat status {};
    ASSERT_EQ(::stat(Path("r.csv").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicOutputTest, LinksLongNamesFoldersAndDevices) {
    fs::create_directory(Path("to"));
    ASSERT_EQ(::symlink("to/file.csv", Path("link").c_str()), 0);  // leads to a file not made yet
    AtomicOutput through(Path("link"));
    ASSERT_EQ(::write(through.fd(), "x", 1), 1);
    ASSERT_TRUE(through.Commit()) << through.error();
    EXPECT_TRUE(fs::is_symlink(Path("link")));
    EXPECT_EQ(Read("to/file.csv"), "x");

    const std::string longest(255, 'n');  // the longest name a folder holds
    AtomicOutput named(Path(longest));
    ASSERT_GE(named.fd(), 0) << named.error();
    ASSERT_TRUE(named.Commit()) << named.error();
    EXPECT_TRUE(fs::exists(Path(longest)));

    EXPECT_LT(AtomicOutput(Path("to")).fd(), 0);  // a folder is no result
    AtomicOutput device("/dev/null");
    EXPECT_TRUE(device.TemporaryPath().empty());
    EXPECT_TRUE(device.Commit());
}

// A schedule that grows or shrinks while it is read is a fault, never rows that are not the file's.
TEST_F(AtomicOutputTest, AFileThatChangesWhileReadIsAFault) {
    for (const bool grows : {true, false}) {
        std::string text = "расчет;мощность_кВт;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%\n";
        for (int i = 0; i < 20000; ++i) text += "прямой;2,5;1ф;220;медь;провод;p1;15;4\n";
        std::ofstream(Path("s.csv"), std::ios::binary) << text;
        std::string error;
        const auto input = ScheduleInput::Open(Path("s.csv"), {}, error);
        ASSERT_TRUE(input) << error;
        std::vector<std::string_view> fields;
        ASSERT_EQ(input->Reader().Next(fields), TableReader::Result::Record);
        if (grows)
            std::ofstream(Path("s.csv"), std::ios::binary | std::ios::app) << text;
        else
            fs::resize_file(Path("s.csv"), text.size() / 2);
        while (input->Reader().Next(fields) == TableReader::Result::Record) {
        }
        EXPECT_NE(input->Reader().Fault().find("изменился во время чтения"), std::string::npos) << grows;
    }
}

}  // namespace
}  // namespace kelvo::schedule

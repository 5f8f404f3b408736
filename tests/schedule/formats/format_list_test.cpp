// The one list of formats: every format it names is offered where a person meets the formats (the
// desktop entry's media types), and a name's ending chooses its format whatever its case.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "schedule/formats/format_list.h"

namespace kelvo::schedule {
namespace {

TEST(FormatList, TheDesktopEntryOpensEveryFormat) {
    std::ifstream file(KELVO_DESKTOP_ENTRY);
    std::stringstream entry;
    entry << file.rdbuf();
    ASSERT_FALSE(entry.str().empty());
    for (const FileFormat& format : FileFormats())
        EXPECT_NE(entry.str().find(std::string(format.media_type) + ";"), std::string::npos) << format.name;
}

TEST(FormatList, NamesChooseFormats) {
    struct Case {
        const char* path;
        TableFormat::Kind read, written;
    };
    for (const Case c : {Case{"a.XLSX", TableFormat::Kind::Xlsx, TableFormat::Kind::Xlsx},
                         Case{"a.xlsm", TableFormat::Kind::Xlsx, TableFormat::Kind::Csv},
                         Case{"dir.ods/a.Ods", TableFormat::Kind::Ods, TableFormat::Kind::Ods},
                         Case{"a.TSV", TableFormat::Kind::Csv, TableFormat::Kind::Csv}}) {
        ASSERT_NE(FormatNamedBy(c.path), nullptr) << c.path;
        EXPECT_EQ(FormatNamedBy(c.path)->kind, c.read) << c.path;
        EXPECT_EQ(OutputFormatOf(c.path).kind, c.written) << c.path;
    }
    EXPECT_EQ(FormatNamedBy("result"), nullptr);
    EXPECT_EQ(OutputFormatOf("result").kind, TableFormat::Kind::Csv);
    EXPECT_EQ(WrittenEndings("|"), ".csv|.xlsx|.ods");
}

}  // namespace
}  // namespace kelvo::schedule

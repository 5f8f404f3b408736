// Golden schedules: every input file under golden/ is calculated as kelvo-calc calculates it (its
// format found from the file, the result as CSV in the input's encoding and separator, or ";"
// and UTF-8 for a workbook) and compared with NAME.expected.csv beside it, byte for byte, so that a
// change of behaviour shows as a diff of a file a person can read. KELVO_GOLDEN_UPDATE=1 writes
// the expected files anew from what the program does now.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "schedule/schedule_file.h"
#include "schedule/formats/csv/csv_table.h"
#include "schedule/run.h"

namespace kelvo::schedule {
namespace {

namespace fs = std::filesystem;

std::string Calculated(const fs::path& input) {
    std::string error;
    const auto opened = ScheduleInput::Open(input.string(), {}, error);
    if (!opened) return "error: " + error + "\n";
    std::ostringstream out;
    const auto writer = MakeCsvWriter(out);
    ProcessSchedule(opened->Reader(), *writer);
    writer->Finish(error);
    return out.str();
}

std::string ReadAll(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Golden, EveryScheduleGivesItsExpectedResult) {
    const bool update = std::getenv("KELVO_GOLDEN_UPDATE") != nullptr;
    std::size_t compared = 0;
    for (const auto& entry : fs::directory_iterator(KELVO_GOLDEN)) {
        const fs::path input = entry.path();
        if (input.filename().string().find(".expected.") != std::string::npos) continue;
        const fs::path expected = input.parent_path() / (input.stem().string() + ".expected.csv");
        const std::string result = Calculated(input);
        if (update) std::ofstream(expected, std::ios::binary) << result;
        EXPECT_TRUE(fs::exists(expected)) << expected;
        EXPECT_TRUE(result == ReadAll(expected)) << input.filename() << ": differs from " << expected.filename();
        ++compared;
    }
    EXPECT_GE(compared, 5u);
}

}  // namespace
}  // namespace kelvo::schedule

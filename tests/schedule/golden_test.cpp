// Golden schedules: every input file under golden/ is calculated as kelvo-calc calculates it (its
// format found from the file, the result as CSV in the input's encoding and separator, or ";"
// and UTF-8 for a workbook) and compared with NAME.expected.csv beside it, byte for byte, so that a
// change of behaviour shows as a diff of a file a person can read. KELVO_GOLDEN_UPDATE=1 writes
// the expected files anew from what the program does now.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

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

// The lines that differ, as a person reads a diff: the first few, each with its number.
std::string Differences(const std::string& expected, const std::string& result) {
    std::istringstream want(expected), got(result);
    std::string report, a, b;
    int shown = 0;
    for (std::size_t line = 1; shown < 5 && (want.good() || got.good()); ++line) {
        const bool more_a = static_cast<bool>(std::getline(want, a)), more_b = static_cast<bool>(std::getline(got, b));
        if (!more_a && !more_b) break;
        if (more_a && more_b && a == b) continue;
        report += "line " + std::to_string(line) + ":\n  - " + (more_a ? a : "(none)") + "\n  + " +
                  (more_b ? b : "(none)") + "\n";
        ++shown;
    }
    return report;
}

std::vector<std::string> GoldenInputs() {
    std::vector<std::string> inputs;
    for (const auto& entry : fs::directory_iterator(KELVO_GOLDEN))
        if (entry.path().filename().string().find(".expected.") == std::string::npos)
            inputs.push_back(entry.path().filename().string());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, GivesItsExpectedResult) {
    const fs::path input = fs::path(KELVO_GOLDEN) / GetParam();
    const fs::path expected = input.parent_path() / (input.stem().string() + ".expected.csv");
    const std::string result = Calculated(input);
    if (std::getenv("KELVO_GOLDEN_UPDATE") != nullptr) std::ofstream(expected, std::ios::binary) << result;
    ASSERT_TRUE(fs::exists(expected)) << expected;
    const std::string wanted = ReadAll(expected);
    EXPECT_TRUE(result == wanted) << expected.filename() << " differs:\n" << Differences(wanted, result);
    // The same under a C library set to a Russian locale (a decimal comma), as the window's toolkit
    // sets it on a Russian system: a file's numbers never depend on it.
    if (std::setlocale(LC_NUMERIC, "ru_RU.UTF-8")) {
        const std::string russian = Calculated(input);
        std::setlocale(LC_NUMERIC, "C");
        EXPECT_TRUE(russian == wanted) << "with a Russian locale:\n" << Differences(wanted, russian);
    }
}

INSTANTIATE_TEST_SUITE_P(Schedules, Golden, ::testing::ValuesIn(GoldenInputs()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name;
                             for (const char c : info.param)
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace
}  // namespace kelvo::schedule

// kelvo-calc's usage text is written once, in the program; the README quotes it whole, and this
// checks that the quotation is the text the program prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Output(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

TEST(Usage, TheReadmeQuotesTheHelpTheProgramPrints) {
    const std::string help = Output(std::string(KELVO_CALC) + " --help");
    ASSERT_GT(help.size(), 1000u);
    std::ifstream file(KELVO_README);
    std::stringstream readme;
    readme << file.rdbuf();
    EXPECT_NE(readme.str().find("```text\n" + help + "```\n"), std::string::npos)
        << "README.md should quote `kelvo-calc --help` whole in a ```text block; the program prints:\n"
        << help;
}

}  // namespace

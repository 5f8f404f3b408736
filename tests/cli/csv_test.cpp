#include "cli/csv.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelvo::cli {
namespace {

std::vector<std::vector<std::string>> ReadAll(const std::string& text) {
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    for (;;) {
        const auto result = reader.Next(fields);
        if (result == CsvReader::Result::End) break;
        records.push_back(result == CsvReader::Result::TooLong ? std::vector<std::string>{"<too long>"} : fields);
    }
    return records;
}

using Records = std::vector<std::vector<std::string>>;

TEST(CsvReader, FieldsQuotesAndLineBreaks) {
    const std::pair<std::string, Records> cases[] = {
        {"a;b;c\n1;2;3\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
        {"\xEF\xBB\xBF" "a;b\r\n1;2\r\n", {{"a", "b"}, {"1", "2"}}},
        {"a;b", {{"a", "b"}}},
        {"\"x;y\";\"say \"\"hi\"\"\";\"two\nlines\"\n", {{"x;y", "say \"hi\"", "two\nlines"}}},
        {";;\n", {{"", "", ""}}},
        {"\n\n", {{""}, {""}}},
        {"a\rb\n", {{"a"}, {"b"}}},
        {"12,5;\"2,5\"\n", {{"12,5", "2,5"}}},
        {"\xEF\xBB" "x\n", {{"\xEF\xBB" "x"}}},  // not a byte-order mark: kept
        {"", {}},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReadAll(text), expected) << text;
}

TEST(CsvReader, TooLongRecordIsReportedAndSkipped) {
    const std::string huge(CsvReader::kMaxRecordBytes + 10, 'x');
    const Records records = ReadAll("a;b\n" + huge + ";\"" + huge + "\n;\"\n1;2\n");
    EXPECT_EQ(records, Records({{"a", "b"}, {"<too long>"}, {"1", "2"}}));
}

TEST(CsvWriter, RoundTrip) {
    const std::vector<std::string> fields = {"plain", "with;semicolon", "with \"quotes\"", "two\nlines",
                                             "", " padded ", "2,5", "нет"};
    std::ostringstream out;
    WriteCsvRecord(out, fields);
    EXPECT_EQ(out.str(), "plain;\"with;semicolon\";\"with \"\"quotes\"\"\";\"two\nlines\";;\" padded \";2,5;нет\r\n");
    EXPECT_EQ(ReadAll(out.str()), Records({fields}));
}

TEST(Utf8, Validation) {
    EXPECT_TRUE(IsValidUtf8("медь 2,5 мм²"));
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_FALSE(IsValidUtf8("\xD0"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xFF"));
}

}  // namespace
}  // namespace kelvo::cli

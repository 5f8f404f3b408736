#include "schedule/formats/csv/csv.h"
#include "schedule/formats/text/utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <sstream>
#include <tuple>

namespace kelvo::schedule {
namespace {

std::vector<std::vector<std::string>> ReadAll(const std::string& text) {
    std::istringstream in(text);
    CsvReader reader(in);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string_view> fields;
    for (;;) {
        const auto result = reader.Next(fields);
        if (result == CsvReader::Result::End) break;
        if (result == CsvReader::Result::UnclosedQuote) {
            records.push_back({"<unclosed>"});
            break;
        }
        records.push_back(result == CsvReader::Result::TooLong
                              ? std::vector<std::string>{"<too long>"}
                              : std::vector<std::string>(fields.begin(), fields.end()));
    }
    return records;
}

using Records = std::vector<std::vector<std::string>>;

TEST(CsvReader, FieldsQuotesAndLineBreaks) {
    // clang-format off
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
        {"a;b\n\"open;c\nd\n", {{"a", "b"}, {"<unclosed>"}}},
        {"a;\"b\"\"", {{"<unclosed>"}}},
    };
    // clang-format on
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReadAll(text), expected) << text;
}

TEST(CsvReader, TooLongRecordIsReportedAndSkipped) {
    const std::string huge(CsvReader::kMaxRecordBytes + 10, 'x');
    const Records records = ReadAll("a;b\n" + huge + ";\"" + huge + "\n;\"\n1;2\n");
    EXPECT_EQ(records, Records({{"a", "b"}, {"<too long>"}, {"1", "2"}}));
    // Separators alone count towards the length too.
    const std::string separators(CsvReader::kMaxRecordBytes + 10, ';');
    EXPECT_EQ(ReadAll("a;b\n" + separators + "\n1;2\n"), Records({{"a", "b"}, {"<too long>"}, {"1", "2"}}));
}

// A record over the limit is handed on as it was read, with the split where a field begins,
// whether that field begins before the limit or after it.
TEST(CsvReader, PassThroughKeepsTheBytesAndSplitsAtAField) {
    const std::string huge(CsvReader::kMaxRecordBytes, 'x');
    const std::string early = "a;\"b;\"\"c\";" + huge + ";d;e";
    const std::string late = huge + ";\"q\nq\";r;s";
    for (const auto& [record, field, before] :
         {std::tuple{early, 3, std::string("a;\"b;\"\"c\";") + huge}, {late, 2, huge + ";\"q\nq\""}}) {
        std::istringstream in(record + "\r\n1;2\n");
        CsvReader reader(in);
        std::vector<std::string_view> fields;
        ASSERT_EQ(reader.Next(fields), CsvReader::Result::TooLong);
        std::string passed;
        std::size_t split_at = std::string::npos;
        const auto result = reader.PassThrough([&](std::string_view bytes) { passed += bytes; }, field,
                                               [&] { split_at = passed.size(); });
        EXPECT_EQ(passed, record);
        EXPECT_EQ(split_at, before.size());
        EXPECT_EQ(result.fields, field + 2u);
        EXPECT_FALSE(result.unclosed_quote);
        ASSERT_EQ(reader.Next(fields), CsvReader::Result::Record);
        EXPECT_EQ(reader.RecordLine(), field == 2 ? 3u : 2u);
        EXPECT_EQ(std::vector<std::string>(fields.begin(), fields.end()), std::vector<std::string>({"1", "2"}));
    }
}

TEST(CsvWriter, RoundTrip) {
    const std::vector<std::string> fields = {
        "plain", "with;semicolon", "with \"quotes\"", "two\nlines", "", " padded ", "2,5", "нет"};
    std::ostringstream out;
    CsvWriter(out).Record(fields);
    EXPECT_EQ(out.str(), "plain;\"with;semicolon\";\"with \"\"quotes\"\"\";\"two\nlines\";;\" padded \";2,5;нет\r\n");
    EXPECT_EQ(ReadAll(out.str()), Records({fields}));
}

// Many generated records, so that records, quotes and line breaks fall across every place where
// the reader refills its buffer: what is written is read back field for field.
TEST(CsvWriter, LongRoundTripAcrossBufferRefills) {
    const std::string pieces[] = {"", "plain", "a;b", "q\"q", "two\nlines", " lead", "медь", "2,5", "\r", "x\r\n"};
    std::uint32_t state = 12345;
    auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 16) & 0x7FFF; };
    Records records;
    std::ostringstream out;
    {
        CsvWriter writer(out);
        for (int r = 0; r < 30000; ++r) {
            std::vector<std::string> record(1 + next() % 6);
            for (auto& field : record) field = pieces[next() % std::size(pieces)] + pieces[next() % std::size(pieces)];
            writer.Record(record);
            records.push_back(record);
        }
    }
    ASSERT_GT(out.str().size(), 4u << 16);
    EXPECT_EQ(ReadAll(out.str()), records);

    // Plain records with either line break, as a spreadsheet or a script writes them.
    std::string plain;
    Records expected;
    for (int r = 0; r < 30000; ++r) {
        std::vector<std::string> record(1 + next() % 6);
        for (std::size_t f = 0; f < record.size(); ++f) {
            record[f] = std::string(next() % 4, 'a' + static_cast<char>(f));
            plain += (f ? ";" : "") + record[f];
        }
        plain += next() % 2 ? "\r\n" : "\n";
        expected.push_back(record);
    }
    EXPECT_EQ(ReadAll(plain), expected);
}

// Fields written several at a time come out as written one by one, whatever they hold and
// whichever the separator (with "," a decimal comma needs quotes).
TEST(CsvWriter, FieldsAtOnceAsOneByOne) {
    const std::string pieces[] = {"",   "2,5", "по длительному току", "a;b", "q\"q", "\r", "\n", " ",
                                  "\t", "16",  "0123456789abcdef",    "x"};
    std::uint32_t state = 777;
    auto next = [&] { return state = state * 1103515245u + 12345u, (state >> 16) & 0x7FFF; };
    for (const char separator : {';', ',', '\t'}) {
        std::ostringstream one_by_one, at_once;
        {
            CsvWriter single(one_by_one, separator), batch(at_once, separator);
            for (int r = 0; r < 5000; ++r) {
                std::vector<std::string> record(next() % 14);
                for (auto& field : record)
                    field = pieces[next() % std::size(pieces)] + pieces[next() % std::size(pieces)];
                const std::vector<std::string_view> views(record.begin(), record.end());
                const std::size_t split = record.empty() ? 0 : next() % record.size();
                for (std::size_t f = 0; f < split; ++f) single.Field(views[f]), batch.Field(views[f]);
                for (std::size_t f = split; f < views.size(); ++f) single.Field(views[f]);
                batch.Fields(std::span(views).subspan(split));
                single.EndRecord();
                batch.EndRecord();
            }
        }
        ASSERT_EQ(at_once.str(), one_by_one.str()) << "separator " << separator;
    }
}

TEST(Utf8, Validation) {
    // clang-format off
    const std::pair<std::string, bool> cases[] = {
        {"медь 2,5 мм²", true},
        {"", true},
        {"eight ch" "медь" "ascii again, long", true},
        {"\xD0", false},                       // cut short
        {"0123456789abcdef\xD0", false},       // cut short after a long plain run
        {"\xC0\xAF", false},                   // overlong
        {"\xED\xA0\x80", false},               // a surrogate
        {"\xF4\x90\x80\x80", false},           // beyond U+10FFFF
        {"\xFF", false},
        {"01234567\xFF" "01234567", false},     // a bad byte between two plain runs
    };
    // clang-format on
    for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidUtf8(text), valid) << text;
}

// UTF-8 decoded character by character, the way the standard defines it.
bool DecodesAsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t code = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07;
        } else if (lead >= 0x80) {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) return false;
        if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return false;
        i += length;
    }
    return true;
}

TEST(Utf8, AgreesWithDecodingOnMixedTexts) {
    // Texts of Russian, plain, longer characters and stray bytes at every alignment, whole and
    // cut in two (the state carried across the cut, as between two read buffers). The first seven
    // pieces are whole characters, the rest stray bytes.
    const std::string_view pieces[] = {
        "a",    "abcdefgh", "медь", "ё",    "€",    "\xF0\x9F\x98\x80", "\xED\x9F\xBF", "\xE0\xA0\x80", "\x80",
        "\xBF", "\xC0",     "\xC2", "\xD0", "\xE0", "\xED\xA0",         "\xF4",         "\xFF"};
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const std::size_t count = next() % 40;
        const bool stray = next() % 4 == 0;  // most texts valid, so that long runs are checked
        for (std::size_t k = 0; k < count; ++k) text += pieces[next() % (stray ? std::size(pieces) : 7)];
        const bool valid = DecodesAsUtf8(text);
        ASSERT_EQ(IsValidUtf8(text), valid) << text;
        const std::size_t cut = text.empty() ? 0 : next() % text.size();
        const std::uint8_t state = Utf8State(Utf8State(0, text.substr(0, cut)), std::string_view(text).substr(cut));
        ASSERT_EQ(state == 0, valid) << text << " cut at " << cut;
    }
}

}  // namespace
}  // namespace kelvo::schedule

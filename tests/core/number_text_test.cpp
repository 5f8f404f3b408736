#include "core/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cmath>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/permissible_current.h"
#include "core/protection.h"
#include "core/voltage_loss.h"

namespace kelvo {
namespace {

struct ReadCase {
    const char* text;
    std::optional<double> value;
};

TEST(ReadNumber, UserNotation) {
    // clang-format off
    const ReadCase cases[] = {
        {"2,5", 2.5},     {"12,5", 12.5},  {"0,92", 0.92},  {"23,45", 23.45}, {"5", 5},
        {"12,", 12},      {",5", 0.5},     {" 7 ", 7},      {"\t3,5", 3.5},   {"-1", -1},
        {"-0,25", -0.25}, {"0", 0},        {"007", 7},      {"2.5", {}},      {"", {}},
        {"   ", {}},      {",", {}},       {"-", {}},       {"1,2,3", {}},    {"1 000", {}},
        {"1e3", {}},      {"abc", {}},     {"5a", {}},      {"+5", {}},       {"- 5", {}},
        {"--5", {}},      {"нет", {}},     {"1,111", 1.111}, {"2,5\n", {}},
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(ReadNumber(c.text), c.value) << '"' << c.text << '"';
}

// Random texts of digits, commas, minus signs and spaces: read as the C library reads the same
// text with a point, when it is a number as typed here (a correctly rounded double), and
// nothing otherwise. Long runs of digits take the reader past its quick path.
TEST(ReadNumber, AgreesWithTheLibraryOnRandomTexts) {
    std::mt19937 random(2026);
    const std::string alphabet = "0000123456789,,- ";
    for (int round = 0; round < 200000; ++round) {
        std::string text(random() % (round % 10 == 0 ? 40 : 9), ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        std::string_view body = Trim(text);
        std::string library(body);
        std::optional<double> expected;
        const bool negative = body.starts_with('-');
        if (negative) body.remove_prefix(1);
        const auto comma = body.find(',');
        const bool digits_only = body.find_first_not_of("0123456789,") == std::string_view::npos;
        const bool one_comma = comma == std::string_view::npos || body.find(',', comma + 1) == std::string_view::npos;
        if (digits_only && one_comma && body.find_first_of("0123456789") != std::string_view::npos) {
            std::replace(library.begin(), library.end(), ',', '.');
            expected = std::strtod(library.c_str(), nullptr);
        }
        ASSERT_EQ(ReadNumber(text), expected) << '"' << text << '"';
    }
}

TEST(ReadNumber, ExtremeLengthsStayBounded) {
    EXPECT_EQ(ReadNumber(std::string(10000, '9')), std::nullopt);  // beyond a double
    EXPECT_EQ(ReadNumber("0," + std::string(10000, '0') + "1"), 0.0);
    EXPECT_EQ(ReadNumber("1," + std::string(10000, '0')), 1.0);
    EXPECT_EQ(ReadNumber(std::string(300, '0') + "42"), 42.0);
}

TEST(WriteNumber, ShortestCommaText) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {11.36, "11,36"},  {2.5, "2,5"},         {5, "5"},          {0.1 + 0.2, "0,3"},
        {0, "0"},          {-0.0, "0"},          {-2.5, "-2,5"},    {1e20, "100000000000000000000"},
        {1e-7, "0,0000001"}, {123456789012345678.0, "123456789012346000"},
        {1.0 / 3, "0,333333333333333"},  {20.099, "20,099"},  {4235, "4235"},
    };
    // clang-format on
    for (const auto& [value, text] : cases) EXPECT_EQ(WriteNumber(value), text) << value;
    EXPECT_EQ(WriteNumber(1.0 / 0.0), "");
    EXPECT_EQ(WriteNumber(std::nan("")), "");
}

TEST(RoundHalfEven2, HalvesGoToEven) {
    // clang-format off
    const std::pair<double, double> cases[] = {
        {0.125, 0.12},  {0.375, 0.38},      {11.363636, 11.36}, {15.19387, 15.19},
        {2.675, 2.68},  {0.005, 0.0},       {0.015, 0.02},      {-0.125, -0.12},
        {5, 5},         {0.1808, 0.18},     {99.995, 100},      {1e20, 1e20},
    };
    // clang-format on
    for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundHalfEven2(value), rounded) << value;
}

TEST(Fixed4, FromTextIsExactAndRoundsHalvesToEven) {
    // clang-format off
    const std::pair<const char*, std::int64_t> cases[] = {
        {"28,75", 287500},   {"1,25", 12500},      {"0,00005", 0},      {"0,00015", 2},
        {"0,00025", 2},      {"0,000251", 3},      {"-1,5", -15000},    {"12,", 120000},
        {"922337203685477,5807", 9223372036854775807},
    };
    // clang-format on
    for (const auto& [text, ticks] : cases) {
        const auto value = Fixed4::FromText(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(value->ticks(), ticks) << text;
    }
    EXPECT_FALSE(Fixed4::FromText("922337203685477,5808"));
    EXPECT_FALSE(Fixed4::FromText("2.5"));
    EXPECT_FALSE(Fixed4::FromText(""));
}

TEST(Fixed4, FromDoubleUsesTheShownDigits) {
    // 23 × 0,9 is 20,700000000000003 in binary; the four-place value is 20,7.
    EXPECT_EQ(Fixed4::FromDouble(23 * 0.9)->Text(), "20,7");
    EXPECT_EQ(Fixed4::FromDouble(0.00005)->ticks(), 0);
    EXPECT_EQ(Fixed4::FromDouble(0.00015)->ticks(), 2);
    EXPECT_FALSE(Fixed4::FromDouble(1e30));
    EXPECT_FALSE(Fixed4::FromDouble(std::nan("")));
}

TEST(Fixed4, ProductsAndTexts) {
    struct Case {
        const char *a, *b, *product;
    };
    // clang-format off
    const Case cases[] = {
        {"23", "1,25", "28,75"},   {"14,5", "0,8", "11,6"}, {"605", "7", "4235"},
        {"8,01", "1,25", "10,0125"}, {"0,0001", "0,5", "0"},  // 0,00005 -> even
        {"0,0003", "0,5", "0,0002"}, {"-2", "3,15", "-6,3"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto product = Fixed4::FromText(c.a)->Times(*Fixed4::FromText(c.b));
        ASSERT_TRUE(product);
        EXPECT_EQ(product->Text(), c.product) << c.a << " x " << c.b;
    }
    const auto big = *Fixed4::FromText("900000000000000");
    EXPECT_FALSE(big.Times(*Fixed4::FromText("2")));
    EXPECT_EQ(Fixed4::FromTicks(INT64_MIN).Text(), "-922337203685477,5808");
}

// The quick paths for short numbers must give exactly what working on the shown digits gives.
TEST(NumberText, QuickPathsAgreeWithTheDigits) {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<long long> cents(-1'000'000'000, 1'000'000'000);
    std::uniform_int_distribution<int> shape(0, 5);
    std::uniform_int_distribution<long long> mantissa(1, (1LL << 53) - 1);
    std::uniform_int_distribution<int> power(0, 22);
    for (int i = 0; i < 200000; ++i) {
        double value = 0;
        switch (shape(random)) {
            case 0:
                value = static_cast<double>(cents(random)) / 100;
                break;  // amounts
            case 1:
                value = static_cast<double>(cents(random)) / 1000 + 0.0005;
                break;  // near halves
            case 2:
                value = static_cast<double>(cents(random)) / 7.3;
                break;  // anything
            case 3:
                value = std::ldexp(static_cast<double>(cents(random)), -20);
                break;
            case 4:
                value = static_cast<double>(mantissa(random)) / std::pow(10.0, power(random));
                break;  // every magnitude the whole-number path covers, and beyond
            default:
                value = std::pow(10.0, power(random) - 7) *
                        (1 - std::ldexp(static_cast<double>(cents(random) % 1000), -52));
                break;  // just under a power of ten
        }
        SCOPED_TRACE(value);
        const DecimalDigits shown = DecimalOf(value);
        ASSERT_EQ(WriteNumber(value), FormatDecimal(shown));
        ASSERT_EQ(RoundHalfEven2(value), *ReadNumber(FormatDecimal(RoundDecimal(shown, 2))));
        if (std::fabs(value) < 1e14) {  // the range of the four-decimal type
            const auto fixed = Fixed4::FromDouble(value);
            ASSERT_TRUE(fixed);
            ASSERT_EQ(fixed->ticks(), Fixed4::FromText(FormatDecimal(RoundDecimal(shown, 4)))->ticks());
            ASSERT_EQ(fixed->Text(), FormatDecimal(RoundDecimal(shown, 4)));
        }
        // Reading the written text gives the number back exactly as a point-decimal reader does.
        std::string text = WriteNumber(value);
        const auto read = ReadNumber(text);
        for (char& c : text) c = c == ',' ? '.' : c;
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(*read, expected);
    }
}

// A table's number goes on to the next rule as its value instead of its text: the value must be
// the one the text reads as, for any text of the tables' form and for every table of the program.
TEST(TableNumber, ValueIsWhatTheTextReadsAs) {
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i) {
        std::string text(1 + random() % 15, '0');
        for (char& c : text) c = static_cast<char>('0' + random() % 10);
        if (random() % 3 != 0) text.insert(random() % (text.size() + 1), 1, ',');
        if (text == ",") continue;
        ASSERT_EQ(TableNumber(std::string_view(text)).value, *ReadNumber(text)) << text;
    }
    static_assert(TableNumber("6,3").value == 6.3 && TableNumber("1,111").value == 1.111);
    for (const char* not_table : {"", ",", "2.5", "1,2,3", "-1", " 4", "1234567890123456"})
        EXPECT_THROW(TableTextValue(not_table), std::invalid_argument) << not_table;

    std::vector<TableNumber> numbers;
    for (const auto& row : BreakerRatingSeries()) numbers.push_back(row.result);
    for (const Material material : {Material::Copper, Material::Aluminium}) {
        for (int laying = 0; laying <= static_cast<int>(LayingMethod::k9); ++laying) {
            const auto method = static_cast<LayingMethod>(laying);
            for (const auto& row : PermissibleCurrentTable(material, method).rows()) numbers.push_back(row.result);
            for (const auto& row : VoltageLossTable({material, KindOf(method), method})->rows())
                numbers.push_back(row.result);
        }
    }
    for (const TableNumber& number : numbers) EXPECT_EQ(number.value, *ReadNumber(number.text)) << number.text;
}

}  // namespace
}  // namespace kelvo

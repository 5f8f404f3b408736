// How a spreadsheet shows a number, told from its format code, and a date's serial number written
// as a Russian spreadsheet shows it: the cases where reading the stored value alone would give a
// silent wrong number.
#include <gtest/gtest.h>

#include "schedule/formats/xlsx/number_formats.h"

namespace kelvo::schedule {
namespace {

TEST(NumberFormats, FormatCodesTellPercentsDatesAndNumbers) {
    const std::pair<const char*, CellShown> cases[] = {
        {"General", CellShown::Value},
        {"0.00", CellShown::Value},
        {"#,##0.00\\ \"руб.\"", CellShown::Value},
        {"0.0%", CellShown::Percent},
        {"0%", CellShown::Percent},
        {"\"%\"0.00", CellShown::Value},  // a quoted sign is text
        {"DD.MM.YYYY", CellShown::Date},
        {"dd/mm/yy;@", CellShown::Date},
        {"[$-419]DD MMMM YYYY", CellShown::Date},
        {"h:mm", CellShown::Date},
        {"[h]:mm:ss", CellShown::Date},
        {"[Red]0.00", CellShown::Value},
        {"0.00E+00", CellShown::Value},
        {"mmm", CellShown::Date},
    };
    for (const auto& [code, shown] : cases) EXPECT_EQ(ShownByFormatCode(code), shown) << code;
    EXPECT_EQ(ShownByBuiltInFormat(10), CellShown::Percent);
    EXPECT_EQ(ShownByBuiltInFormat(14), CellShown::Date);
    EXPECT_EQ(ShownByBuiltInFormat(2), CellShown::Value);
}

TEST(NumberFormats, SerialNumbersAsShown) {
    struct Case {
        double serial;
        bool date1904, time_only;
        const char* shown;
    };
    const Case cases[] = {
        {45414, false, false, "02.05.2024"},
        {45363, false, false, "12.03.2024"},
        {1, false, false, "01.01.1900"},
        {59, false, false, "28.02.1900"},
        {60, false, false, "29.02.1900"},
        {61, false, false, "01.03.1900"},
        {45363.5, false, false, "12.03.2024 12:00"},
        {0.3541666666666667, false, true, "08:30"},
        {0, true, false, "01.01.1904"},
        {43902, true, false, "13.03.2024"},
        {-1, false, false, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ShownDate(c.serial, c.date1904, c.time_only), c.shown) << c.serial;
    EXPECT_EQ(ShownIsoDate("2024-03-12"), "12.03.2024");
    EXPECT_EQ(ShownIsoDate("2024-03-12T08:30:00"), "12.03.2024 08:30");
}

TEST(NumberFormats, ResultCellsStoredAsNumbersAndDates) {
    EXPECT_EQ(NumberCellValue("2,5"), 2.5);
    EXPECT_EQ(NumberCellValue("2,50"), 2.5);
    EXPECT_EQ(NumberCellValue("-3"), -3);
    for (const char* text : {"007", "2.5", "2,5 %", "", "1e3"}) EXPECT_FALSE(NumberCellValue(text)) << text;
    ShownDateParts date;
    ASSERT_TRUE(ReadShownDate("12.03.2024 08:30", date));
    EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20240312);
    EXPECT_TRUE(date.has_time);
    for (const char* text : {"31.02.2024", "29.02.2023", "12.3.2024", "12.03.24", "12.03.2024 25:00"})
        EXPECT_FALSE(ReadShownDate(text, date)) << text;
}

}  // namespace
}  // namespace kelvo::schedule

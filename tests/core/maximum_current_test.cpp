#include "core/maximum_current.h"

#include <gtest/gtest.h>

#include <string>

#include "core/cross_section_list.h"
#include "core/number_text.h"
#include "tests/core/current_columns.h"

namespace kelvo {
namespace {

using namespace kelvo::test;

std::string Shifted(const std::string& number, double by) { return WriteNumber(*ReadNumber(number) + by); }

TEST(MaximumCurrentBySection, EveryTableAtItsRowEndsAndGaps) {
    ASSERT_EQ(std::size(kColumns), 30u);
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const auto rows = Rows(column.rows);
        const bool has_none = *column.none_from != '\0';
        EXPECT_EQ(MaximumCurrentTable(column.material, column.laying).rows().size(), rows.size() + (has_none ? 1 : 0));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& row = rows[i];
            // The first row accepts only its own cross-section.
            const std::string from = i == 0 ? row.section : row.from;
            SCOPED_TRACE(std::string(column.rows) + " row " + row.section);
            EXPECT_EQ(MaximumCurrentBySection(row.section, choice), row.current);
            EXPECT_EQ(MaximumCurrentBySection(from, choice), row.current);
            EXPECT_EQ(MaximumCurrentBySection(Shifted(from, -0.001), choice), "");
        }
        const std::string last = rows.back().section;
        if (has_none) {
            EXPECT_EQ(MaximumCurrentBySection(column.none_from, choice), "нет") << column.rows;
            EXPECT_EQ(MaximumCurrentBySection(column.none_to, choice), "нет") << column.rows;
            EXPECT_EQ(MaximumCurrentBySection(Shifted(column.none_to, 0.001), choice), "");
        } else {
            EXPECT_EQ(MaximumCurrentBySection(Shifted(last, 0.001), choice), "") << column.rows;
        }
        EXPECT_EQ(MaximumCurrentBySection("0", choice), "");
        EXPECT_EQ(MaximumCurrentBySection("-1", choice), "");
    }
}

// The reverse calculation takes a table's current as a number where the window reads it back
// from its box: the two must be the same number.
TEST(MaximumCurrentBySection, EveryCurrentComesBackExactlyFromItsText) {
    for (const auto& column : kColumns) {
        for (const auto& row : MaximumCurrentTable(column.material, column.laying).rows()) {
            if (!row.result) continue;
            EXPECT_EQ(ReadNumber(WriteNumber(*row.result)), *row.result) << column.rows << " " << *row.result;
            const MaximumCurrent of_size = MaximumCurrentOfSize(row.to, Choice(column.material, column.laying));
            EXPECT_TRUE(of_size.in_table);
            EXPECT_EQ(of_size.amperes, row.result);
        }
    }
}

TEST(MaximumCurrentBySection, WorkedCases) {
    struct Case {
        Material material;
        LayingMethod laying;
        const char* section;
        const char* current;
    };
    // clang-format off
    const Case cases[] = {
        {Cu, L::p1, "0,5", "11"},     {Cu, L::p1, "0,75", "15"},   {Cu, L::p1, "0,6", ""},
        {Cu, L::p1, "7", "62"},       {Cu, L::p1, "400", "830"},   {Cu, L::p1, "401", ""},
        {Cu, L::p1, "0,3", ""},       {Cu, L::p1, "12", ""},       {Cu, L::p1, "2,5", "30"},
        {Cu, L::p2, "1", "16"},       {Cu, L::p2, "0,9", ""},      {Cu, L::p2, "0,5", ""},
        {Cu, L::p2, "0,75", ""},      {Cu, L::p2, "150", "360"},   {Cu, L::p2, "185", "нет"},
        {Cu, L::p3, "150", "330"},    {Cu, L::p3, "150,5", ""},    {Cu, L::p3, "151", "нет"},
        {Cu, L::p4, "120", "260"},    {Cu, L::p4, "150", "нет"},   {Cu, L::p6, "1,2", "14,5"},
        {Al, L::p1, "3", "27"},       {Al, L::p1, "400", "645"},   {Al, L::p1, "1", ""},
        {Al, L::k6, "2,5", "17,5"},   {Al, L::k6, "2,505", ""},    {Al, L::k6, "2,51", "24,8"},
        {Al, L::k6, "240", "нет"},    {Cu, L::k8, "240", "464"},
        {Cu, L::k8, "240,05", ""}, {Cu, L::k8, "240,1", "нет"},
        {Al, L::k2, "2270", "нет"},   {Al, L::k2, "2271", ""},     {Cu, L::p1, "2.5", ""},
        {Cu, L::p1, "", ""},          {Cu, L::p1, "нет", ""},      {Cu, L::p1, " 2,5 ", "30"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(MaximumCurrentBySection(c.section, Choice(c.material, c.laying)), c.current) << c.section;
    EXPECT_EQ(MaximumCurrentBySection("2,5", {Cu, std::nullopt, L::p1}), "");
    EXPECT_EQ(MaximumCurrentBySection("2,5", {std::nullopt, ConductorKind::Wire, L::p1}), "");
    EXPECT_EQ(MaximumCurrentBySection("2,5", {Cu, ConductorKind::Cable, L::p1}), "");
}

TEST(MaximumCurrentBySection, CopperFourCoreRepeatsThreeCore) {
    for (int tenths = 0; tenths <= 2300; ++tenths) {
        const std::string section = WriteNumber(tenths / 10.0);
        EXPECT_EQ(MaximumCurrentBySection(section, Choice(Cu, L::k6)),
                  MaximumCurrentBySection(section, Choice(Cu, L::k4)));
        EXPECT_EQ(MaximumCurrentBySection(section, Choice(Cu, L::k7)),
                  MaximumCurrentBySection(section, Choice(Cu, L::k5)));
    }
}

// Every cross-section offered in the lists gets a current or "нет" for every laying of its
// kind; only copper 0,5 and 0,75 mm² in closed wiring have no current of their own.
TEST(MaximumCurrentBySection, EveryListedSectionHasAnAnswer) {
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        for (const auto section : CrossSectionList(column.material, KindOf(column.laying))) {
            const bool too_small_for_closed_wire = column.material == Cu && column.laying >= L::p2 &&
                                                   column.laying <= L::p6 && (section == "0,5" || section == "0,75");
            const std::string current = MaximumCurrentBySection(section, choice);
            if (too_small_for_closed_wire)
                EXPECT_EQ(current, "") << section;
            else
                EXPECT_NE(current, "") << column.rows << " @" << section;
        }
    }
}

}  // namespace
}  // namespace kelvo

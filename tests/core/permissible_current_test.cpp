#include "core/permissible_current.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/maximum_current.h"
#include "core/number_text.h"
#include "tests/core/current_columns.h"

namespace kelvo {
namespace {

using namespace kelvo::test;

// A permissible-current column, read from the maximum-current transcription: the sections the
// permissible table lists, each with its limit.
std::vector<std::pair<std::string, std::string>> Limits(const Column& column) {
    std::vector<std::pair<std::string, std::string>> limits;
    for (const Row& row : Rows(column.rows)) {
        const bool intermediate = KindOf(column.laying) == ConductorKind::Wire &&
                                  (row.section == "1,2" || row.section == "2" || row.section == "3" ||
                                   row.section == "5" || row.section == "8");
        if (intermediate) continue;
        limits.emplace_back(row.section,
                            IsFiveCore(column.laying) ? WriteNumber(*ReadNumber(row.current) + 0.099) : row.current);
    }
    return limits;
}

// The current above which a table gives no section at all (below it, above the last limit, it
// gives the exceed marker).
std::string ExceedLimit(const Column& column) {
    if (KindOf(column.laying) == ConductorKind::Wire) return "20330";
    if (IsFiveCore(column.laying)) return "222350,099";
    return column.material == Al && (column.laying == L::k6 || column.laying == L::k7) ? "227000" : "2270";
}

std::string Above(const std::string& amperes) { return WriteNumber(*ReadNumber(amperes) + 0.001); }

TEST(SelectSectionByCurrent, EveryTableAtEveryLimitAndJustAbove) {
    ASSERT_EQ(std::size(kColumns), 30u);
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const auto rows = Limits(column);
        EXPECT_EQ(PermissibleCurrentTable(column.material, column.laying).rows().size(), rows.size() + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& [section, limit] = rows[i];
            const std::string next = i + 1 < rows.size() ? rows[i + 1].first : "1,111";
            EXPECT_EQ(SelectSectionByCurrent(limit, choice), section) << column.rows << " @" << limit;
            EXPECT_EQ(SelectSectionByCurrent(Above(limit), choice), next) << column.rows << " @" << limit;
        }
        EXPECT_EQ(SelectSectionByCurrent("0", choice), rows.front().first);
        EXPECT_EQ(SelectSectionByCurrent(ExceedLimit(column), choice), "1,111") << column.rows;
        EXPECT_EQ(SelectSectionByCurrent(Above(ExceedLimit(column)), choice), "") << column.rows;
        EXPECT_EQ(SelectSectionByCurrent("-0,01", choice), "");
    }
}

TEST(SelectSectionByCurrent, WorkedCases) {
    struct Case {
        Material material;
        LayingMethod laying;
        const char* current;
        const char* section;
    };
    // clang-format off
    const Case cases[] = {
        {Cu, L::p1, "11", "0,5"},       {Cu, L::p1, "11,01", "0,75"},  {Cu, L::p1, "0", "0,5"},
        {Cu, L::p1, "830", "400"},      {Cu, L::p1, "830,5", "1,111"}, {Cu, L::p1, "20330", "1,111"},
        {Cu, L::p1, "20331", ""},       {Cu, L::p1, "-1", ""},         {Cu, L::p1, "11,05", "0,75"},
        {Cu, L::p3, "42", "6"},         {Cu, L::p3, "42,05", "10"},    {Cu, L::p3, "60", "10"},
        {Cu, L::k8, "20,099", "1,5"}, {Cu, L::k8, "20,1", "2,5"},
        {Cu, L::k8, "464,1", "1,111"},
        {Al, L::k6, "17,5", "2,5"},     {Al, L::k6, "17,51", "4"},     {Al, L::k6, "248,5", "1,111"},
        {Cu, L::p1, "12,5", "0,75"},     {Cu, L::p1, "", ""},           {Cu, L::p1, "2.5", ""},
        {Cu, L::p1, " 12, ", "0,75"}, {Cu, L::p1, "15,01", "1"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(SelectSectionByCurrent(c.current, Choice(c.material, c.laying)), c.section) << c.current;
}

// The aluminium four-core in-ground limits already include the four-core factor; the current
// itself is compared with them, as in every other table.
TEST(SelectSectionByCurrent, AluminiumFourCoreInGroundIsNotDeratedTwice) {
    const auto choice = Choice(Al, L::k7);
    const std::pair<const char*, const char*> cases[] = {
        {"26,7", "2,5"},    {"26,71", "4"},   {"29", "4"},         {"354,2", "185"},
        {"354,3", "1,111"}, {"385", "1,111"}, {"227000", "1,111"}, {"227000,01", ""},
    };
    for (const auto& [current, section] : cases) EXPECT_EQ(SelectSectionByCurrent(current, choice), section) << current;
}

TEST(SelectSectionByCurrent, CopperFourCoreRepeatsThreeCore) {
    for (int amperes = 0; amperes <= 520; ++amperes) {
        const auto text = std::to_string(amperes);
        EXPECT_EQ(SelectSectionByCurrent(text, Choice(Cu, L::k6)), SelectSectionByCurrent(text, Choice(Cu, L::k4)));
        EXPECT_EQ(SelectSectionByCurrent(text, Choice(Cu, L::k7)), SelectSectionByCurrent(text, Choice(Cu, L::k5)));
    }
}

TEST(SelectSectionByCurrent, IncompleteChoiceSelectsNothing) {
    // clang-format off
    const ConductorChoice cases[] = {
        {std::nullopt, ConductorKind::Wire, L::p1},
        {Cu, std::nullopt, L::p1},
        {Cu, ConductorKind::Wire, std::nullopt},
        {Cu, ConductorKind::Wire, L::k3},    // a cable laying does not count for a wire
        {Cu, ConductorKind::Cable, L::p1},
    };
    // clang-format on
    for (const auto& choice : cases) EXPECT_EQ(SelectSectionByCurrent("10", choice), "");
}

// The section chosen for a current must carry that current by the maximum-current tables of
// the reverse calculation, within the 0,099 A allowance that the five-core limits carry.
TEST(SelectSectionByCurrent, ChosenSectionCarriesTheCurrent) {
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const double allowance = IsFiveCore(column.laying) ? 0.099 : 0;
        const double last = *ReadNumber(Limits(column).back().second);
        for (long hundredths = 0; hundredths <= static_cast<long>(last * 100); ++hundredths) {
            const std::string current = WriteNumber(hundredths / 100.0);
            const std::string section = SelectSectionByCurrent(current, choice);
            const auto carried = ReadNumber(MaximumCurrentBySection(section, choice));
            ASSERT_TRUE(carried) << column.rows << " @" << current << " -> " << section;
            ASSERT_GE(*carried + allowance + 1e-9, hundredths / 100.0)
                << column.rows << " @" << current << " -> " << section;
        }
    }
}

}  // namespace
}  // namespace kelvo

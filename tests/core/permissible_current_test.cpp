#include "core/permissible_current.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/maximum_current.h"
#include "core/number_text.h"

namespace kelvo {
namespace {

using L = LayingMethod;
constexpr auto Cu = Material::Copper;
constexpr auto Al = Material::Aluminium;

ConductorChoice Choice(Material material, LayingMethod laying) {
    return {material, KindOf(laying), laying};
}

// Each column written out as "section:limit" pairs, in the order of the permissible-current
// tables, with its exceed limit. A second, column-wise transcription of the same tables.
struct Column {
    Material material;
    LayingMethod laying;
    const char* rows;
    const char* exceed;
};

const Column kColumns[] = {
    {Cu, L::p1, "0,5:11 0,75:15 1:17 1,5:23 2,5:30 4:41 6:50 10:80 16:100 25:140 35:170 50:215 70:270 95:330 120:385 150:440 185:510 240:605 300:695 400:830", "20330"},
    {Cu, L::p2, "1:16 1,5:19 2,5:27 4:38 6:46 10:70 16:85 25:115 35:135 50:185 70:225 95:275 120:315 150:360", "20330"},
    {Cu, L::p3, "1:15 1,5:17 2,5:25 4:35 6:42 10:60 16:80 25:100 35:125 50:170 70:210 95:255 120:290 150:330", "20330"},
    {Cu, L::p4, "1:14 1,5:16 2,5:25 4:30 6:40 10:50 16:75 25:90 35:115 50:150 70:185 95:225 120:260", "20330"},
    {Cu, L::p5, "1:15 1,5:18 2,5:25 4:32 6:40 10:55 16:80 25:100 35:125 50:160 70:195 95:245 120:295", "20330"},
    {Cu, L::p6, "1:14 1,5:15 2,5:21 4:27 6:34 10:50 16:70 25:85 35:100 50:135 70:175 95:215 120:250", "20330"},
    {Al, L::p1, "2,5:24 4:32 6:39 10:60 16:75 25:105 35:130 50:165 70:210 95:255 120:295 150:340 185:390 240:465 300:535 400:645", "20330"},
    {Al, L::p2, "2,5:20 4:28 6:36 10:50 16:60 25:85 35:100 50:140 70:175 95:215 120:245 150:275", "20330"},
    {Al, L::p3, "2,5:19 4:28 6:32 10:47 16:60 25:80 35:95 50:130 70:165 95:200 120:220 150:255", "20330"},
    {Al, L::p4, "2,5:19 4:23 6:30 10:39 16:55 25:70 35:85 50:120 70:140 95:175 120:200", "20330"},
    {Al, L::p5, "2,5:19 4:25 6:31 10:42 16:60 25:75 35:95 50:125 70:150 95:190 120:230", "20330"},
    {Al, L::p6, "2,5:16 4:21 6:26 10:38 16:55 25:65 35:75 50:105 70:135 95:165 120:190", "20330"},
    {Cu, L::k1, "1,5:23 2,5:30 4:40 6:50 10:80 16:100 25:140 35:170 50:215 70:270 95:325 120:385 150:440 185:510 240:605", "2270"},
    {Cu, L::k2, "1,5:19 2,5:27 4:38 6:50 10:70 16:90 25:115 35:140 50:175 70:215 95:260 120:300 150:350 185:405", "2270"},
    {Cu, L::k3, "1,5:33 2,5:44 4:55 6:70 10:105 16:135 25:175 35:210 50:265 70:320 95:385 120:445 150:505 185:570", "2270"},
    {Cu, L::k4, "1,5:19 2,5:25 4:35 6:42 10:55 16:75 25:95 35:120 50:145 70:180 95:220 120:260 150:305 185:350", "2270"},
    {Cu, L::k5, "1,5:27 2,5:38 4:49 6:60 10:90 16:115 25:150 35:180 50:225 70:275 95:330 120:385 150:435 185:500", "2270"},
    {Cu, L::k6, "1,5:19 2,5:25 4:35 6:42 10:55 16:75 25:95 35:120 50:145 70:180 95:220 120:260 150:305 185:350", "2270"},
    {Cu, L::k7, "1,5:27 2,5:38 4:49 6:60 10:90 16:115 25:150 35:180 50:225 70:275 95:330 120:385 150:435 185:500", "2270"},
    {Cu, L::Option16, "1,5:20,099 2,5:26,099 4:34,099 6:46,099 10:61,099 16:81,099 25:107,099 35:131,099 50:165,099 70:210,099 95:255,099 120:299,099 150:344,099 185:392,099 240:464,099", "222350,099"},
    {Cu, L::Option18, "1,5:26,099 2,5:34,099 4:47,099 6:54,099 10:72,099 16:93,099 25:121,099 35:147,099 50:179,099 70:220,099 95:260,099 120:299,099 150:338,099 185:378,099 240:435,099", "222350,099"},
    {Al, L::k1, "2,5:23 4:31 6:38 10:60 16:75 25:105 35:130 50:165 70:210 95:250 120:295 150:340 185:390 240:465", "2270"},
    {Al, L::k2, "2,5:21 4:29 6:38 10:55 16:70 25:90 35:105 50:135 70:165 95:200 120:230 150:270 185:310", "2270"},
    {Al, L::k3, "2,5:34 4:42 6:55 10:80 16:105 25:135 35:160 50:205 70:245 95:295 120:340 150:390 185:440", "2270"},
    {Al, L::k4, "2,5:19 4:27 6:32 10:42 16:60 25:75 35:90 50:110 70:140 95:170 120:200 150:235 185:270", "2270"},
    {Al, L::k5, "2,5:29 4:38 6:46 10:70 16:90 25:115 35:140 50:175 70:210 95:255 120:295 150:335 185:385", "2270"},
    {Al, L::k6, "2,5:17,5 4:24,8 6:29,4 10:38,6 16:55,2 25:69,1 35:82,8 50:101,2 70:128,8 95:156,4 120:184,1 150:216,2 185:248,4", "227000"},
    {Al, L::k7, "2,5:26,7 4:35,1 6:42,3 10:64,4 16:82,8 25:105,8 35:128,8 50:161,1 70:193,2 95:234,6 120:271,4 150:308,2 185:354,2", "227000"},
    {Al, L::Option16, "2,5:20,099 4:27,099 6:34,099 10:47,099 16:62,099 25:82,099 35:101,099 50:126,099 70:155,099 95:190,099 120:219,099 150:254,099 185:291,099 240:343,099", "222350,099"},
    {Al, L::Option18, "2,5:26,099 4:34,099 6:41,099 10:55,099 16:72,099 25:93,099 35:113,099 50:137,099 70:166,099 95:197,099 120:224,099 150:255,099 185:286,099 240:330,099", "222350,099"},
};

std::vector<std::pair<std::string, std::string>> Pairs(const char* rows) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::istringstream in(rows);
    std::string pair;
    while (in >> pair) {
        const auto colon = pair.find(':');
        pairs.emplace_back(pair.substr(0, colon), pair.substr(colon + 1));
    }
    return pairs;
}

std::string Above(const std::string& amperes) { return WriteNumber(*ReadNumber(amperes) + 0.001); }

TEST(SelectSectionByCurrent, EveryTableAtEveryLimitAndJustAbove) {
    ASSERT_EQ(std::size(kColumns), 30u);
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const auto rows = Pairs(column.rows);
        EXPECT_EQ(PermissibleCurrentTable(column.material, column.laying).rows().size(),
                  rows.size() + 1);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& [section, limit] = rows[i];
            const std::string next = i + 1 < rows.size() ? rows[i + 1].first : "1,111";
            EXPECT_EQ(SelectSectionByCurrent(limit, choice), section) << column.rows << " @" << limit;
            EXPECT_EQ(SelectSectionByCurrent(Above(limit), choice), next) << column.rows << " @" << limit;
        }
        EXPECT_EQ(SelectSectionByCurrent("0", choice), rows.front().first);
        EXPECT_EQ(SelectSectionByCurrent(column.exceed, choice), "1,111") << column.exceed;
        EXPECT_EQ(SelectSectionByCurrent(Above(column.exceed), choice), "") << column.exceed;
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
    const Case cases[] = {
        {Cu, L::p1, "11", "0,5"},       {Cu, L::p1, "11,01", "0,75"},  {Cu, L::p1, "0", "0,5"},
        {Cu, L::p1, "830", "400"},      {Cu, L::p1, "830,5", "1,111"}, {Cu, L::p1, "20330", "1,111"},
        {Cu, L::p1, "20331", ""},       {Cu, L::p1, "-1", ""},         {Cu, L::p1, "11,05", "0,75"},
        {Cu, L::p3, "42", "6"},         {Cu, L::p3, "42,05", "10"},    {Cu, L::p3, "60", "10"},
        {Cu, L::Option16, "20,099", "1,5"}, {Cu, L::Option16, "20,1", "2,5"},
        {Cu, L::Option16, "464,1", "1,111"},
        {Al, L::k6, "17,5", "2,5"},     {Al, L::k6, "17,51", "4"},     {Al, L::k6, "248,5", "1,111"},
        {Cu, L::p1, "12,5", "0,75"},     {Cu, L::p1, "", ""},           {Cu, L::p1, "2.5", ""},
        {Cu, L::p1, " 12, ", "0,75"}, {Cu, L::p1, "15,01", "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SelectSectionByCurrent(c.current, Choice(c.material, c.laying)), c.section)
            << c.current;
}

// The aluminium four-core in-ground limits already include the four-core factor; the current
// itself is compared with them, as in every other table.
TEST(SelectSectionByCurrent, AluminiumFourCoreInGroundIsNotDeratedTwice) {
    const auto choice = Choice(Al, L::k7);
    const std::pair<const char*, const char*> cases[] = {
        {"26,7", "2,5"}, {"26,71", "4"},     {"29", "4"},         {"354,2", "185"},
        {"354,3", "1,111"}, {"385", "1,111"}, {"227000", "1,111"}, {"227000,01", ""},
    };
    for (const auto& [current, section] : cases)
        EXPECT_EQ(SelectSectionByCurrent(current, choice), section) << current;
}

TEST(SelectSectionByCurrent, CopperFourCoreRepeatsThreeCore) {
    for (int amperes = 0; amperes <= 520; ++amperes) {
        const auto text = std::to_string(amperes);
        EXPECT_EQ(SelectSectionByCurrent(text, Choice(Cu, L::k6)),
                  SelectSectionByCurrent(text, Choice(Cu, L::k4)));
        EXPECT_EQ(SelectSectionByCurrent(text, Choice(Cu, L::k7)),
                  SelectSectionByCurrent(text, Choice(Cu, L::k5)));
    }
}

TEST(SelectSectionByCurrent, IncompleteChoiceSelectsNothing) {
    const ConductorChoice cases[] = {
        {std::nullopt, ConductorKind::Wire, L::p1},
        {Cu, std::nullopt, L::p1},
        {Cu, ConductorKind::Wire, std::nullopt},
        {Cu, ConductorKind::Wire, L::k3},    // a cable laying does not count for a wire
        {Cu, ConductorKind::Cable, L::p1},
    };
    for (const auto& choice : cases) EXPECT_EQ(SelectSectionByCurrent("10", choice), "");
}

// The section chosen for a current must carry that current by the maximum-current tables of
// the reverse calculation, within the 0,099 A allowance that the five-core limits carry.
TEST(SelectSectionByCurrent, ChosenSectionCarriesTheCurrent) {
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const double allowance = IsFiveCore(column.laying) ? 0.099 : 0;
        const double last = *ReadNumber(Pairs(column.rows).back().second);
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

#include "core/maximum_current.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/cross_section_list.h"
#include "core/number_text.h"

namespace kelvo {
namespace {

using L = LayingMethod;
constexpr auto Cu = Material::Copper;
constexpr auto Al = Material::Aluminium;

ConductorChoice Choice(Material material, LayingMethod laying) {
    return {material, KindOf(laying), laying};
}

// Each column as "section:lower end:current" triples, the lower end already the cell's own
// where the cell says "from …"; then the row "нет" as its two ends (empty where there is none).
struct Column {
    Material material;
    LayingMethod laying;
    const char* rows;
    const char* none_from;
    const char* none_to;
};

const Column kColumns[] = {
    {Cu, L::p1, "0,5:0:11 0,75:0,7:15 1:0,9:17 1,2:1,1:20 1,5:1,4:23 2:1,9:26 2,5:2,4:30 3:2,9:33 4:3,9:41 5:4,5:46 6:5,5:50 8:7:62 10:9:80 16:15:100 25:24:140 35:34:170 50:49:215 70:60:270 95:90:330 120:110:385 150:140:440 185:184:510 240:230:605 300:299:695 400:350:830", "", ""},
    {Cu, L::p2, "1:0:16 1,2:1,1:18 1,5:1,4:19 2:1,9:24 2,5:2,4:27 3:2,9:32 4:3,9:38 5:4,9:42 6:5,9:46 8:7:54 10:9:70 16:15:85 25:24:115 35:34:135 50:49:185 70:60:225 95:90:275 120:110:315 150:140:360", "150,1", "200300"},
    {Cu, L::p3, "1:0:15 1,2:1,1:16 1,5:1,4:17 2:1,9:22 2,5:2,4:25 3:2,9:28 4:3,9:35 5:4,9:39 6:5,9:42 8:7:51 10:9:60 16:15:80 25:24:100 35:34:125 50:49:170 70:60:210 95:94:255 120:119:290 150:140:330", "151", "200300"},
    {Cu, L::p4, "1:0:14 1,2:1,1:15 1,5:1,4:16 2:1,9:20 2,5:2,4:25 3:2,9:26 4:3,9:30 5:4,9:34 6:5,9:40 8:7:46 10:9:50 16:15:75 25:24:90 35:34:115 50:40:150 70:60:185 95:90:225 120:110:260", "120,0001", "20330"},
    {Cu, L::p5, "1:0:15 1,2:1,1:16 1,5:1,4:18 2:1,9:23 2,5:2,4:25 3:2,9:28 4:3,9:32 5:4,9:37 6:5,9:40 8:7:48 10:9:55 16:15:80 25:24:100 35:34:125 50:45:160 70:60:195 95:90:245 120:110:295", "120,1", "20330"},
    {Cu, L::p6, "1:0:14 1,2:1,1:14,5 1,5:1,4:15 2:1,9:19 2,5:2,4:21 3:2,9:24 4:3,9:27 5:4,9:31 6:5,9:34 8:7:43 10:9:50 16:15:70 25:24:85 35:34:100 50:45:135 70:60:175 95:90:215 120:110:250", "120,1", "20330"},
    {Al, L::p1, "2:0:21 2,5:2,4:24 3:2,8:27 4:3,5:32 5:4,5:36 6:5,8:39 8:7:46 10:9:60 16:15:75 25:24:105 35:30:130 50:40:165 70:60:210 95:90:255 120:110:295 150:140:340 185:180:390 240:230:465 300:290:535 400:380:645", "", ""},
    {Al, L::p2, "2:0:19 2,5:2,4:20 3:2,8:24 4:3,8:28 5:4,8:32 6:5,8:36 8:7:43 10:9:50 16:15:60 25:24:85 35:30:100 50:40:140 70:60:175 95:90:215 120:110:245 150:140:275", "150,1", "20330"},
    {Al, L::p3, "2:0:18 2,5:2,4:19 3:2,8:22 4:3,8:28 5:4,8:30 6:5,8:32 8:7:40 10:9:47 16:15:60 25:24:80 35:30:95 50:40:130 70:60:165 95:90:200 120:110:220 150:140:255", "150,1", "20330"},
    {Al, L::p4, "2:0:15 2,5:2,4:19 3:2,8:21 4:3,8:23 5:4,8:27 6:5,8:30 8:7:37 10:9:39 16:15:55 25:24:70 35:30:85 50:45:120 70:60:140 95:90:175 120:110:200", "120,1", "20330"},
    {Al, L::p5, "2:0:17 2,5:2,4:19 3:2,8:22 4:3,8:25 5:4,8:28 6:5,8:31 8:7:38 10:9:42 16:15:60 25:24:75 35:34:95 50:45:125 70:60:150 95:90:190 120:110:230", "120,1", "20330"},
    {Al, L::p6, "2:0:14 2,5:2,4:16 3:2,8:18 4:3,8:21 5:4,8:24 6:5,8:26 8:7:32 10:9:38 16:15:55 25:24:65 35:30:75 50:40:105 70:60:135 95:90:165 120:110:190", "120,1", "20330"},
    {Cu, L::k1, "1,5:0:23 2,5:2:30 4:3:40 6:5:50 10:9:80 16:15:100 25:24:140 35:30:170 50:40:215 70:60:270 95:90:325 120:115:385 150:140:440 185:180:510 240:220:605", "", ""},
    {Cu, L::k2, "1,5:0:19 2,5:2,4:27 4:3:38 6:5:50 10:9:70 16:15:90 25:24:115 35:30:140 50:40:175 70:60:215 95:90:260 120:110:300 150:140:350 185:180:405", "185,1", "22700"},
    {Cu, L::k3, "1,5:0:33 2,5:2:44 4:3:55 6:5:70 10:9:105 16:15:135 25:24:175 35:30:210 50:45:265 70:60:320 95:90:385 120:110:445 150:140:505 185:180:570", "185,1", "22700"},
    {Cu, L::k4, "1,5:0:19 2,5:2:25 4:3:35 6:5:42 10:9:55 16:15:75 25:24:95 35:30:120 50:40:145 70:60:180 95:90:220 120:110:260 150:140:305 185:180:350", "185,1", "22700"},
    {Cu, L::k5, "1,5:0:27 2,5:2:38 4:3:49 6:5:60 10:9:90 16:15:115 25:24:150 35:34:180 50:40:225 70:60:275 95:90:330 120:110:385 150:140:435 185:180:500", "185,1", "22700"},
    {Cu, L::k6, "1,5:0:19 2,5:2:25 4:3:35 6:5:42 10:9:55 16:15:75 25:24:95 35:30:120 50:40:145 70:60:180 95:90:220 120:110:260 150:140:305 185:180:350", "185,1", "22700"},
    {Cu, L::k7, "1,5:0:27 2,5:2:38 4:3:49 6:5:60 10:9:90 16:15:115 25:24:150 35:34:180 50:40:225 70:60:275 95:90:330 120:110:385 150:140:435 185:180:500", "185,1", "22700"},
    {Cu, L::Option16, "1,5:0:20 2,5:2:26 4:3:34 6:5:46 10:9:61 16:15:81 25:24:107 35:34:131 50:40:165 70:60:210 95:90:255 120:110:299 150:140:344 185:180:392 240:200:464", "240,1", "22700"},
    {Cu, L::Option18, "1,5:0:26 2,5:2:34 4:3:47 6:5:54 10:9:72 16:15:93 25:24:121 35:34:147 50:40:179 70:60:220 95:90:260 120:110:299 150:140:338 185:180:378 240:200:435", "240,1", "22700"},
    {Al, L::k1, "2,5:0:23 4:3:31 6:5:38 10:9:60 16:15:75 25:24:105 35:34:130 50:40:165 70:60:210 95:90:250 120:110:295 150:140:340 185:180:390 240:230:465", "", ""},
    {Al, L::k2, "2,5:0:21 4:3:29 6:5:38 10:9:55 16:15:70 25:24:90 35:30:105 50:40:135 70:60:165 95:90:200 120:110:230 150:140:270 185:180:310", "185,1", "2270"},
    {Al, L::k3, "2,5:0:34 4:3:42 6:5:55 10:9:80 16:15:105 25:24:135 35:30:160 50:40:205 70:60:245 95:90:295 120:110:340 150:140:390 185:180:440", "185,1", "2270"},
    {Al, L::k4, "2,5:0:19 4:3:27 6:5:32 10:9:42 16:15:60 25:24:75 35:30:90 50:40:110 70:60:140 95:90:170 120:110:200 150:140:235 185:180:270", "185,1", "2270"},
    {Al, L::k5, "2,5:0:29 4:3:38 6:5:46 10:9:70 16:15:90 25:20:115 35:30:140 50:40:175 70:60:210 95:90:255 120:110:295 150:140:335 185:180:385", "185,1", "2270"},
    {Al, L::k6, "2,5:0:17,5 4:2,51:24,8 6:4,1:29,4 10:6,1:38,6 16:10,1:55,2 25:16,1:69,1 35:25,1:82,8 50:35,1:101,2 70:50,1:128,8 95:70,1:156,4 120:95,1:184,1 150:120,1:216,2 185:150,1:248,4", "185,1", "227000"},
    {Al, L::k7, "2,5:0:26,7 4:2,51:35,1 6:4,1:42,3 10:6,1:64,4 16:10,1:82,8 25:16,1:105,8 35:25,1:128,8 50:35,1:161,1 70:50,1:193,2 95:70,1:234,6 120:95,1:271,4 150:120,1:308,2 185:150,1:354,2", "185,1", "227000"},
    {Al, L::Option16, "2,5:0:20 4:3:27 6:5:34 10:9:47 16:15:62 25:24:82 35:34:101 50:40:126 70:60:155 95:90:190 120:110:219 150:140:254 185:180:291 240:200:343", "240,1", "22700"},
    {Al, L::Option18, "2,5:0:26 4:3:34 6:5:41 10:9:55 16:15:72 25:24:93 35:34:113 50:40:137 70:60:166 95:90:197 120:110:224 150:140:255 185:180:286 240:200:330", "240,1", "22700"},
};

struct Row {
    std::string section, from, current;
};

std::vector<Row> Rows(const char* text) {
    std::vector<Row> rows;
    std::istringstream in(text);
    std::string triple;
    while (in >> triple) {
        const auto a = triple.find(':'), b = triple.find(':', a + 1);
        rows.push_back({triple.substr(0, a), triple.substr(a + 1, b - a - 1), triple.substr(b + 1)});
    }
    return rows;
}

std::string Shifted(const std::string& number, double by) {
    return WriteNumber(*ReadNumber(number) + by);
}

TEST(MaximumCurrentBySection, EveryTableAtItsRowEndsAndGaps) {
    ASSERT_EQ(std::size(kColumns), 30u);
    for (const auto& column : kColumns) {
        const auto choice = Choice(column.material, column.laying);
        const auto rows = Rows(column.rows);
        const bool has_none = *column.none_from != '\0';
        EXPECT_EQ(MaximumCurrentTable(column.material, column.laying).rows().size(),
                  rows.size() + (has_none ? 1 : 0));
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

TEST(MaximumCurrentBySection, WorkedCases) {
    struct Case {
        Material material;
        LayingMethod laying;
        const char* section;
        const char* current;
    };
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
        {Al, L::k6, "240", "нет"},    {Cu, L::Option16, "240", "464"},
        {Cu, L::Option16, "240,05", ""}, {Cu, L::Option16, "240,1", "нет"},
        {Al, L::k2, "2270", "нет"},   {Al, L::k2, "2271", ""},     {Cu, L::p1, "2.5", ""},
        {Cu, L::p1, "", ""},          {Cu, L::p1, "нет", ""},      {Cu, L::p1, " 2,5 ", "30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MaximumCurrentBySection(c.section, Choice(c.material, c.laying)), c.current)
            << c.section;
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
            const bool too_small_for_closed_wire =
                column.material == Cu && column.laying >= L::p2 && column.laying <= L::p6 &&
                (section == "0,5" || section == "0,75");
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

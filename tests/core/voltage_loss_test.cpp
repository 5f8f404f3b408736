#include "core/voltage_loss.h"

#include <gtest/gtest.h>

#include "core/cross_section_list.h"
#include "core/number_text.h"

namespace kelvo {
namespace {

using L = LayingMethod;
constexpr auto Cu = Material::Copper;
constexpr auto Al = Material::Aluminium;

ConductorChoice Choice(Material material, LayingMethod laying) { return {material, KindOf(laying), laying}; }

TEST(RequiredSection, WorkedValuesSupplyMaterialAndZeroes) {
    EXPECT_EQ(WriteNumber(RoundHalfEven2(*RequiredSection({1, 10, 4, 220}, SupplyKind::SinglePhase, Cu))), "0,18");
    // 10 kW over 700 m on 220 V single-phase copper needs 126,55 mm².
    EXPECT_EQ(WriteNumber(RoundHalfEven2(*RequiredSection({10, 700, 4, 220}, SupplyKind::SinglePhase, Cu))), "126,55");
    // Single-phase and DC need twice three-phase; aluminium scales by the resistivities.
    const LineData line{7, 85, 5, 380};
    const double three = *RequiredSection(line, SupplyKind::ThreePhase, Al);
    EXPECT_DOUBLE_EQ(*RequiredSection(line, SupplyKind::SinglePhase, Al), 2 * three);
    EXPECT_DOUBLE_EQ(*RequiredSection(line, SupplyKind::DC, Al), 2 * three);
    EXPECT_DOUBLE_EQ(*RequiredSection(line, SupplyKind::ThreePhase, Cu), three * 0.0175 / 0.028);
    // A zero divisor fails; a zero length needs nothing.
    EXPECT_FALSE(RequiredSection({1, 10, 0, 220}, SupplyKind::SinglePhase, Cu));
    EXPECT_FALSE(RequiredSection({1, 10, 4, 0}, SupplyKind::ThreePhase, Cu));
    EXPECT_EQ(*RequiredSection({1, 0, 4, 220}, SupplyKind::SinglePhase, Cu), 0);
}

TEST(SelectSectionByVoltageLoss, TableBoundaries) {
    struct Case {
        Material material;
        LayingMethod laying;
        const char* x;
        const char* section;
    };
    // clang-format off
    const Case cases[] = {
        // The open copper wire ladder.
        {Cu, L::p1, "0", "0,5"},        {Cu, L::p1, "0,51", "0,5"},    {Cu, L::p1, "0,52", "0,75"},
        {Cu, L::p1, "1,1", "1"},        {Cu, L::p1, "1,11", "1,5"},    {Cu, L::p1, "1,51", "1,5"},
        {Cu, L::p1, "150,11", "185"},   {Cu, L::p1, "400,1", "400"},   {Cu, L::p1, "400,11", "1,111"},
        {Cu, L::p1, "203300", "1,111"}, {Cu, L::p1, "203300,5", ""},   {Cu, L::p1, "-0,01", ""},
        {Cu, L::p1, "126,55", "150"},
        // Closed wires end at 150 or 120.
        {Cu, L::p2, "0,3", "1"},        {Cu, L::p2, "150,1", "150"},   {Cu, L::p2, "150,11", "1,111"},
        {Cu, L::p3, "1,51", "1,5"},     {Cu, L::p4, "120,1", "120"},   {Cu, L::p4, "126,55", "1,111"},
        {Cu, L::p6, "120,11", "1,111"},
        // Aluminium starts at 2,5 everywhere.
        {Al, L::p1, "0,3", "2,5"},      {Al, L::p2, "0,3", "2,5"},     {Al, L::p5, "0,3", "2,5"},
        {Al, L::k1, "0,3", "2,5"},      {Al, L::k4, "0,3", "2,5"},     {Al, L::k9, "0,3", "2,5"},
        {Al, L::p1, "400,1", "400"},    {Al, L::p3, "150,11", "1,111"}, {Al, L::p6, "120,1", "120"},
        // Cables.
        {Cu, L::k1, "1,51", "1,5"},     {Cu, L::k1, "240,1", "240"},   {Cu, L::k1, "240,11", "1,111"},
        {Cu, L::k5, "185,1", "185"},    {Cu, L::k7, "185,11", "1,111"}, {Cu, L::k2, "227000", "1,111"},
        {Cu, L::k2, "227000,01", ""},   {Al, L::k1, "240,1", "240"},   {Al, L::k6, "185,11", "1,111"},
        // Five-core tables have no allowance.
        {Cu, L::k8, "1,5", "1,5"}, {Cu, L::k8, "1,51", "2,5"}, {Cu, L::k9, "3", "4"},
        {Cu, L::k9, "240", "240"}, {Cu, L::k9, "240,01", "1,111"},
        {Al, L::k8, "1,5", "2,5"}, {Al, L::k8, "2,51", "4"},
        {Cu, L::k8, "222350,099", "1,111"}, {Cu, L::k8, "222350,1", ""},
        // Empty or unreadable boxes select nothing.
        {Cu, L::p1, "", ""},            {Cu, L::p1, "0.5", ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(SelectSectionByVoltageLoss(c.x, Choice(c.material, c.laying)), c.section) << c.x;
}

TEST(SelectSectionByVoltageLoss, FiveCoreLeftInTheCablePanelDoesNotCountForWire) {
    const ConductorChoice wire{Cu, ConductorKind::Wire, L::p1};
    EXPECT_EQ(SelectSectionByVoltageLoss("3", wire), "4");
    EXPECT_EQ(SelectSectionByVoltageLoss("0,3", wire), "0,5");
    EXPECT_EQ(SelectSectionByVoltageLoss("3", {Cu, ConductorKind::Wire, L::k9}), "");
    EXPECT_EQ(SelectSectionByVoltageLoss("3", {Cu, std::nullopt, L::p1}), "");
}

TEST(VoltageFigures, LossAndRemainingVoltage) {
    struct Case {
        const char *loss, *voltage, *loss_volts, *remaining;
    };
    const Case cases[] = {
        {"4", "220", "8,8", "211,2"}, {"4", "380", "15,2", "364,8"}, {"5", "12", "0,6", "11,4"},
        {"10", "24", "2,4", "21,6"},  {"7", "230", "16,1", "213,9"},
    };
    for (const auto& c : cases) {
        const auto figures = ComputeVoltageFigures(c.loss, c.voltage);
        ASSERT_TRUE(figures);
        EXPECT_EQ(figures->loss_volts, c.loss_volts);
        EXPECT_EQ(figures->remaining_volts, c.remaining);
    }
    EXPECT_FALSE(ComputeVoltageFigures("4", ""));
    EXPECT_FALSE(ComputeVoltageFigures("0.4", "220"));
    EXPECT_EQ(VoltageHint("220", "4", "211,2"), "Номинальное напряжение 220 В при 4 % потерь составит 211,2 В");
}

TEST(CrossSectionList, FourLists) {
    struct Case {
        Material material;
        ConductorKind kind;
        std::size_t count;
        const char *first, *second, *last;
    };
    // clang-format off
    const Case cases[] = {
        {Cu, ConductorKind::Wire, 20, "0,5", "0,75", "400"},
        {Al, ConductorKind::Wire, 17, "2,5", "3", "400"},
        {Cu, ConductorKind::Cable, 15, "1,5", "2,5", "240"},
        {Al, ConductorKind::Cable, 14, "2,5", "4", "240"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto list = CrossSectionList(c.material, c.kind);
        ASSERT_EQ(list.size(), c.count);
        EXPECT_EQ(std::vector({list[0], list[1], list.back()}),
                  std::vector<std::string_view>({c.first, c.second, c.last}));
        for (std::size_t i = 1; i < list.size(); ++i)
            EXPECT_LT(*ReadNumber(list[i - 1]), *ReadNumber(list[i])) << list[i];
    }
}

}  // namespace
}  // namespace kelvo

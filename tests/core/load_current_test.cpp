#include "core/load_current.h"

#include <gtest/gtest.h>

#include "core/number_text.h"

namespace kelvo {
namespace {

constexpr LoadCoefficients kUnit{};

TEST(LoadCurrent, WorkedValues) {
    struct Case {
        bool from_power;
        double given, voltage;
        SupplyKind supply;
        const char* shown;  // rounded to two decimals and written
    };
    // clang-format off
    const Case cases[] = {
        {true, 2.5, 220, SupplyKind::SinglePhase, "11,36"},
        {true, 10, 380, SupplyKind::ThreePhase, "15,19"},
        {false, 16, 220, SupplyKind::SinglePhase, "3,52"},
        {true, 0.5, 12, SupplyKind::DC, "41,67"},
        {false, 30, 220, SupplyKind::SinglePhase, "6,6"},
        {false, 30, 380, SupplyKind::ThreePhase, "19,74"},
        {true, 2.2, 220, SupplyKind::SinglePhase, "10"},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto result = c.from_power ? CurrentFromPower(c.given, c.voltage, kUnit, c.supply)
                                         : PowerFromCurrent(c.given, c.voltage, kUnit, c.supply);
        ASSERT_TRUE(result);
        EXPECT_EQ(WriteNumber(RoundHalfEven2(*result)), c.shown) << c.given;
    }
}

// Three-phase uses the constant 1,732, not the root of 3; the coefficients count except for a
// DC current.
TEST(LoadCurrent, ThreePhaseConstantAndCoefficients) {
    EXPECT_DOUBLE_EQ(*CurrentFromPower(10, 380, kUnit, SupplyKind::ThreePhase), 10000 / (380 * 1.732));
    EXPECT_EQ(*PowerFromCurrent(30, 380, kUnit, SupplyKind::ThreePhase), 380 * 1.732 * 30 / 1000.0);
    const LoadCoefficients half{0.5, 1, 1};
    EXPECT_EQ(*CurrentFromPower(1, 100, half, SupplyKind::DC), 10);
    EXPECT_EQ(*CurrentFromPower(1, 100, half, SupplyKind::SinglePhase), 20);
    EXPECT_EQ(*PowerFromCurrent(10, 100, half, SupplyKind::DC), 0.5);
    EXPECT_EQ(*PowerFromCurrent(10, 100, half, SupplyKind::SinglePhase), 0.5);
}

TEST(LoadCurrent, ZeroDivisorIsAFailureNotInfinity) {
    EXPECT_FALSE(CurrentFromPower(1, 0, kUnit, SupplyKind::SinglePhase));
    EXPECT_FALSE(CurrentFromPower(0, 0, kUnit, SupplyKind::DC));
    EXPECT_FALSE(CurrentFromPower(1, 220, {0, 1, 1}, SupplyKind::ThreePhase));
    EXPECT_FALSE(CurrentFromPower(1e308, 1e-10, kUnit, SupplyKind::DC));  // overflows
    EXPECT_FALSE(PowerFromCurrent(1e308, 1e10, kUnit, SupplyKind::ThreePhase));
    // A zero coefficient does not divide anything for DC.
    EXPECT_TRUE(CurrentFromPower(1, 220, {0, 0, 0}, SupplyKind::DC));
}

}  // namespace
}  // namespace kelvo

// Automatic disconnection at the end of the line, on values worked out by hand from the rule's
// constants: single- and three-phase, copper and aluminium, a protective conductor smaller than
// the phase, an upstream impedance too large for any line, the boundary Ik = Ia; and that the
// longest line is the longest whole length that passes.
#include <gtest/gtest.h>

#include <random>

#include "core/disconnection.h"

namespace kelvo {
namespace {

DisconnectionInput Line(SupplyKind supply, double voltage, Material material, double section, double pe,
                        std::optional<double> length, double upstream, double rating, TripCharacteristic curve) {
    return {supply, voltage, material, section, pe, length, upstream, rating, curve};
}

TEST(Disconnection, WorkedValues) {
    using S = SupplyKind;
    using M = Material;
    using T = TripCharacteristic;
    struct Case {
        const char* what;
        DisconnectionInput input;
        double ik, ia;
        bool ensured;
        long longest;
    };
    const Case cases[] = {
        {"the example: Cu 2,5, 1ф 220 V, C16, 0,3 Ω, 50 m",
         Line(S::SinglePhase, 220, M::Copper, 2.5, 0, 50, 0.3, 16, T::C), 192.98, 160, true, 63},
        {"the same at 80 m", Line(S::SinglePhase, 220, M::Copper, 2.5, 0, 80, 0.3, 16, T::C), 133.82, 160, false, 63},
        {"three-phase 380 V: U0 = 219,39 V", Line(S::ThreePhase, 380, M::Copper, 4, 0, 60, 0.2, 25, T::C), 264.31, 250,
         true, 64},
        {"aluminium 16, B32", Line(S::SinglePhase, 220, M::Aluminium, 16, 0, 100, 0.5, 32, T::B), 239.06, 160, true,
         208},
        {"PE 6 under phase 10, D40", Line(S::ThreePhase, 380, M::Copper, 10, 6, 30, 0.1, 40, T::D), 818.45, 800, true,
         31},
        {"Z_up above U0/Ia", Line(S::SinglePhase, 220, M::Copper, 2.5, 0, 10, 2.0, 16, T::C), 101.48, 160, false, 0},
        {"the boundary: Ik = Ia", Line(S::SinglePhase, 220, M::Copper, 2.5, 0, 0, 1.375, 16, T::C), 160, 160, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto result = CheckDisconnection(c.input);
        ASSERT_TRUE(result);
        EXPECT_DOUBLE_EQ(*result->fault_current, c.ik);
        EXPECT_DOUBLE_EQ(result->trip_current, c.ia);
        EXPECT_EQ(*result->ensured, c.ensured);
        EXPECT_EQ(result->longest_line, c.longest);
    }
    EXPECT_FALSE(CheckDisconnection(Line(S::DC, 24, M::Copper, 2.5, 0, 10, 0.1, 16, T::C)));  // not checked
    EXPECT_FALSE(CheckDisconnection(Line(S::SinglePhase, 220, M::Copper, 0, 0, 10, 0.1, 16, T::C)));
}

TEST(Disconnection, TheSmallestSectionOfTheLayingsTable) {
    auto input = Line(SupplyKind::SinglePhase, 220, Material::Copper, 2.5, 0, 80, 0.3, 16, TripCharacteristic::C);
    EXPECT_EQ(SmallestSectionForDisconnection(input, LayingMethod::p1), "4");
    input.upstream_impedance = 2;
    EXPECT_EQ(SmallestSectionForDisconnection(input, LayingMethod::p1), "нет");
}

TEST(Disconnection, CharacteristicsAsTyped) {
    const std::pair<const char*, std::optional<TripCharacteristic>> cases[] = {
        {"", TripCharacteristic::C},  {"B", TripCharacteristic::B}, {" c ", TripCharacteristic::C},
        {"Д", TripCharacteristic::D}, {"в", TripCharacteristic::B}, {"С", TripCharacteristic::C},
        {"K", std::nullopt},          {"BC", std::nullopt}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(ReadTripCharacteristic(text), expected) << text;
}

// The longest line passes, one metre more does not: on random lines.
TEST(Disconnection, TheLongestLineIsTheLongestThatPasses) {
    std::mt19937 random(7);
    const double sections[] = {1.5, 2.5, 4, 6, 10, 16, 25, 35, 50, 70, 95, 120};
    const double ratings[] = {6, 10, 16, 20, 25, 32, 40, 50, 63, 80, 100};
    for (int i = 0; i < 20000; ++i) {
        auto input =
            Line(random() % 2 ? SupplyKind::SinglePhase : SupplyKind::ThreePhase, random() % 2 ? 220 : 380,
                 random() % 2 ? Material::Copper : Material::Aluminium, sections[random() % 12], 0, std::nullopt,
                 (random() % 2000) / 1000.0, ratings[random() % 11], static_cast<TripCharacteristic>(random() % 3));
        const auto check = CheckDisconnection(input);
        ASSERT_TRUE(check);
        const long longest = check->longest_line;
        input.length = static_cast<double>(longest + 1);
        EXPECT_FALSE(*CheckDisconnection(input)->ensured) << i;
        if (longest > 0) {
            input.length = static_cast<double>(longest);
            EXPECT_TRUE(*CheckDisconnection(input)->ensured) << i;
        }
    }
}

}  // namespace
}  // namespace kelvo

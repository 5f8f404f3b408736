#include "core/protection.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kelvo {
namespace {

// The whole chain for one current, as the protection panel shows it.
struct Protection {
    std::string at_multiplicity, breaker, device, reference, trip;
};

Protection Chain(const char* current, const char* multiplicity) {
    Protection p;
    p.at_multiplicity = CurrentAtMultiplicity(multiplicity, current).value_or("?");
    p.breaker = SelectBreakerRating(p.at_multiplicity);
    p.device = SelectRcdRatedCurrent(p.breaker);
    p.reference = RcdReferenceCurrent(current).value_or("?");
    p.trip = SelectRcdTripCurrent(p.reference);
    return p;
}

TEST(Protection, WorkedChains) {
    struct Case {
        const char *current, *multiplicity;
        Protection expected;
    };
    // clang-format off
    const Case cases[] = {
        {"23", "1", {"23", "25", "40", "20,7", "30"}},
        {"23", "1,25", {"28,75", "30", "40", "20,7", "30"}},
        {"14,5", "0,8", {"11,6", "12,5", "16", "13,05", "30"}},
        {"605", "7", {"4235", "1,111", "", "544,5", "500"}},  // no device for the exceed marker
        {"30", "1", {"30", "30", "40", "27", "30"}},
        {"830", "1", {"830", "1000", "", "747", ""}},
        {"8,01", "1,25", {"10,0125", "12,5", "16", "7,209", "10"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const Protection p = Chain(c.current, c.multiplicity);
        SCOPED_TRACE(std::string(c.current) + " x " + c.multiplicity);
        EXPECT_EQ(std::vector({p.at_multiplicity, p.breaker, p.device, p.reference, p.trip}),
                  std::vector({c.expected.at_multiplicity, c.expected.breaker, c.expected.device, c.expected.reference,
                               c.expected.trip}));
    }
}

TEST(Protection, NotANumberIsDistinctFromAnEmptyResult) {
    EXPECT_EQ(CurrentAtMultiplicity("1", "нет"), std::nullopt);
    EXPECT_EQ(CurrentAtMultiplicity("1", ""), std::nullopt);
    EXPECT_EQ(CurrentAtMultiplicity("1.25", "23"), std::nullopt);
    EXPECT_EQ(CurrentAtMultiplicity("7", "9999999999999999"), std::nullopt);  // does not fit
    EXPECT_EQ(RcdReferenceCurrent("нет"), std::nullopt);
    for (const char* text : {"", "нет", "2.5", "abc"}) {
        EXPECT_EQ(SelectBreakerRating(text), "");
        EXPECT_EQ(SelectRcdRatedCurrent(text), "");
        EXPECT_EQ(SelectRcdTripCurrent(text), "");
    }
}

TEST(SelectBreakerRating, BoundariesAndGaps) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"0", "0,5"},       {"0,51", "0,5"},     {"0,5105", "1"},     {"0,511", "1"},
        {"10,01", "10"},    {"10,0125", "12,5"}, {"10,015", "12,5"},  {"10,02", "12,5"},
        {"3,3", "3"},       {"3,305", "4"},      {"12,53", "12,5"},   {"12,532", "15"},
        {"31,535", "35"},   {"1000,1", "1000"},  {"1000,105", "1,111"}, {"400400", "1,111"},
        {"400400,0001", ""}, {"-0,01", ""},      {"16", "16"},        {"16,1", "16"},
        {"16,105", "20"},
    };
    // clang-format on
    for (const auto& [amperes, rating] : cases) EXPECT_EQ(SelectBreakerRating(amperes), rating) << amperes;
}

TEST(SelectRcdRatedCurrent, EveryBreakerRatingHasItsDevice) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"0,5", "3"},  {"1", "3"},     {"1,5", "3"},   {"2", "3"},     {"2,5", "3"},
        {"3", "6"},    {"4", "6"},     {"5", "6"},     {"6,3", "10"},  {"10", "16"},
        {"12,5", "16"}, {"15", "16"},  {"16", "20"},   {"20", "25"},   {"25", "40"},
        {"30", "40"},  {"31,5", "40"}, {"35", "40"},   {"40", "50"},   {"50", "63"},
        {"63", "80"},  {"80", "100"},  {"100", "125"}, {"125", "250"}, {"160", "250"},
        {"200", "250"}, {"250", "500"}, {"320", "500"}, {"400", "500"}, {"500", "1000"},
        {"630", "1000"}, {"800", "1000"}, {"1000", ""}, {"1,111", ""},
    };
    // clang-format on
    for (const auto& [breaker, device] : cases) EXPECT_EQ(SelectRcdRatedCurrent(breaker), device) << breaker;
    // Every rating of the series is covered by the list above.
    EXPECT_EQ(BreakerRatingSeries().size(), std::size(cases));
}

TEST(SelectRcdTripCurrent, BoundariesAndGaps) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"0", "10"},       {"10,4", "10"},   {"10,42", "30"},  {"10,45", "30"},
        {"30,4", "30"},    {"30,41", "100"}, {"100,4", "100"}, {"300,43", "500"},
        {"700", "500"},    {"700,2", ""},    {"-1", ""},
    };
    // clang-format on
    for (const auto& [reference, trip] : cases) EXPECT_EQ(SelectRcdTripCurrent(reference), trip) << reference;
}

}  // namespace
}  // namespace kelvo

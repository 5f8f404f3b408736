#include "protection.h"

#include <array>

#include "number_text.h"
#include "result_codes.h"

namespace kelvo {
namespace {

constexpr std::string_view kMultiplicities[] = {"0,8", "1", "1,1", "1,2", "1,25", "2", "3", "4,5", "5", "6", "7"};

// Each rating accepts a small margin above its value.
// clang-format off
//  from      to        rating
constexpr RangeRow<TableNumber> kBreakerRatings[] = {
    {0,       0.51,     "0,5"},
    {0.511,   1.01,     "1"},
    {1.02,    1.51,     "1,5"},
    {1.511,   2.01,     "2"},
    {2.02,    2.53,     "2,5"},
    {2.531,   3.3,      "3"},
    {3.31,    4.3,      "4"},
    {4.31,    5.3,      "5"},
    {5.31,    6.4,      "6,3"},
    {6.41,    10.01,    "10"},
    {10.02,   12.53,    "12,5"},
    {12.534,  15.1,     "15"},
    {15.11,   16.1,     "16"},
    {16.11,   20.1,     "20"},
    {20.11,   25.1,     "25"},
    {25.11,   30.1,     "30"},
    {30.11,   31.53,    "31,5"},
    {31.54,   35.1,     "35"},
    {35.11,   40.1,     "40"},
    {40.11,   50.1,     "50"},
    {50.11,   63.1,     "63"},
    {63.11,   80.1,     "80"},
    {80.11,   100.1,    "100"},
    {100.11,  125.1,    "125"},
    {125.11,  160.1,    "160"},
    {160.11,  200.1,    "200"},
    {200.11,  250.1,    "250"},
    {250.11,  320.1,    "320"},
    {320.11,  400.1,    "400"},
    {400.11,  500.1,    "500"},
    {500.11,  630.1,    "630"},
    {630.11,  800.1,    "800"},
    {800.11,  1000.1,   "1000"},
    {1000.11, 400400,   TableNumber(kExceedMarker)},
};
// clang-format on

// clang-format off
//  breaker rating from, to   device rated current, A
constexpr RangeRow<std::string_view> kRcdRatings[] = {
    {0.5,   2.6,    "3"},
    {3,     5.5,    "6"},
    {6,     9.9,    "10"},
    {10,    15.5,   "16"},
    {16,    19,     "20"},
    {20,    24,     "25"},
    {25,    39,     "40"},
    {40,    49,     "50"},
    {50,    62,     "63"},
    {63,    79,     "80"},
    {80,    99,     "100"},
    {100,   124,    "125"},
    {125,   249,    "250"},
    {250,   499,    "500"},
    {500,   999,    "1000"},
    {1000,  100000, ""},  // no device for these ratings
};
// clang-format on

// clang-format off
//  reference current from, to, A   residual operating current, mA
constexpr RangeRow<std::string_view> kRcdTrips[] = {
    {0,       10.4,   "10"},
    {10.45,   30.4,   "30"},
    {30.45,   100.4,  "100"},
    {100.45,  300.4,  "300"},
    {300.45,  700,    "500"},
};
// clang-format on

std::string ResultOf(const RangeRow<std::string_view>* row) { return row ? std::string(row->result) : std::string{}; }

}  // namespace

std::span<const std::string_view> MultiplicityList() { return kMultiplicities; }

std::optional<Fixed4> OfferedMultiplicity(std::string_view text) {
    static const auto values = [] {
        std::array<Fixed4, std::size(kMultiplicities)> read{};
        for (std::size_t i = 0; i < read.size(); ++i) read[i] = *Fixed4::FromText(kMultiplicities[i]);
        return read;
    }();
    for (std::size_t i = 0; i < values.size(); ++i)
        if (text == kMultiplicities[i]) return values[i];
    return std::nullopt;
}
std::span<const RangeRow<TableNumber>> BreakerRatingSeries() { return kBreakerRatings; }
std::span<const RangeRow<std::string_view>> RcdRatingTable() { return kRcdRatings; }
std::span<const RangeRow<std::string_view>> RcdTripTable() { return kRcdTrips; }

std::optional<std::string> CurrentAtMultiplicity(std::string_view multiplicity, std::string_view current) {
    const auto factor = Fixed4::FromText(multiplicity);
    const auto amperes = Fixed4::FromText(current);
    if (!factor || !amperes) return std::nullopt;
    const auto product = factor->Times(*amperes);
    if (!product) return std::nullopt;
    return product->Text();
}

// The written bounds of the series leave gaps of 0,001 to 0,01 A between ratings; a current at
// multiplicity with more decimals (8,01 × 1,25 = 10,0125) must still get the next rating.
std::string SelectBreakerRating(std::string_view current_at_multiplicity) {
    const auto amperes = ReadNumber(current_at_multiplicity);
    if (!amperes) return {};
    return std::string(SelectBreakerRating(*amperes).text);
}

TableNumber SelectBreakerRating(double current_at_multiplicity) {
    const auto* row = FindRowClosingGaps(BreakerRatingSeries(), current_at_multiplicity);
    return row ? row->result : TableNumber{};
}

std::string SelectRcdRatedCurrent(std::string_view breaker_rating) {
    const auto rating = ReadNumber(breaker_rating);
    return rating ? SelectRcdRatedCurrent(*rating) : std::string{};
}

std::string SelectRcdRatedCurrent(double breaker_rating) {
    // The exceed marker means "no breaker large enough", not a 1,111 A breaker.
    if (breaker_rating == kExceedMarkerValue) return {};
    return ResultOf(FindRow(RcdRatingTable(), breaker_rating));
}

std::optional<std::string> RcdReferenceCurrent(std::string_view current) {
    const auto amperes = ReadNumber(current);
    if (!amperes) return std::nullopt;
    const auto reference = RcdReferenceCurrent(*amperes);
    if (!reference) return std::nullopt;
    return reference->Text();
}

std::optional<Fixed4> RcdReferenceCurrent(double current) { return Fixed4::FromDouble(current * 0.9); }

// The trip table leaves gaps of 0,05 A between its rows; a reference current there (10,42 A)
// belongs to the next row.
std::string SelectRcdTripCurrent(std::string_view reference_current) {
    const auto amperes = ReadNumber(reference_current);
    if (!amperes) return {};
    return std::string(SelectRcdTripCurrent(*amperes));
}

std::string_view SelectRcdTripCurrent(double reference_current) {
    const auto* row = FindRowClosingGaps(RcdTripTable(), reference_current);
    return row ? row->result : std::string_view{};
}

}  // namespace kelvo

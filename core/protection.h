// Protection of the line: circuit-breaker rating at a current multiplicity, and the
// residual-current device (rated current and rated residual operating current).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "number_text.h"
#include "range_table.h"

namespace kelvo {

// The multiplicities offered; "1" is shown at start.
std::span<const std::string_view> MultiplicityList();
inline constexpr std::string_view kDefaultMultiplicity = "1";
// The value of a multiplicity offered, written exactly as listed; nothing for any other text.
std::optional<Fixed4> OfferedMultiplicity(std::string_view text);

// Ratings by the current at multiplicity (A), ending with the exceed marker "1,111".
std::span<const RangeRow<TableNumber>> BreakerRatingSeries();
// Device rated current by the breaker rating.
std::span<const RangeRow<std::string_view>> RcdRatingTable();
// Residual operating current (mA) by the device's reference current (A).
std::span<const RangeRow<std::string_view>> RcdTripTable();

// Multiplicity × current in four-decimal fixed point ("28,75"); nothing when a text is not a
// number (the code "нет" included) or the product does not fit.
std::optional<std::string> CurrentAtMultiplicity(std::string_view multiplicity, std::string_view current);

// The breaker rating for the current at multiplicity, "1,111" above the largest rating, or the
// empty text (not a number, negative, above the series).
std::string SelectBreakerRating(std::string_view current_at_multiplicity);

// The device rated current for the breaker rating, or the empty text (no device for the rating,
// the exceed marker, not a number).
std::string SelectRcdRatedCurrent(std::string_view breaker_rating);

// Nine tenths of the current, in four-decimal fixed point; nothing when it is not a number.
std::optional<std::string> RcdReferenceCurrent(std::string_view current);

// The residual operating current in mA for the reference current, or the empty text.
std::string SelectRcdTripCurrent(std::string_view reference_current);

// The same selections for values already read as numbers (the texts above read their number
// and call these).
TableNumber SelectBreakerRating(double current_at_multiplicity);
std::string SelectRcdRatedCurrent(double breaker_rating);
std::string_view SelectRcdTripCurrent(double reference_current);
std::optional<Fixed4> RcdReferenceCurrent(double current);

}  // namespace kelvo

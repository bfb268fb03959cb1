// Rounding a tap position down to a whole sample index.
//
// The position is doubled, lowered by half a sample and rounded to the nearest
// integer with ties to even; shifting that right by one bit (sign kept) gives
// the largest integer not above the input. The tie cases land on even numbers,
// which the shift then halves exactly, so 2.0 stays 2 and 1.9999 becomes 1.
//
// The rounding is done here rather than through the floating-point unit's
// current rounding mode, so a host that changes that mode cannot move a tap.
// Inputs whose doubled value does not fit in 32 bits (and NaN) give the value
// of the hardware's "integer indefinite" answer, -2^31, shifted: -2^30. Every
// user masks the result into a ring, so any defined value keeps reads inside it.
#pragma once

#include <cmath>
#include <cstdint>

namespace chorus_detail {

// Nearest integer to y, ties to even, for finite y.
inline double roundHalfToEven(double y)
{
    const double below = std::floor(y);
    const double excess = y - below;  // exact: both are within one unit of y
    if (excess > 0.5)
        return below + 1.0;
    if (excess < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace chorus_detail

inline int32_t floorToInt(double x)
{
    const double doubledLowered = 2.0 * x - 0.5;
    constexpr double lowest = -2147483648.0;
    constexpr double highest = 2147483647.0;
    const double nearest = chorus_detail::roundHalfToEven(doubledLowered);
    if (!(nearest >= lowest && nearest <= highest))
        return INT32_MIN >> 1;
    // Right shift of a negative value is arithmetic in C++20.
    return static_cast<int32_t>(nearest) >> 1;
}

// The one rounding-down rule that the voices and the chorus share.
//
// floorToInt(x) is the largest 32-bit integer not above x (1.7 -> 1,
// -1.3 -> -2, 2.0 -> 2), computed the way the instrument always has: double x,
// take away half, round to the nearest integer with ties to even, then shift
// right by one bit with the sign kept. The tie cases land on even numbers,
// which the shift halves exactly. For a negative x closer to zero than about
// 2^-54, 2x - 0.5 rounds to -0.5 and the rule gives 0, not -1; that is part of
// the instrument's sound and is kept bit for bit.
//
// The rounding is done here rather than through the floating-point unit's
// current mode, so a host that changes that mode cannot change a sample.
// Values beyond the 32-bit range saturate and NaN gives 0, so no input can
// make the conversion undefined.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace numeric {

inline int32_t floorToInt(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    const double y = 2.0 * x - 0.5;
    // Beyond this the halved result is far outside 32 bits anyway.
    constexpr double kLimit = 9.0e15;
    if (y >= kLimit) return std::numeric_limits<int32_t>::max();
    if (y <= -kLimit) return std::numeric_limits<int32_t>::min();

    // Round y to the nearest integer, ties to even, with integer arithmetic
    // only: no call into the maths library and no dependence on the mode.
    int64_t below = static_cast<int64_t>(y);  // toward zero
    if (static_cast<double>(below) > y) {
        --below;  // now the floor of y
    }
    // Exact wherever it decides anything: y and its floor are within one unit.
    const double excess = y - static_cast<double>(below);
    const bool roundUp = excess > 0.5 || (excess == 0.5 && (below & 1) != 0);
    const int64_t nearest = roundUp ? below + 1 : below;

    // Right shift of a negative value is arithmetic in C++20.
    const int64_t halved = nearest >> 1;
    constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(halved < kLowest ? kLowest : (halved > kHighest ? kHighest : halved));
}

}  // namespace numeric

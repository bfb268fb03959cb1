#pragma once

#include <cstdint>
#include <limits>

// Conversions between the engine's floating-point arithmetic and its 32-bit and
// 16-bit integers. Every conversion is defined for every input, NaN and
// infinities included, so that no value reaching the audio path can make a
// conversion undefined.
//
// They live in their own namespace because the chorus, which depends on
// nothing of the engine, carries its own floorToInt, and both end up in the
// same plug-in library.
namespace numeric {

// The largest 32-bit integer not above x (1.7 -> 1, -1.3 -> -2, 2.0 -> 2).
// It equals the integer nearest to 2x - 0.5 (ties to even) shifted right by one
// bit with its sign kept, evaluated exactly. Values beyond the 32-bit range
// saturate; NaN gives 0, which leaves a phase offset or step without effect.
inline int32_t floorToInt(double x)
{
    constexpr double kLowest = -2147483648.0;  // -2^31, exactly representable
    constexpr double kBeyond = 2147483648.0;   // 2^31, the first value out of range
    if (x != x) {
        return 0;
    }
    if (x < kLowest) {
        return std::numeric_limits<int32_t>::min();
    }
    if (x >= kBeyond) {
        return std::numeric_limits<int32_t>::max();
    }
    // Truncation is defined here because x lies in [-2^31, 2^31).
    int32_t truncated = static_cast<int32_t>(x);
    if (static_cast<double>(truncated) > x) {
        --truncated;  // cannot pass -2^31: x >= -2^31 and x < truncated
    }
    return truncated;
}

// Truncation toward zero to a 32-bit integer, saturating beyond the range and
// giving 0 for NaN.
int32_t truncateToInt32(double x);

// The low 16 bits of a 32-bit integer read as a signed 16-bit value
// (49764 -> -15772), as oscillator steps are stored.
inline int16_t lowSixteenBits(int32_t value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

// 2^x approximated by writing a cubic of the fractional part straight into the
// bits of a float: exact at whole numbers (approxExp2(0) = 1, approxExp2(-1) =
// 0.5) and within about 1e-4 relative in between. Inputs are held to
// [-126, 127] so that the result is always a normal float; NaN counts as 0.
float approxExp2(float x);

}  // namespace numeric

#pragma once

#include <cstdint>
#include <limits>

#include "numeric/FloorToInt.h"

// Conversions between the engine's floating-point arithmetic and its 32-bit and
// 16-bit integers. Every conversion is defined for every input, NaN and
// infinities included, so that no value reaching the audio path can make a
// conversion undefined.
//
// floorToInt, which the chorus uses too, lives in numeric/FloorToInt.h.
namespace numeric {

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

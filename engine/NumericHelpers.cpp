#include "engine/NumericHelpers.h"

#include <bit>
#include <cmath>

namespace numeric {

int32_t truncateToInt32(double x)
{
    if (x != x) {
        return 0;
    }
    if (x <= -2147483649.0) {
        return std::numeric_limits<int32_t>::min();
    }
    if (x >= 2147483648.0) {
        return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(x);  // in range: truncation toward zero is defined
}

float approxExp2(float x)
{
    // Outside [-126, 127] the exponent field would leave the normal range (and
    // the integer below would overflow); pitch bends stay within -1..+1.
    constexpr float kLowestExponent = -126.0f;
    constexpr float kHighestExponent = 127.0f;
    if (x != x) {
        x = 0.0f;
    }
    x = std::fmin(std::fmax(x, kLowestExponent), kHighestExponent);

    const float whole = std::floor(x);
    const float fraction = x - whole;  // exact: 0 <= fraction < 1

    // The cubic 1 + r(0.696 + r(0.225 + 0.079r)) meets 2^r at r = 0 and r = 1
    // (0.696 + 0.225 + 0.079 = 1). The whole part lands in the exponent field.
    constexpr float kCubic = 0.079f;
    constexpr float kQuadratic = 0.225f;
    constexpr float kLinear = 0.696f;
    static_assert(std::bit_cast<uint32_t>(kCubic) == 0x3DA1CAC1u);
    static_assert(std::bit_cast<uint32_t>(kQuadratic) == 0x3E666666u);
    static_assert(std::bit_cast<uint32_t>(kLinear) == 0x3F322D0Eu);
    const double r = fraction;
    const double y = ((r * kCubic + kQuadratic) * r + kLinear) * r + static_cast<double>(whole);

    constexpr double kMantissaUnit = 8388608.0;       // 2^23: one exponent step
    constexpr double kExponentOfOne = 1065353216.0;   // bits of 1.0f
    const int32_t bits = truncateToInt32(y * kMantissaUnit + kExponentOfOne);
    return std::bit_cast<float>(bits);
}

}  // namespace numeric

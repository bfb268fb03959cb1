#include "engine/NumericHelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

using numeric::approxExp2;
using numeric::lowSixteenBits;
using numeric::truncateToInt32;

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates)
{
    EXPECT_EQ(truncateToInt32(326.93), 326);
    EXPECT_EQ(truncateToInt32(-326.93), -326);
    EXPECT_EQ(truncateToInt32(-2147483648.9), kIntMin);
    EXPECT_EQ(truncateToInt32(1e12), kIntMax);
    EXPECT_EQ(truncateToInt32(-1e12), kIntMin);
    EXPECT_EQ(truncateToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(LowSixteenBits, ReadsTheLowHalfAsSigned)
{
    EXPECT_EQ(lowSixteenBits(326), 326);
    EXPECT_EQ(lowSixteenBits(49764), -15772);  // 49764 - 65536
    EXPECT_EQ(lowSixteenBits(40000), -25536);
    EXPECT_EQ(lowSixteenBits(65536 + 20), 20);
    EXPECT_EQ(lowSixteenBits(-1), -1);
    EXPECT_EQ(lowSixteenBits(kIntMax), -1);
}

TEST(ApproxExp2, IsExactAtWholeNumbers)
{
    EXPECT_EQ(approxExp2(0.0f), 1.0f);
    EXPECT_EQ(approxExp2(-1.0f), 0.5f);
    EXPECT_EQ(approxExp2(1.0f), 2.0f);
    EXPECT_EQ(approxExp2(-0.0f), 1.0f);
}

TEST(ApproxExp2, WritesTheCubicIntoTheFloatBits)
{
    // At x = 0.5 the mantissa holds 0.5 * (0.696 + 0.5 * (0.225 + 0.079 * 0.5))
    // = 0.414125: the bend's half-octave sits just under the true 1.414214.
    EXPECT_NEAR(approxExp2(0.5f), 1.414125f, 1e-6f);
    EXPECT_LT(approxExp2(0.5f), std::sqrt(2.0f));

    // The largest bend the intake produces, 16383 of 16384 steps.
    const float top = approxExp2(0.99987793f);
    EXPECT_LT(top, 2.0f);
    EXPECT_GT(top, 1.9997f);
}

TEST(ApproxExp2, StaysCloseToTwoToTheXOverTheBendRange)
{
    // The cubic meets 2^r at both ends and stays within a few parts in 10^4
    // in between; it never decreases, so a rising bend never falls in pitch.
    float previous = 0.0f;
    for (int i = -16384; i <= 16383; ++i) {
        const float x = static_cast<float>(i) / 16384.0f;
        const float y = approxExp2(x);
        EXPECT_NEAR(y / std::exp2(x), 1.0, 2e-4) << "x = " << x;
        EXPECT_GE(y, previous) << "x = " << x;
        previous = y;
    }
}

TEST(ApproxExp2, StaysAFiniteNormalFloatForAnyInput)
{
    const float inputs[] = {1000.0f, -1000.0f, std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), 127.9f, -126.5f};
    for (float x : inputs) {
        const float y = approxExp2(x);
        EXPECT_TRUE(std::isnormal(y)) << "x = " << x << " gives " << y;
    }
    EXPECT_EQ(approxExp2(std::numeric_limits<float>::quiet_NaN()), 1.0f);  // no bend
}

}  // namespace

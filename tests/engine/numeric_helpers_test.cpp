#include "engine/NumericHelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace {

using numeric::approxExp2;
using numeric::floorToInt;
using numeric::lowSixteenBits;
using numeric::truncateToInt32;

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

struct FloorCase {
    double x;
    int32_t expected;
};

TEST(FloorToInt, GivesTheLargestIntegerNotAbove)
{
    const FloorCase cases[] = {
        {1.7, 1},    {-1.3, -2},  {2.0, 2},     {-2.0, -2},  {0.0, 0},   {-0.0, 0},
        {0.5, 0},    {-0.5, -1},  {2.5, 2},     {-2.5, -3},  {1e-300, 0}, {-1e-300, -1},
        // Just below a whole number: a table offset one unit short of the next
        // index must not be rounded up into it.
        {std::nextafter(3.0, 0.0), 2}, {std::nextafter(-3.0, 0.0), -3},
        {2147483647.9, kIntMax}, {-2147483648.0, kIntMin}, {-2147483647.5, kIntMin},
    };
    for (const FloorCase& c : cases) {
        EXPECT_EQ(floorToInt(c.x), c.expected) << "x = " << c.x;
    }
}

TEST(FloorToInt, AgreesWithTheHalvedRoundingOfTwiceXMinusAHalf)
{
    // The integer nearest to 2x - 0.5 (ties to even), halved with the sign
    // kept, evaluated where 2x - 0.5 is exact: the way the offsets of the
    // carrier lookup are defined.
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> spread(-70000.0, 70000.0);
    for (int i = 0; i < 100000; ++i) {
        const double x = i < 200 ? (i - 100) * 0.5 : spread(random);
        const double twiceLessHalf = 2.0 * x - 0.5;  // exact: no input here is small enough to round
        const auto nearest = static_cast<int64_t>(std::nearbyint(twiceLessHalf));
        EXPECT_EQ(floorToInt(x), static_cast<int32_t>(nearest >> 1)) << "x = " << x;
    }
}

TEST(FloorToInt, SaturatesOutsideTheRangeAndMapsNanToZero)
{
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(floorToInt(2147483648.0), kIntMax);
    EXPECT_EQ(floorToInt(1e300), kIntMax);
    EXPECT_EQ(floorToInt(inf), kIntMax);
    EXPECT_EQ(floorToInt(-2147483648.5), kIntMin);
    EXPECT_EQ(floorToInt(-inf), kIntMin);
    EXPECT_EQ(floorToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

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

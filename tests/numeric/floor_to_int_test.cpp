// The shared rounding-down rule of the voices and the chorus.
#include "numeric/FloorToInt.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

using numeric::floorToInt;

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

TEST(FloorToInt, GivesTheLargestIntegerNotAbove) {
    struct Case {
        double x;
        int32_t expected;
    };
    // Whole numbers and halves are where doubling and lowering by a half lands
    // on a tie; the ties go to the even neighbour for the shift to floor them.
    const Case cases[] = {
        {1.7, 1},     {-1.3, -2},   {2.0, 2},    {-2.0, -2},  {0.0, 0},     {-0.0, 0},    {0.5, 0},
        {1.5, 1},     {2.5, 2},     {-0.5, -1},  {-1.5, -2},  {-2.5, -3},   {0.25, 0},    {-0.25, -1},
        {0.75, 0},    {-0.75, -1},  {1e-300, 0}, {64.0, 64},  {192.0, 192}, {191.99998474121094, 191},
        {std::nextafter(2.0, 0.0), 1},           {std::nextafter(-3.0, 0.0), -3},
        {1.0e9, 1000000000},        {-1.0e9, -1000000000},
        {2147483647.9, kIntMax},    {-2147483648.0, kIntMin}, {-2147483647.5, kIntMin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(floorToInt(c.x), c.expected) << "x = " << c.x;
    }
}

TEST(FloorToInt, TinyNegativeValuesRoundToZeroAsTheRuleDoes) {
    // 2x - 0.5 rounds to -0.5, a tie that goes to the even 0: the doubled rule,
    // not the textbook floor, decides the carrier offset here.
    EXPECT_EQ(floorToInt(-1e-300), 0);
    EXPECT_EQ(floorToInt(-1e-17), 0);
    EXPECT_EQ(floorToInt(-1e-15), -1);
}

TEST(FloorToInt, MatchesTheHalvedRoundingOfTwiceXMinusAHalf) {
    std::mt19937_64 random(12345);
    std::uniform_real_distribution<double> spread(-70000.0, 70000.0);
    for (int i = 0; i < 100000; ++i) {
        const double x = i < 200 ? (i - 100) * 0.5 : spread(random);
        const auto nearest = static_cast<int64_t>(std::nearbyint(2.0 * x - 0.5));
        ASSERT_EQ(floorToInt(x), static_cast<int32_t>(nearest >> 1)) << "x = " << x;
        ASSERT_EQ(floorToInt(x), static_cast<int32_t>(std::floor(x))) << "x = " << x;
    }
}

TEST(FloorToInt, AgreesWithRoundingThroughTheMathsLibrary) {
    // The same rule spelled with floor and fmod: tiny, tie and random values.
    auto reference = [](double x) {
        const double y = 2.0 * x - 0.5;
        const double below = std::floor(y);
        const double excess = y - below;
        const double nearest =
            excess > 0.5 ? below + 1.0 : (excess < 0.5 ? below : (std::fmod(below, 2.0) == 0.0 ? below : below + 1.0));
        return static_cast<int32_t>(static_cast<int64_t>(nearest) >> 1);
    };
    std::mt19937_64 random(99);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-80, 30);
    for (int i = 0; i < 200000; ++i) {
        const double x = std::ldexp(unit(random), exponent(random));
        ASSERT_EQ(floorToInt(x), reference(x)) << "x = " << x;
        const double tie = std::round(x * 4.0) / 4.0;  // quarters land on ties of 2x - 0.5
        ASSERT_EQ(floorToInt(tie), reference(tie)) << "x = " << tie;
        ASSERT_EQ(floorToInt(std::nextafter(tie, 1e9)), reference(std::nextafter(tie, 1e9)));
        ASSERT_EQ(floorToInt(std::nextafter(tie, -1e9)), reference(std::nextafter(tie, -1e9)));
    }
}

TEST(FloorToInt, SaturatesOutsideTheRangeAndMapsNanToZero) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(floorToInt(2147483648.0), kIntMax);
    EXPECT_EQ(floorToInt(1e300), kIntMax);
    EXPECT_EQ(floorToInt(inf), kIntMax);
    EXPECT_EQ(floorToInt(-2147483648.5), kIntMin);
    EXPECT_EQ(floorToInt(-inf), kIntMin);
    EXPECT_EQ(floorToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(FloorToInt, IgnoresTheCurrentRoundingMode) {
    const int savedMode = std::fegetround();
    for (const int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        volatile double two = 2.0;
        volatile double oneAndThreeQuarters = 1.75;
        volatile double minusOneAndAHalf = -1.5;
        EXPECT_EQ(floorToInt(two), 2);
        EXPECT_EQ(floorToInt(oneAndThreeQuarters), 1);
        EXPECT_EQ(floorToInt(minusOneAndAHalf), -2);
    }
    std::fesetround(savedMode);
}

}  // namespace

#include "chorus/FloorToInt.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace {

struct FloorCase {
    double input;
    int32_t expected;
};

class FloorToIntCases : public ::testing::TestWithParam<FloorCase> {};

TEST_P(FloorToIntCases, GivesTheLargestIntegerNotAbove)
{
    EXPECT_EQ(floorToInt(GetParam().input), GetParam().expected) << GetParam().input;
}

// Whole numbers and halves are where doubling and lowering by a half lands on
// a tie; the ties must go to the even neighbour for the shift to floor them.
INSTANTIATE_TEST_SUITE_P(Values, FloorToIntCases,
    ::testing::Values(FloorCase{1.7, 1}, FloorCase{-1.3, -2}, FloorCase{2.0, 2}, FloorCase{-2.0, -2},
                      FloorCase{0.0, 0}, FloorCase{-0.0, 0}, FloorCase{0.5, 0}, FloorCase{1.5, 1},
                      FloorCase{2.5, 2}, FloorCase{-0.5, -1}, FloorCase{-1.5, -2}, FloorCase{0.25, 0},
                      FloorCase{0.75, 0}, FloorCase{-0.25, -1}, FloorCase{-0.75, -1},
                      FloorCase{std::nextafter(2.0, 0.0), 1}, FloorCase{191.99998474121094, 191},
                      FloorCase{64.0, 64}, FloorCase{192.0, 192},
                      FloorCase{1.0e9, 1000000000}, FloorCase{-1.0e9, -1000000000}));

TEST(FloorToInt, MatchesFloorAcrossTapPositions)
{
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> position(-300.0f, 300.0f);
    for (int trial = 0; trial < 100000; ++trial) {
        const float x = position(generator);
        ASSERT_EQ(floorToInt(x), static_cast<int32_t>(std::floor(x))) << x;
    }
}

// Values whose doubled form leaves 32 bits, and NaN, get one fixed defined
// answer: the hardware's out-of-range integer (-2^31) halved by the shift.
TEST(FloorToInt, OutOfRangeInputsGiveTheIndefiniteValue)
{
    constexpr int32_t indefinite = -(1 << 30);
    EXPECT_EQ(floorToInt(1.5e9), indefinite);
    EXPECT_EQ(floorToInt(-1.5e9), indefinite);
    EXPECT_EQ(floorToInt(std::numeric_limits<double>::infinity()), indefinite);
    EXPECT_EQ(floorToInt(-std::numeric_limits<double>::infinity()), indefinite);
    EXPECT_EQ(floorToInt(std::numeric_limits<double>::quiet_NaN()), indefinite);
}

TEST(FloorToInt, IgnoresTheCurrentRoundingMode)
{
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

} // namespace

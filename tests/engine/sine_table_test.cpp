#include "engine/SineTable.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SineTable, HoldsTheTellingEntries)
{
    const SineTable table;
    struct Entry {
        int index;
        int16_t value;
    };
    // Quarter points of the cycle, and the first steps either side of zero:
    // 32767 * sin(2pi / 4096) = 50.26.
    const Entry entries[] = {{0, 0}, {1, 50}, {512, 23169}, {1024, 32767},
                             {2048, 0}, {3072, -32767}, {4095, -50}};
    for (const Entry& e : entries) {
        EXPECT_EQ(table[e.index], e.value) << "entry " << e.index;
    }
}

TEST(SineTable, IsComputedInDoublePrecision)
{
    // Extended precision gives the same entries everywhere but at the trough:
    // there the exact product is -32766.999999999999998, which double rounds
    // to -32767 before truncation. The trough is a full -32767.
    const SineTable table;
    for (int i = 0; i < SineTable::kSize; ++i) {
        if (i == 3072) {
            continue;
        }
        const long double wide = std::sin(i * (1.0L / 4096.0L) * 6.2831853076L) * 32767.0L;
        EXPECT_EQ(table[i], static_cast<int16_t>(wide)) << "entry " << i;
    }
    EXPECT_EQ(table[3072], -32767);
}

TEST(SineTable, IsAnOddCycle)
{
    // sin(pi + t) = -sin(t): the second half mirrors the first, up to the one
    // unit that truncation of a cycle constant slightly off 2pi may shift.
    const SineTable table;
    for (int i = 1; i < SineTable::kSize / 2; ++i) {
        EXPECT_LE(std::abs(table[i] + table[i + SineTable::kSize / 2]), 1) << "entry " << i;
    }
}

TEST(SineTable, IndexesWithTheTopTwelveBitsOfAPhase)
{
    const SineTable table;
    EXPECT_EQ(SineTable::atPhase(table.data(), 0x4000), 32767);   // a quarter cycle
    EXPECT_EQ(SineTable::atPhase(table.data(), 0x400F), 32767);   // low 4 bits ignored
    EXPECT_EQ(SineTable::atPhase(table.data(), 0xFFFF), -50);     // last entry
}

}  // namespace

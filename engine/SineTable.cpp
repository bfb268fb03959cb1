#include "engine/SineTable.h"

#include <cmath>

SineTable::SineTable()
{
    // The cycle constant is the one every build of the table uses; it is not
    // exactly 2*pi, so entry 2048 is a hair below zero and truncates to 0.
    constexpr double kCycle = 6.2831853076;
    constexpr double kStep = 1.0 / kSize;  // 2^-12, exact
    constexpr double kAmplitude = 32767.0;
    for (int i = 0; i < kSize; ++i) {
        const double value = std::sin(i * kStep * kCycle) * kAmplitude;
        samples_[static_cast<unsigned>(i)] = static_cast<int16_t>(value);  // toward zero
    }
}

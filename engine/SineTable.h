#pragma once

#include <array>
#include <cstdint>

// One cycle of a sine wave, 4096 signed 16-bit samples of amplitude 32767.
// Oscillators index it with the top 12 bits of their 16-bit phase.
class SineTable {
public:
    static constexpr int kSize = 4096;
    static constexpr int kIndexShift = 4;  // 16-bit phase -> 12-bit index

    SineTable();

    int16_t operator[](int index) const { return samples_[static_cast<unsigned>(index)]; }
    const int16_t* data() const { return samples_.data(); }

    // The sample for a 16-bit phase (65536 units per cycle).
    static int16_t atPhase(const int16_t* table, uint16_t phase) { return table[phase >> kIndexShift]; }

private:
    std::array<int16_t, kSize> samples_;
};

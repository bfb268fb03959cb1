// The last stage of every audio block: adds a slowly swept, delayed copy of
// each channel to that channel.
//
// Each channel has its own 2048-sample ring and its own tap. One 1.2 Hz sine
// oscillator moves both taps, the right one a quarter period behind the left,
// so identical channels come out with a stereo movement. The dry signal always
// stays at full level; the chorus only adds.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

class StereoChorus {
public:
    static constexpr int32_t kLineLength = 2048;  // samples per ring, a power of two
    static constexpr int32_t kIndexMask = kLineLength - 1;

    StereoChorus();

    // Takes effect from the next block: the LFO coefficient follows the new
    // rate and both taps move to the delay offset for it. The write position,
    // the rings and the LFO phase stay as they are. A rate that is not a
    // positive finite number, or so high that its offset needs more than
    // 32 bits, is ignored: it would leave the LFO without a usable step.
    void setSampleRate(float rate);

    // Works in place. `amount` scales the wet signal that is added to the dry.
    // A count of zero or less only refreshes the LFO coefficient.
    void process(float* left, float* right, int32_t frames, float amount);

    float sampleRate() const { return rate.load(std::memory_order_relaxed); }
    int32_t readIndex() const { return read.load(std::memory_order_relaxed); }
    int32_t writeIndex() const { return write; }
    float lfoCoefficient() const { return k; }
    float leftLfo() const { return s0; }   // drives the left tap
    float rightLfo() const { return s1; }  // a quarter period behind, drives the right tap

private:
    // One channel's tap at `position` samples (64 to 192) before the base read
    // index, interpolated over four neighbouring samples of `line`.
    float tap(const std::array<float, kLineLength>& line, int32_t baseIndex, float position) const;

    std::array<float, kLineLength> leftLine{};
    std::array<float, kLineLength> rightLine{};

    int32_t write = 0;                       // next slot to fill, 0..2047
    std::atomic<int32_t> read;               // base tap slot; set by the setup thread between blocks
    std::atomic<float> rate;                 // Hz
    float s0 = 0.5f;                         // coupled-form oscillator state
    float s1 = 0.0f;
    float k = 0.0f;                          // per-sample rotation coefficient, refreshed every block

    static_assert(std::atomic<int32_t>::is_always_lock_free);
    static_assert(std::atomic<float>::is_always_lock_free);
};

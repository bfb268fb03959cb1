#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

// A fixed low-cut: the input minus four cascaded one-pole low-passes of it.
// Each stage has unity gain at zero frequency (2 * kGain = 1 + kPole), so the
// result loses its low end. The coefficients do not follow the sample rate.
// The state is never reset by the voice: not at a note start and not while the
// filter is bypassed.
class LowCutFilter {
public:
    static constexpr int kStages = 4;
    static constexpr float kGain = 0.05328f;   // input coefficient of each stage
    static constexpr float kPole = -0.89344f;  // feedback coefficient of each stage

    float process(float x)
    {
        if (repeats(x)) {
            return result_;
        }
        const float s1 = (x + input_) * kGain - kPole * stage_[0];
        const float s2 = (s1 + stage_[0]) * kGain - kPole * stage_[1];
        const float s3 = (s2 + stage_[1]) * kGain - kPole * stage_[2];
        const float s4 = (s3 + stage_[2]) * kGain - kPole * stage_[3];
        settled_ = sameBits(x, input_) && sameBits(s1, stage_[0]) && sameBits(s2, stage_[1]) &&
                   sameBits(s3, stage_[2]) && sameBits(s4, stage_[3]);
        stage_ = {s1, s2, s3, s4};
        input_ = x;
        result_ = x - s4;
        return result_;
    }

    // True when processing x would leave every value exactly as it is and
    // return the previous result again. A silent voice's filter decays into
    // subnormal numbers and then stops changing; from there on it costs
    // nothing, instead of running the slow subnormal arithmetic for as long as
    // the note is held.
    bool repeats(float x) const { return settled_ && sameBits(x, input_); }

    // A NaN or infinite input would otherwise stay in the feedback for good
    // and silence (or poison) the voice for every later note.
    void clearIfNotFinite()
    {
        bool finite = std::isfinite(input_);
        for (float s : stage_) {
            finite = finite && std::isfinite(s);
        }
        if (!finite) {
            input_ = 0.0f;
            stage_ = {};
            result_ = 0.0f;
            settled_ = false;
        }
    }

    // Takes up a state computed elsewhere tick for tick. Whether it has
    // settled is not known, so the next tick is computed in full.
    void restore(float input, const std::array<float, kStages>& stages)
    {
        input_ = input;
        stage_ = stages;
        settled_ = false;
    }

    float input() const { return input_; }
    const std::array<float, kStages>& stages() const { return stage_; }

private:
    static bool sameBits(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

    float input_ = 0.0f;                 // previous input
    std::array<float, kStages> stage_{};  // previous output of each low-pass
    float result_ = 0.0f;                // previous result
    bool settled_ = false;               // the previous tick changed nothing
};

static_assert(std::bit_cast<uint32_t>(LowCutFilter::kGain) == 0x3D5A3C21u);
static_assert(std::bit_cast<uint32_t>(LowCutFilter::kPole) == 0xBF64B87Cu);

// The buffers a host hands to processReplacing, with what a careful host
// checks afterwards.
//
// Every channel sits between two guard zones holding a marker value, so a
// write before the first or after the last frame shows up without a memory
// error. Before each call the channels are filled with noise that no plug-in
// produces by chance, so a frame the plug-in did not write can be told apart.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace validate {

// What one or more audio calls left in the outputs.
struct AudioReport {
    uint64_t frames = 0;          // frames asked for, per channel
    uint64_t nonFinite = 0;       // NaN or infinite samples
    uint64_t denormals = 0;       // non-zero samples below the smallest normal float
    uint64_t unwritten = 0;       // samples still holding the noise put there before the call
    uint64_t guardBreaches = 0;   // calls that wrote outside a channel's frames
    uint64_t nonSilentFrames = 0; // frames with any channel not exactly zero
    float peak = 0.0f;            // largest finite magnitude

    AudioReport& operator+=(const AudioReport& other);
    bool clean() const { return nonFinite == 0 && denormals == 0 && unwritten == 0 && guardBreaches == 0; }
    // "12 NaN or infinite samples, 3 denormals" or "" when clean.
    std::string problems() const;
};

// Which noise goes into the outputs before each call.
enum class Prefill {
    Noise,    // finite values between 0.25 and 0.75 in magnitude
    Garbage,  // NaN, infinities, denormals and huge values mixed in
};

class AudioBuffers {
public:
    static constexpr int kGuardFrames = 64;

    AudioBuffers(int channels, int capacity, uint32_t seed);

    int channels() const { return static_cast<int>(channels_.size()); }
    int capacity() const { return capacity_; }
    // Grows every channel to hold at least `frames` (never called during an audio call).
    void reserve(int frames);

    // Fills every channel, guards included, before a call.
    void prepare(Prefill prefill = Prefill::Noise);
    float** pointers() { return pointers_.data(); }

    // Looks at what a call asked to write `frames` frames left behind.
    AudioReport inspect(int frames) const;
    // True when nothing at all changed since prepare(): for calls that must not write.
    bool untouched() const;

    const float* channel(int index) const;

private:
    void rebuild(int capacity);
    const std::vector<std::vector<float>>& prefilled() const { return prefill_ == Prefill::Noise ? noise_ : garbage_; }

    int capacity_;
    std::vector<std::vector<float>> channels_;  // guard, capacity frames, guard
    std::vector<std::vector<float>> noise_;     // what prepare() wrote, per channel
    std::vector<std::vector<float>> garbage_;
    std::vector<float*> pointers_;
    Prefill prefill_ = Prefill::Noise;
    std::mt19937 random_;
};

}  // namespace validate

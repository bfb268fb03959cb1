#pragma once

#include <atomic>
#include <cstdint>

// A gain state machine ticked once per oversampled tick (twice per output
// frame). Rates are level units per tick.
//
// The rates and the sustain level are written by the parameter and setup paths
// while the audio thread ticks, so they are relaxed atomics: each is one
// 32-bit float written whole, and a tick uses whichever value it reads.
// State and level belong to the audio thread.
class Envelope {
public:
    enum State : int32_t {
        EnvIdle = 0,
        EnvAttack = 1,
        EnvDecay = 2,
        EnvSustain = 3,
        EnvRelease = 4,
        EnvFade = 5,
    };

    // The rates in force, read once so that a block of ticks uses one set.
    struct Rates {
        float attackRate;
        float decayRate;
        float sustainLevel;
        float releaseRate;
    };

    // Idle at level 0 with the given rates.
    Envelope(float attackRate, float decayRate, float sustainLevel, float releaseRate);

    // Advances one tick and returns the gain for it.
    float tick();

    // Multiplies samples[k] by this tick's gain and then by `gain`, ticking once
    // per sample in order: samples[k] = (tick * samples[k]) * gain.
    void applyTo(float* samples, int64_t count, float gain);

    // Times in seconds at `sampleRate` Hz. Attack and release times below
    // 0.0001 s count as 0.0001 s; a decay time of 0 makes the decay immediate.
    // State and level are kept, so a sounding note carries on at the new speed.
    void setTimes(float sampleRate, double attackTime, double decayTime, double sustain, double releaseTime);

    // Starts again from silence, as at a note start.
    void restart();
    // The main envelope's two endings, both from the current level.
    void release() { state_ = EnvRelease; }
    void fade() { state_ = EnvFade; }

    State state() const { return state_; }
    float level() const { return level_; }
    Rates rates() const;

    // For tests and set-up: place the envelope in a state at a level.
    void setStateAndLevel(State state, float level);

private:
    static float advance(State& state, float& level, const Rates& rates);

    State state_ = EnvIdle;
    float level_ = 0.0f;
    std::atomic<float> attackRate_;
    std::atomic<float> decayRate_;
    std::atomic<float> sustainLevel_;
    std::atomic<float> releaseRate_;
};

#pragma once

#include "engine/Envelope.h"
#include "engine/LowCutFilter.h"

#include <atomic>
#include <cstdint>
#include <limits>

class ParameterBlock;

// Voice::applyParameter code that recomputes all three envelopes at once.
inline constexpr int32_t kUpdateAll = 100;

// One voice: a carrier sine whose table lookup is offset by two modulating
// sines, the body oscillator at the carrier's pitch and the attack oscillator at
// 8 or 16 times it, each with its own envelope and level, followed by an
// optional low-cut filter. It runs at twice the host sample rate and sums two
// ticks into every output frame.
//
// The fields are flat values, one per quantity, so that the per-tick work reads
// as plain arrays of numbers.
class Voice {
public:
    // No note-off can carry this note number, so a voice that never started a
    // note is never released by one.
    static constexpr int32_t kNoNote = std::numeric_limits<int32_t>::min();
    // The host's default rate, which the initial envelope rates were made for.
    static constexpr float kDefaultSampleRate = 44100.0f;

    Voice(const ParameterBlock* parameters, const int16_t* sineTable);

    // Adds `frames` output frames of this voice into output. Both scratch
    // buffers must hold 2 * frames floats; their contents are overwritten.
    void render(int32_t frames, float* output, float* scratchA, float* scratchB);

    // Applying queued records.
    void start(int32_t note, float frequency, float velocity);
    void release();
    void setPitchFactor(float factor) { pitchFactor_ = factor; }

    // Allocation's direct changes.
    void markStartPending() { startPending_ = true; }
    void becomeReserve();  // released, main envelope fading from its level
    void silence() { active_ = false; }

    // Envelope times from the parameters: one parameter's envelope
    // (kADecay, kBDecay, kDecay) or all three with kUpdateAll.
    void applyParameter(int32_t code);
    // Stores a positive, finite rate and recomputes all three envelopes.
    void setSampleRate(float sampleRate);

    uint16_t carrierPhase() const { return carrierPhase_; }
    uint16_t bodyPhase() const { return bodyPhase_; }
    uint16_t attackPhase() const { return attackPhase_; }
    int16_t carrierStep() const { return carrierStep_; }
    int16_t bodyStep() const { return bodyStep_; }
    int16_t attackStep() const { return attackStep_; }
    float pitchFactor() const { return pitchFactor_; }
    float sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }
    bool active() const { return active_; }
    bool released() const { return released_; }
    bool startPending() const { return startPending_; }
    int32_t note() const { return note_; }
    float velocity() const { return velocity_; }
    Envelope& mainEnvelope() { return mainEnvelope_; }
    Envelope& bodyEnvelope() { return bodyEnvelope_; }
    Envelope& attackEnvelope() { return attackEnvelope_; }
    const Envelope& mainEnvelope() const { return mainEnvelope_; }
    const Envelope& bodyEnvelope() const { return bodyEnvelope_; }
    const Envelope& attackEnvelope() const { return attackEnvelope_; }
    const LowCutFilter& filter() const { return filter_; }

    // For tests: a stored step is 16 bits wide, whatever was computed.
    void setSteps(int16_t carrier, int16_t body, int16_t attack);

private:
    // Renders many voices side by side with the same arithmetic as render().
    friend struct VoiceLanes;

    // The gains and the filter switch, read once per render call.
    struct Levels {
        float attack;
        float body;
        float output;
        bool filtered;
    };
    Levels readLevels() const;
    int32_t bentStep(int16_t step) const;
    void runOscillator(uint16_t& phase, int32_t step, float* out, int64_t ticks) const;
    void runCarrier(int32_t step, float* carrier, const float* body, int64_t ticks);
    void mixDirect(const float* ticks, float* output, int64_t tickCount) const;
    void mixFiltered(const float* ticks, float* output, int64_t tickCount);
    void applyFullMapping();

    uint16_t carrierPhase_ = 0;  // 65536 units per cycle
    uint16_t bodyPhase_ = 0;
    uint16_t attackPhase_ = 0;
    int16_t carrierStep_ = 0;  // phase units per tick, before the pitch factor
    int16_t bodyStep_ = 0;
    int16_t attackStep_ = 0;
    float pitchFactor_ = 1.0f;
    std::atomic<float> sampleRate_{kDefaultSampleRate};  // Hz; written by the setup path
    bool active_ = false;
    bool released_ = false;
    bool startPending_ = false;
    int32_t note_ = kNoNote;
    float velocity_ = 0.0f;  // 0..1
    Envelope mainEnvelope_;
    Envelope bodyEnvelope_;
    Envelope attackEnvelope_;
    const ParameterBlock* parameters_;
    const int16_t* sineTable_;
    LowCutFilter filter_;
};

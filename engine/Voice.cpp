#include "engine/Voice.h"

#include "engine/NumericHelpers.h"
#include "engine/ParameterBlock.h"

#include <bit>
#include <cmath>

namespace {

// The rates setTimes gives at 44100 Hz for times of 0.5 s (main and attack
// envelopes: attack, decay, release) and for 0.0001 s, 0.6 s, 0.5 s (body),
// with sustain 0.5. The instrument replaces them before any note sounds.
const float kHalfSecondRate = std::bit_cast<float>(0x373E37C6u);  // 1.1337868e-05
const float kBodyAttackRate = std::bit_cast<float>(0x3D683315u);  // 0.05668934
const float kBodyDecayRate = std::bit_cast<float>(0x371E83D0u);   // 9.448224e-06
constexpr float kInitialSustain = 0.5f;

// Envelope times of the two mappings (seconds, or factors of a parameter
// value that is itself in seconds). They are single-precision constants; the
// product with a parameter value is taken in double precision.
constexpr float kMainAttackTime = 0.0005f;
constexpr float kMainReleaseTime = 0.01f;             // full mapping
constexpr float kMainReleaseTimeOnChange = 0.02f;     // one "Decay" change
constexpr float kAttackDecayFactor = 0.2f;            // full mapping
constexpr float kAttackDecayFactorOnChange = 0.7f;    // one "A Decay" change
constexpr double kMainDecayFactor = 2.0;              // both paths
constexpr double kBodyDecayFactorOnChange = 2.0;      // one "B Decay" change; the full mapping uses 1

// Start of a note: the carrier ticks twice per output frame, so a step of
// 32767 / (sr / (2f)) phase units per tick sounds close to twice f; the
// attack oscillator uses 16 or 32 in place of 2.
constexpr float kStepScale = 32767.0f;
constexpr float kCarrierMultiple = 2.0f;
constexpr float kAttackMultipleHigh = 16.0f;  // "A Mode" above 0.5: 8 times the pitch
constexpr float kAttackMultipleLow = 32.0f;   // otherwise: 16 times the pitch
constexpr float kModeThreshold = 0.5f;

int16_t stepFor(float frequency, float multiple, float sampleRate)
{
    const float exact = kStepScale / (sampleRate / (frequency * multiple));
    return numeric::lowSixteenBits(numeric::truncateToInt32(exact));
}

}  // namespace

Voice::Voice(const ParameterBlock* parameters, const int16_t* sineTable)
    : mainEnvelope_(kHalfSecondRate, kHalfSecondRate, kInitialSustain, kHalfSecondRate),
      bodyEnvelope_(kBodyAttackRate, kBodyDecayRate, kInitialSustain, kHalfSecondRate),
      attackEnvelope_(kHalfSecondRate, kHalfSecondRate, kInitialSustain, kHalfSecondRate),
      parameters_(parameters),
      sineTable_(sineTable)
{
}

void Voice::start(int32_t note, float frequency, float velocity)
{
    note_ = note;
    const float rate = sampleRate();
    const bool highAttackMode = parameters_->get(kAMode) > kModeThreshold;
    carrierStep_ = stepFor(frequency, kCarrierMultiple, rate);
    bodyStep_ = carrierStep_;
    attackStep_ = stepFor(frequency, highAttackMode ? kAttackMultipleHigh : kAttackMultipleLow, rate);
    carrierPhase_ = 0;
    bodyPhase_ = 0;
    attackPhase_ = 0;
    released_ = false;
    startPending_ = false;
    active_ = true;
    velocity_ = velocity;
    mainEnvelope_.restart();
    bodyEnvelope_.restart();
    attackEnvelope_.restart();
    // The pitch factor and the filter state carry over: a bend in force
    // applies to the new note at once.
}

void Voice::release()
{
    released_ = true;
    mainEnvelope_.release();
}

void Voice::becomeReserve()
{
    released_ = true;
    mainEnvelope_.fade();
}

void Voice::applyParameter(int32_t code)
{
    const float rate = sampleRate();
    switch (code) {
    case kADecay: {
        const double time = static_cast<double>(kAttackDecayFactorOnChange) * parameters_->get(kADecay);
        attackEnvelope_.setTimes(rate, 0.0, time, 0.0, time);
        break;
    }
    case kBDecay: {
        const double time = kBodyDecayFactorOnChange * parameters_->get(kBDecay);
        bodyEnvelope_.setTimes(rate, 0.0, time, 0.0, time);
        break;
    }
    case kDecay:
        mainEnvelope_.setTimes(rate, kMainAttackTime, kMainDecayFactor * parameters_->get(kDecay), 0.0,
                               kMainReleaseTimeOnChange);
        break;
    case kUpdateAll:
        applyFullMapping();
        break;
    default:
        break;  // the other parameters are read while rendering
    }
}

void Voice::applyFullMapping()
{
    const float rate = sampleRate();
    mainEnvelope_.setTimes(rate, kMainAttackTime, kMainDecayFactor * parameters_->get(kDecay), 0.0,
                           kMainReleaseTime);
    const double bodyTime = parameters_->get(kBDecay);
    bodyEnvelope_.setTimes(rate, 0.0, bodyTime, 0.0, bodyTime);
    const double attackTime = static_cast<double>(kAttackDecayFactor) * parameters_->get(kADecay);
    attackEnvelope_.setTimes(rate, 0.0, attackTime, 0.0, attackTime);
}

void Voice::setSampleRate(float sampleRate)
{
    // A zero, negative or NaN rate would give envelopes that never finish;
    // such a rate is ignored and the previous one stays.
    if (sampleRate > 0.0f && std::isfinite(sampleRate)) {
        sampleRate_.store(sampleRate, std::memory_order_relaxed);
    }
    applyFullMapping();
}

void Voice::setSteps(int16_t carrier, int16_t body, int16_t attack)
{
    carrierStep_ = carrier;
    bodyStep_ = body;
    attackStep_ = attack;
}

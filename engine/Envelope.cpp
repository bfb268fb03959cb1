#include "engine/Envelope.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The shortest attack or release: an instant ramp would step the level.
constexpr double kMinimumRampTime = 0.0001;  // seconds
// A rate of 0.25 / (sampleRate * time) crosses the full range 0..1 in
// 4 * sampleRate * time ticks, which at two ticks per frame is 2 * time seconds
// of output.
constexpr float kRateScale = 0.25f;

}  // namespace

Envelope::Envelope(float attackRate, float decayRate, float sustainLevel, float releaseRate)
    : attackRate_(attackRate), decayRate_(decayRate), sustainLevel_(sustainLevel), releaseRate_(releaseRate)
{
}

Envelope::Rates Envelope::rates() const
{
    return {attackRate_.load(kRelaxed), decayRate_.load(kRelaxed), sustainLevel_.load(kRelaxed),
            releaseRate_.load(kRelaxed)};
}

float Envelope::advance(State& state, float& level, const Rates& rates)
{
    switch (state) {
    case EnvAttack:
        level += rates.attackRate;
        if (level >= 1.0f) {
            level = 1.0f;
            state = EnvDecay;
        }
        return level;  // the attack rises linearly
    case EnvDecay:
        level -= rates.decayRate;
        if (rates.sustainLevel >= level) {
            level = rates.sustainLevel;
            state = EnvSustain;
        }
        return level * level;
    case EnvSustain:
        level = rates.sustainLevel;
        return rates.sustainLevel * rates.sustainLevel;
    case EnvRelease:
        level -= rates.releaseRate;
        if (level <= 0.0f) {
            level = 0.0f;
            state = EnvIdle;
        }
        return level * level;
    case EnvFade:
        // A voice taken for the next note fades linearly, faster to silence
        // in loudness than the squared release.
        level -= rates.releaseRate;
        if (level <= 0.0f) {
            level = 0.0f;
            state = EnvIdle;
        }
        return level;
    case EnvIdle:
    default:
        level = 0.0f;
        return 0.0f;
    }
}

float Envelope::tick()
{
    return advance(state_, level_, rates());
}

void Envelope::applyTo(float* samples, int64_t count, float gain)
{
    // The same arithmetic as tick(), with one tight loop per state so that a
    // stretch spent in one state runs without a dispatch per tick.
    const Rates r = rates();
    State state = state_;
    float level = level_;
    int64_t k = 0;
    while (k < count) {
        switch (state) {
        case EnvAttack:
            for (; k < count && state == EnvAttack; ++k) {
                level += r.attackRate;
                if (level >= 1.0f) {
                    level = 1.0f;
                    state = EnvDecay;
                }
                samples[k] = level * samples[k] * gain;
            }
            break;
        case EnvDecay:
            for (; k < count && state == EnvDecay; ++k) {
                level -= r.decayRate;
                if (r.sustainLevel >= level) {
                    level = r.sustainLevel;
                    state = EnvSustain;
                }
                samples[k] = level * level * samples[k] * gain;
            }
            break;
        case EnvSustain: {
            level = r.sustainLevel;
            const float held = r.sustainLevel * r.sustainLevel;
            for (; k < count; ++k) {
                samples[k] = held * samples[k] * gain;
            }
            break;
        }
        case EnvRelease:
            for (; k < count && state == EnvRelease; ++k) {
                level -= r.releaseRate;
                if (level <= 0.0f) {
                    level = 0.0f;
                    state = EnvIdle;
                }
                samples[k] = level * level * samples[k] * gain;
            }
            break;
        case EnvFade:
            for (; k < count && state == EnvFade; ++k) {
                level -= r.releaseRate;
                if (level <= 0.0f) {
                    level = 0.0f;
                    state = EnvIdle;
                }
                samples[k] = level * samples[k] * gain;
            }
            break;
        case EnvIdle:
        default:
            level = 0.0f;
            for (; k < count; ++k) {
                samples[k] = 0.0f * samples[k] * gain;
            }
            break;
        }
    }
    state_ = state;
    level_ = level;
}

void Envelope::setTimes(float sampleRate, double attackTime, double decayTime, double sustain, double releaseTime)
{
    // Written so that NaN takes the floor too: a broken time must not leave a
    // rate that never reaches its target.
    if (!(attackTime >= kMinimumRampTime)) {
        attackTime = kMinimumRampTime;
    }
    if (!(releaseTime >= kMinimumRampTime)) {
        releaseTime = kMinimumRampTime;
    }
    // A decay time of 0 gives an infinite rate: the decay lands on the sustain
    // level at its first tick. NaN, negative and negative-zero times would give
    // a rate that never lands (or grows the level without bound), so they
    // count as 0.
    if (!(decayTime > 0.0)) {
        decayTime = 0.0;
    }
    const float base = kRateScale / sampleRate;
    attackRate_.store(static_cast<float>(base / attackTime), kRelaxed);
    decayRate_.store(static_cast<float>(base / decayTime), kRelaxed);
    sustainLevel_.store(static_cast<float>(sustain), kRelaxed);
    releaseRate_.store(static_cast<float>(base / releaseTime), kRelaxed);
}

void Envelope::restart()
{
    state_ = EnvAttack;
    level_ = 0.0f;
}

void Envelope::setStateAndLevel(State state, float level)
{
    state_ = state;
    level_ = level;
}

// The per-tick sound of a voice. Each stage runs over the whole stretch of
// ticks in a scratch buffer before the next one starts, in the order:
// attack oscillator and level, body oscillator and level, carrier, output
// level, then the filter or the direct mix into the output.

#include "engine/NumericHelpers.h"
#include "engine/ParameterBlock.h"
#include "engine/SineTable.h"
#include "engine/Voice.h"

#include <bit>

namespace {

constexpr float kCarrierScale = 1.0f / 32767.0f;  // a table value to -1..+1
static_assert(std::bit_cast<uint32_t>(kCarrierScale) == 0x38000100u);

// The attack oscillator's level is a tenth of the others: at full level its
// offset reaches a twentieth of a cycle.
constexpr float kAttackLevelScale = 0.1f;
// One tick of carrier output peaks at 0.2, leaving headroom for the voices and
// the chorus.
constexpr float kOutputScale = 0.2f;
// "B Mode" below this runs the low-cut filter.
constexpr float kFilterThreshold = 0.5f;

// A level parameter L shaded by velocity with sensitivity S: L when S is 0,
// L * velocity when S is 1.
float velocityScaled(float velocity, float level, float sensitivity)
{
    return (velocity * level - level) * sensitivity + level;
}

}  // namespace

Voice::Levels Voice::readLevels() const
{
    const ParameterBlock& p = *parameters_;
    return {
        velocityScaled(velocity_, p.get(kATone), p.get(kAVel)) * kAttackLevelScale,
        velocityScaled(velocity_, p.get(kBTone), p.get(kBVel)),
        velocityScaled(velocity_, p.get(kVolume), p.get(kVelocity)),
        p.get(kBMode) < kFilterThreshold,
    };
}

int32_t Voice::bentStep(int16_t step) const
{
    // The product is exact in double: a 16-bit integer times a float.
    return numeric::floorToInt(static_cast<double>(step) * static_cast<double>(pitchFactor_));
}

void Voice::render(int32_t frames, float* output, float* scratchA, float* scratchB)
{
    if (!active_ || frames < 1) {
        return;
    }
    const int64_t ticks = 2 * static_cast<int64_t>(frames);
    const Levels levels = readLevels();

    runOscillator(attackPhase_, bentStep(attackStep_), scratchA, ticks);
    attackEnvelope_.applyTo(scratchA, ticks, levels.attack);
    runOscillator(bodyPhase_, bentStep(bodyStep_), scratchB, ticks);
    bodyEnvelope_.applyTo(scratchB, ticks, levels.body);
    runCarrier(bentStep(carrierStep_), scratchA, scratchB, ticks);
    mainEnvelope_.applyTo(scratchA, ticks, levels.output);

    if (levels.filtered) {
        mixFiltered(scratchA, output, ticks);
    } else {
        mixDirect(scratchA, output, ticks);
    }
    active_ = mainEnvelope_.state() != Envelope::EnvIdle;
}

void Voice::runOscillator(uint16_t& phase, int32_t step, float* out, int64_t ticks) const
{
    // Phases wrap modulo 65536; unsigned arithmetic makes the wrap defined for
    // any step, negative or beyond 16 bits.
    const uint32_t increment = static_cast<uint32_t>(step);
    uint16_t current = phase;
    for (int64_t k = 0; k < ticks; ++k) {
        current = static_cast<uint16_t>(current + increment);
        out[k] = SineTable::atPhase(sineTable_, current);
    }
    phase = current;
}

void Voice::runCarrier(int32_t step, float* carrier, const float* body, int64_t ticks)
{
    // The two modulators offset only the lookup; the carrier phase itself
    // advances by the plain step. The body counts twice: at full level it
    // sweeps a whole cycle.
    const uint32_t increment = static_cast<uint32_t>(step);
    uint16_t phase = carrierPhase_;
    for (int64_t k = 0; k < ticks; ++k) {
        phase = static_cast<uint16_t>(phase + increment);
        const double modulation = 2.0 * static_cast<double>(body[k]) + static_cast<double>(carrier[k]);
        const int32_t offset = numeric::floorToInt(modulation);
        const auto lookup = static_cast<uint16_t>(static_cast<uint32_t>(offset) + phase);
        carrier[k] = SineTable::atPhase(sineTable_, lookup) * kCarrierScale;
    }
    carrierPhase_ = phase;
}

// Frame j receives ticks 2j and 2j + 1, added one after the other.
void Voice::mixDirect(const float* ticks, float* output, int64_t tickCount) const
{
    for (int64_t k = 0; k < tickCount; k += 2) {
        float frame = output[k >> 1];
        frame += ticks[k] * kOutputScale;
        frame += ticks[k + 1] * kOutputScale;
        output[k >> 1] = frame;
    }
}

void Voice::mixFiltered(const float* ticks, float* output, int64_t tickCount)
{
    for (int64_t k = 0; k < tickCount; k += 2) {
        float frame = output[k >> 1];
        frame += filter_.process(ticks[k] * kOutputScale);
        frame += filter_.process(ticks[k + 1] * kOutputScale);
        output[k >> 1] = frame;
    }
    filter_.clearIfNotFinite();
}

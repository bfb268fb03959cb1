#include "engine/VoiceLanes.h"

#include "engine/LaneKernel.h"
#include "engine/NumericHelpers.h"
#include "engine/Voice.h"

#include <array>
#include <bit>
#include <cmath>
#include <limits>

// The kernels repeat the filter's coefficients; they must be the same numbers.
static_assert(lanekernel::kFilterGain == LowCutFilter::kGain && lanekernel::kFilterPole == LowCutFilter::kPole);

namespace {

constexpr float kNever = std::numeric_limits<float>::quiet_NaN();  // a bound no level crosses
constexpr int32_t kSquared = -1;
constexpr int32_t kLinear = 0;

// Sets the tick of one lane for its state, from Envelope::tick:
//   attack   level += attackRate    up to 1, then decay              gain level
//   decay    level -= decayRate     down to sustain, then sustain    gain level^2
//   sustain  level  = sustainLevel                                   gain level^2
//   release  level -= releaseRate   down to 0, then idle             gain level^2
//   fade     level -= releaseRate   down to 0, then idle             gain level
//   idle     level  = 0                                              gain 0
// Subtracting a rate is adding its negation, bit for bit. Sustain and idle
// hold a level that adding -0 leaves as it is, once it has been set as their
// first tick sets it.
void setSegment(VoiceLanes::EnvelopeLanes& e, int lane)
{
    const Envelope::Rates& r = e.rates[lane];
    float delta = -0.0f;
    float high = kNever;
    float low = kNever;
    int32_t squared = kSquared;
    switch (e.state[lane]) {
    case Envelope::EnvAttack:
        delta = r.attackRate;
        high = 1.0f;
        squared = kLinear;
        break;
    case Envelope::EnvDecay:
        delta = -r.decayRate;
        low = r.sustainLevel;
        break;
    case Envelope::EnvSustain:
        e.level[lane] = r.sustainLevel;
        break;
    case Envelope::EnvRelease:
        delta = -r.releaseRate;
        low = 0.0f;
        break;
    case Envelope::EnvFade:
        delta = -r.releaseRate;
        low = 0.0f;
        squared = kLinear;
        break;
    case Envelope::EnvIdle:
    default:
        e.level[lane] = 0.0f;
        squared = kLinear;
        break;
    }
    e.delta[lane] = delta;
    e.high[lane] = high;
    e.low[lane] = low;
    e.squared[lane] = squared;
}

// NaN is the one value whose bits a vector operation may pass on differently
// from the scalar code (which operand's payload survives), so a voice that
// holds one is rendered by Voice::render instead.
bool anyNaN(std::initializer_list<float> values)
{
    for (float v : values) {
        if (std::isnan(v)) {
            return true;
        }
    }
    return false;
}

bool loadEnvelope(VoiceLanes::EnvelopeLanes& e, int lane, const Envelope& envelope)
{
    const Envelope::Rates r = envelope.rates();
    e.rates[lane] = r;
    e.state[lane] = envelope.state();
    e.level[lane] = envelope.level();
    setSegment(e, lane);
    return !anyNaN({r.attackRate, r.decayRate, r.sustainLevel, r.releaseRate, envelope.level()});
}

// True when every tick of this render call gives the filter a zero input
// (the main envelope holds a sustain level that squares to zero) and one tick
// with a zero input of either sign leaves the filter's memory exactly as it
// is, while the last stage is not zero. Then each tick returns exactly minus
// the last stage, whatever the sign of the zero input.
bool isQuiet(bool filtered, float outputLevel, const Envelope& main, const LowCutFilter& filter)
{
    const Envelope::Rates r = main.rates();
    if (!filtered || main.state() != Envelope::EnvSustain || r.sustainLevel * r.sustainLevel != 0.0f ||
        !std::isfinite(outputLevel) || filter.input() != 0.0f) {
        return false;
    }
    const std::array<float, LowCutFilter::kStages>& s = filter.stages();
    if (s[3] == 0.0f) {
        return false;  // nothing subnormal to avoid, and the result's sign would follow the input's
    }
    auto same = [](float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); };
    constexpr float c = LowCutFilter::kGain;
    constexpr float w = LowCutFilter::kPole;
    for (float zero : {0.0f, -0.0f}) {  // (x + input) * c for a zero x and input
        const float t1 = zero - w * s[0];
        const float t2 = (t1 + s[0]) * c - w * s[1];
        const float t3 = (t2 + s[1]) * c - w * s[2];
        const float t4 = (t3 + s[2]) * c - w * s[3];
        if (!same(t1, s[0]) || !same(t2, s[1]) || !same(t3, s[2]) || !same(t4, s[3])) {
            return false;
        }
    }
    return true;
}

// A lane that renders silence: no phase movement, no level, an idle envelope.
void clearLane(VoiceLanes& lanes, int lane)
{
    for (int o = 0; o < VoiceLanes::kOscillators; ++o) {
        lanes.phase[o][lane] = 0;
        lanes.step[o][lane] = 0;
        lanes.level[o][lane] = 0.0f;
        VoiceLanes::EnvelopeLanes& e = lanes.envelope[o];
        e.state[lane] = Envelope::EnvIdle;
        e.rates[lane] = {};
        setSegment(e, lane);
    }
    lanes.filterInput[lane] = 0.0f;
    for (auto& stage : lanes.filterStage) {
        stage[lane] = 0.0f;
    }
    lanes.quiet[lane] = 0;
    lanes.quietResult[lane] = 0.0f;
    lanes.voice[lane] = nullptr;
}

}  // namespace

bool VoiceLanes::load(Voice* voices, int count)
{
    laneCount = 0;
    filtered = false;
    bool exact = true;
    for (int index = 0; index < count && index < kMaxLanes; ++index) {
        Voice& v = voices[index];
        if (!v.active_) {
            continue;
        }
        const int lane = laneCount++;
        const Voice::Levels levels = v.readLevels();
        filtered = levels.filtered;  // one parameter, the same for every voice
        voice[lane] = &v;

        phase[kAttack][lane] = v.attackPhase_;
        phase[kBody][lane] = v.bodyPhase_;
        phase[kCarrier][lane] = v.carrierPhase_;
        step[kAttack][lane] = bentStep(index, kAttack, v, v.attackStep_);
        step[kBody][lane] = bentStep(index, kBody, v, v.bodyStep_);
        step[kCarrier][lane] = bentStep(index, kCarrier, v, v.carrierStep_);
        level[kAttack][lane] = levels.attack;
        level[kBody][lane] = levels.body;
        level[kCarrier][lane] = levels.output;
        exact = exact && !anyNaN({levels.attack, levels.body, levels.output});

        exact = loadEnvelope(envelope[kAttack], lane, v.attackEnvelope_) && exact;
        exact = loadEnvelope(envelope[kBody], lane, v.bodyEnvelope_) && exact;
        exact = loadEnvelope(envelope[kCarrier], lane, v.mainEnvelope_) && exact;

        const bool quietLane = isQuiet(levels.filtered, levels.output, v.mainEnvelope_, v.filter_);
        quiet[lane] = quietLane ? -1 : 0;
        filterInput[lane] = v.filter_.input();
        for (int s = 0; s < LowCutFilter::kStages; ++s) {
            const float stage = v.filter_.stages()[static_cast<unsigned>(s)];
            heldStage[s][lane] = stage;
            filterStage[s][lane] = quietLane ? 0.0f : stage;
        }
        quietResult[lane] = 0.0f - heldStage[3][lane];
    }
    for (int lane = laneCount; lane < kMaxLanes; ++lane) {
        clearLane(*this, lane);
    }
    return exact;
}

void VoiceLanes::store() const
{
    for (int lane = 0; lane < laneCount; ++lane) {
        Voice& v = *voice[lane];
        v.attackPhase_ = static_cast<uint16_t>(phase[kAttack][lane]);
        v.bodyPhase_ = static_cast<uint16_t>(phase[kBody][lane]);
        v.carrierPhase_ = static_cast<uint16_t>(phase[kCarrier][lane]);
        v.attackEnvelope_.setStateAndLevel(envelope[kAttack].state[lane], envelope[kAttack].level[lane]);
        v.bodyEnvelope_.setStateAndLevel(envelope[kBody].state[lane], envelope[kBody].level[lane]);
        v.mainEnvelope_.setStateAndLevel(envelope[kCarrier].state[lane], envelope[kCarrier].level[lane]);
        if (filtered) {
            std::array<float, LowCutFilter::kStages> stages{};
            for (int s = 0; s < LowCutFilter::kStages; ++s) {
                stages[static_cast<unsigned>(s)] = quiet[lane] != 0 ? heldStage[s][lane] : filterStage[s][lane];
            }
            v.filter_.restore(filterInput[lane], stages);
            v.filter_.clearIfNotFinite();
        }
        v.active_ = v.mainEnvelope_.state() != Envelope::EnvIdle;
    }
}

void VoiceLanes::crossEnvelopes(int which, uint32_t laneBits)
{
    EnvelopeLanes& e = envelope[which];
    for (int lane = 0; lane < kMaxLanes; ++lane) {
        if ((laneBits & (1u << lane)) == 0) {
            continue;
        }
        switch (e.state[lane]) {
        case Envelope::EnvAttack:
            e.level[lane] = 1.0f;
            e.state[lane] = Envelope::EnvDecay;
            break;
        case Envelope::EnvDecay:
            e.level[lane] = e.rates[lane].sustainLevel;
            e.state[lane] = Envelope::EnvSustain;
            break;
        case Envelope::EnvRelease:
        case Envelope::EnvFade:
            e.level[lane] = 0.0f;
            e.state[lane] = Envelope::EnvIdle;
            break;
        default:
            break;  // sustain and idle have no bound to cross
        }
        setSegment(e, lane);
    }
}

uint32_t VoiceLanes::bentStep(int voiceIndex, int oscillator, const Voice& voice, int16_t step)
{
    BentStep& memo = bentSteps[voiceIndex][oscillator];
    const uint32_t factorBits = std::bit_cast<uint32_t>(voice.pitchFactor_);
    if (memo.step != step || memo.factorBits != factorBits) {
        memo = {step, factorBits, voice.bentStep(step)};
    }
    return static_cast<uint32_t>(memo.bent);
}

int32_t VoiceLanes::exactModulationOffset(float body, float attack)
{
    return numeric::floorToInt(2.0 * static_cast<double>(body) + static_cast<double>(attack));
}

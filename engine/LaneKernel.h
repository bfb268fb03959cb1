// The tick loop of the lane renderer, written once over a small vector
// vocabulary `S` and instantiated in one source file per instruction set.
//
// Every lane computes what Voice::render computes for its voice, operation for
// operation and in the same order, so each lane's results are the scalar
// results to the bit: vector lanes round exactly like scalar operations, no
// fused multiply-add is formed, and the double-precision conversion of the
// carrier's modulation is done in double lanes.
//
// Include this only from a file built for the instruction set of `S`, and give
// `S` internal linkage there: the instantiations must not be shared with code
// built for other processors. For the same reason the loop calls nothing inline
// from other headers; VoiceLanes is used through its fields and its out-of-line
// functions only.
#pragma once

#include "engine/VoiceLanes.h"

#include <cstdint>

namespace lanekernel {

// The constants of Voice::render and LowCutFilter, repeated here so that the
// kernel needs none of their inline code.
inline constexpr float kCarrierScale = 1.0f / 32767.0f;
inline constexpr float kOutputScale = 0.2f;
inline constexpr float kFilterGain = 0.05328f;
inline constexpr float kFilterPole = -0.89344f;

template <class S>
struct EnvelopeRegisters {
    typename S::F level, delta, high, low;
    typename S::M squared;
};

template <class S>
EnvelopeRegisters<S> loadEnvelope(const VoiceLanes::EnvelopeLanes& e, int first)
{
    return {S::load(e.level + first), S::load(e.delta + first), S::load(e.high + first), S::load(e.low + first),
            S::loadMask(e.squared + first)};
}

// The rare tick on which some lanes cross their bound: the lanes' state
// machine clamps them and moves them on, and the registers are taken up again.
template <class S>
[[gnu::noinline]] EnvelopeRegisters<S> crossEnvelope(VoiceLanes& lanes, int which, int first, typename S::F next,
                                                     uint32_t crossedBits)
{
    VoiceLanes::EnvelopeLanes& e = lanes.envelope[which];
    S::store(e.level + first, next);
    lanes.crossEnvelopes(which, crossedBits << first);
    return loadEnvelope<S>(e, first);
}

// One tick of an envelope in every lane; returns the gain.
template <class S>
inline typename S::F tickEnvelope(EnvelopeRegisters<S>& r, VoiceLanes& lanes, int which, int first)
{
    const typename S::F next = S::add(r.level, r.delta);
    const typename S::M crossed = S::crossed(next, r.high, r.low);
    if (S::any(crossed)) [[unlikely]] {
        const typename S::M entered = r.squared;  // the tick's gain follows the state it began in
        r = crossEnvelope<S>(lanes, which, first, next, S::bits(crossed));
        return S::squareWhere(entered, r.level);
    }
    r.level = next;
    return S::squareWhere(r.squared, next);
}

// One modulator over the chunk: its oscillator, envelope and level, one
// vector per tick into `out` (stride VoiceLanes::kMaxLanes).
template <class S>
[[gnu::noinline]] void renderModulator(VoiceLanes& lanes, int which, int first, int ticks, float* out,
                                       const float* sine)
{
    using F = typename S::F;
    using I = typename S::I;
    I phase = S::loadInt(lanes.phase[which] + first);
    const I step = S::loadInt(lanes.step[which] + first);
    const F level = S::load(lanes.level[which] + first);
    EnvelopeRegisters<S> envelope = loadEnvelope<S>(lanes.envelope[which], first);
    for (int k = 0; k < ticks; ++k) {
        phase = S::addInt(phase, step);
        const F wave = S::gather(sine, S::tableIndex(phase));
        S::store(out + k * VoiceLanes::kMaxLanes + first,
                 S::mul(S::mul(tickEnvelope(envelope, lanes, which, first), wave), level));
    }
    S::storeInt(lanes.phase[which] + first, phase);
    S::store(lanes.envelope[which].level + first, envelope.level);
}

// The carrier over the chunk, its lookup offset by the two modulators, under
// the main envelope and the output level: the tick before the filter.
template <class S>
[[gnu::noinline]] void renderCarrier(VoiceLanes& lanes, int first, int ticks, const float* attack, const float* body,
                                     float* out, const float* sine)
{
    using F = typename S::F;
    using I = typename S::I;
    constexpr int kC = VoiceLanes::kCarrier;
    I phase = S::loadInt(lanes.phase[kC] + first);
    const I step = S::loadInt(lanes.step[kC] + first);
    const F level = S::load(lanes.level[kC] + first);
    EnvelopeRegisters<S> envelope = loadEnvelope<S>(lanes.envelope[kC], first);
    const F carrierScale = S::set(kCarrierScale);
    const F outputScale = S::set(kOutputScale);
    for (int k = 0; k < ticks; ++k) {
        const int at = k * VoiceLanes::kMaxLanes + first;
        // Only the lookup is offset; the carrier phase advances by its step.
        phase = S::addInt(phase, step);
        const I offset = S::modulationOffset(S::load(body + at), S::load(attack + at));
        const F wave = S::mul(S::gather(sine, S::tableIndex(S::addInt(offset, phase))), carrierScale);
        const F carrier = S::mul(S::mul(tickEnvelope(envelope, lanes, kC, first), wave), level);
        S::store(out + at, S::mul(carrier, outputScale));
    }
    S::storeInt(lanes.phase[kC] + first, phase);
    S::store(lanes.envelope[kC].level + first, envelope.level);
}

// The low-cut filter over the chunk's ticks in place.
template <class S>
[[gnu::noinline]] void renderFilter(VoiceLanes& lanes, int first, int ticks, float* out)
{
    using F = typename S::F;
    const typename S::M quiet = S::loadMask(lanes.quiet + first);
    const F quietResult = S::load(lanes.quietResult + first);
    F input = S::load(lanes.filterInput + first);
    F s1 = S::load(lanes.filterStage[0] + first);
    F s2 = S::load(lanes.filterStage[1] + first);
    F s3 = S::load(lanes.filterStage[2] + first);
    F s4 = S::load(lanes.filterStage[3] + first);
    const F gain = S::set(kFilterGain);
    const F pole = S::set(kFilterPole);
    for (int k = 0; k < ticks; ++k) {
        float* at = out + k * VoiceLanes::kMaxLanes + first;
        const F x = S::load(at);
        const F t1 = S::sub(S::mul(S::add(x, input), gain), S::mul(pole, s1));
        const F t2 = S::sub(S::mul(S::add(t1, s1), gain), S::mul(pole, s2));
        const F t3 = S::sub(S::mul(S::add(t2, s2), gain), S::mul(pole, s3));
        const F t4 = S::sub(S::mul(S::add(t3, s3), gain), S::mul(pole, s4));
        s1 = t1;
        s2 = t2;
        s3 = t3;
        s4 = t4;
        input = x;
        S::store(at, S::select(quiet, quietResult, S::sub(x, t4)));
    }
    S::store(lanes.filterInput + first, input);
    S::store(lanes.filterStage[0] + first, s1);
    S::store(lanes.filterStage[1] + first, s2);
    S::store(lanes.filterStage[2] + first, s3);
    S::store(lanes.filterStage[3] + first, s4);
}

// Renders `ticks` ticks of the lanes first .. first + S::kWidth - 1 and
// writes each tick's result (after the filter when it runs) to
// out[tick * VoiceLanes::kMaxLanes + lane]; `attack` and `body` are scratch of
// the same shape. The lanes' state is updated.
//
// The stages run one after another over the whole chunk, as Voice::render
// runs them over its stretch: each loop then carries only its own short
// chains from tick to tick and keeps its values in registers. They stay out
// of line, so a profile shows each stage's cost.
template <class S>
void renderTicks(VoiceLanes& lanes, int first, int ticks, float* out, float* attack, float* body, const float* sine)
{
    renderModulator<S>(lanes, VoiceLanes::kAttack, first, ticks, attack, sine);
    renderModulator<S>(lanes, VoiceLanes::kBody, first, ticks, body, sine);
    renderCarrier<S>(lanes, first, ticks, attack, body, out, sine);
    if (lanes.filtered) {
        renderFilter<S>(lanes, first, ticks, out);
    }
}

}  // namespace lanekernel

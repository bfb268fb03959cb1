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

// One tick of an envelope in every lane; returns the gain.
template <class S>
typename S::F tickEnvelope(EnvelopeRegisters<S>& r, VoiceLanes& lanes, int which, int first)
{
    const typename S::F next = S::add(r.level, r.delta);
    const typename S::M crossed = S::crossed(next, r.high, r.low);
    if (S::any(crossed)) [[unlikely]] {
        VoiceLanes::EnvelopeLanes& e = lanes.envelope[which];
        S::store(e.level + first, next);
        lanes.crossEnvelopes(which, S::bits(crossed) << first);
        const typename S::M entered = r.squared;  // the tick's gain follows the state it began in
        r = loadEnvelope<S>(e, first);
        return S::squareWhere(entered, r.level);
    }
    r.level = next;
    return S::squareWhere(r.squared, next);
}

// Renders `ticks` ticks of the lanes first .. first + S::kWidth - 1 and
// writes each tick's result (after the filter when it runs) to
// out[tick * VoiceLanes::kMaxLanes + lane]. The lanes' state is updated.
template <class S, bool Filtered>
void renderTicks(VoiceLanes& lanes, int first, int ticks, float* out, const float* sine)
{
    using F = typename S::F;
    using I = typename S::I;
    constexpr int kA = VoiceLanes::kAttack;
    constexpr int kB = VoiceLanes::kBody;
    constexpr int kC = VoiceLanes::kCarrier;

    I attackPhase = S::loadInt(lanes.phase[kA] + first);
    I bodyPhase = S::loadInt(lanes.phase[kB] + first);
    I carrierPhase = S::loadInt(lanes.phase[kC] + first);
    const I attackStep = S::loadInt(lanes.step[kA] + first);
    const I bodyStep = S::loadInt(lanes.step[kB] + first);
    const I carrierStep = S::loadInt(lanes.step[kC] + first);
    const F attackLevel = S::load(lanes.level[kA] + first);
    const F bodyLevel = S::load(lanes.level[kB] + first);
    const F outputLevel = S::load(lanes.level[kC] + first);
    EnvelopeRegisters<S> attackEnvelope = loadEnvelope<S>(lanes.envelope[kA], first);
    EnvelopeRegisters<S> bodyEnvelope = loadEnvelope<S>(lanes.envelope[kB], first);
    EnvelopeRegisters<S> mainEnvelope = loadEnvelope<S>(lanes.envelope[kC], first);

    const typename S::M quiet = S::loadMask(lanes.quiet + first);
    const F quietResult = S::load(lanes.quietResult + first);
    F input = S::load(lanes.filterInput + first);
    F s1 = S::load(lanes.filterStage[0] + first);
    F s2 = S::load(lanes.filterStage[1] + first);
    F s3 = S::load(lanes.filterStage[2] + first);
    F s4 = S::load(lanes.filterStage[3] + first);

    const F carrierScale = S::set(kCarrierScale);
    const F outputScale = S::set(kOutputScale);
    const F gain = S::set(kFilterGain);
    const F pole = S::set(kFilterPole);

    for (int k = 0; k < ticks; ++k) {
        attackPhase = S::addInt(attackPhase, attackStep);
        const F attackSine = S::gather(sine, S::tableIndex(attackPhase));
        const F attack = S::mul(S::mul(tickEnvelope(attackEnvelope, lanes, kA, first), attackSine), attackLevel);

        bodyPhase = S::addInt(bodyPhase, bodyStep);
        const F bodySine = S::gather(sine, S::tableIndex(bodyPhase));
        const F body = S::mul(S::mul(tickEnvelope(bodyEnvelope, lanes, kB, first), bodySine), bodyLevel);

        // Only the lookup is offset; the carrier phase advances by its step.
        carrierPhase = S::addInt(carrierPhase, carrierStep);
        const I offset = S::modulationOffset(body, attack);
        const F carrierSine = S::mul(S::gather(sine, S::tableIndex(S::addInt(offset, carrierPhase))), carrierScale);
        const F carrier = S::mul(S::mul(tickEnvelope(mainEnvelope, lanes, kC, first), carrierSine), outputLevel);
        const F x = S::mul(carrier, outputScale);

        if constexpr (Filtered) {
            const F t1 = S::sub(S::mul(S::add(x, input), gain), S::mul(pole, s1));
            const F t2 = S::sub(S::mul(S::add(t1, s1), gain), S::mul(pole, s2));
            const F t3 = S::sub(S::mul(S::add(t2, s2), gain), S::mul(pole, s3));
            const F t4 = S::sub(S::mul(S::add(t3, s3), gain), S::mul(pole, s4));
            s1 = t1;
            s2 = t2;
            s3 = t3;
            s4 = t4;
            input = x;
            S::store(out + k * VoiceLanes::kMaxLanes + first, S::select(quiet, quietResult, S::sub(x, t4)));
        } else {
            S::store(out + k * VoiceLanes::kMaxLanes + first, x);
        }
    }

    S::storeInt(lanes.phase[kA] + first, attackPhase);
    S::storeInt(lanes.phase[kB] + first, bodyPhase);
    S::storeInt(lanes.phase[kC] + first, carrierPhase);
    S::store(lanes.envelope[kA].level + first, attackEnvelope.level);
    S::store(lanes.envelope[kB].level + first, bodyEnvelope.level);
    S::store(lanes.envelope[kC].level + first, mainEnvelope.level);
    if constexpr (Filtered) {
        S::store(lanes.filterInput + first, input);
        S::store(lanes.filterStage[0] + first, s1);
        S::store(lanes.filterStage[1] + first, s2);
        S::store(lanes.filterStage[2] + first, s3);
        S::store(lanes.filterStage[3] + first, s4);
    }
}

}  // namespace lanekernel

#pragma once

#include "engine/Envelope.h"

#include <cstdint>

class Voice;

// The state of up to sixteen sounding voices laid out side by side, one voice
// per lane, so that one vector instruction does the same step for all of them.
// Each lane runs exactly the arithmetic of Voice::render for its voice; only
// the layout differs. Lanes hold the voices in index order, which is the order
// their ticks are summed into an output frame.
//
// Kernels read and write the arrays directly. They may run in code built for
// a wider instruction set, so this type has no inline member functions: every
// operation lives out of line in VoiceLanes.cpp.
struct VoiceLanes {
    static constexpr int kMaxLanes = 16;

    // Oscillators and their levels, in the order a tick runs them.
    static constexpr int kAttack = 0;
    static constexpr int kBody = 1;
    static constexpr int kCarrier = 2;  // with the main envelope and the output level
    static constexpr int kOscillators = 3;

    // One envelope per oscillator, lane by lane. A tick is
    //     level += delta; crossed when level >= high or level <= low;
    //     gain = squared ? level * level : level
    // which is every state of Envelope::tick once delta, high, low and squared
    // are set for the state (see VoiceLanes.cpp). A crossing is the rare
    // change of state; the kernel hands it to crossEnvelopes().
    struct EnvelopeLanes {
        alignas(64) float level[kMaxLanes];
        alignas(64) float delta[kMaxLanes];
        alignas(64) float high[kMaxLanes];     // NaN: never crossed upwards
        alignas(64) float low[kMaxLanes];      // NaN: never crossed downwards
        alignas(64) int32_t squared[kMaxLanes];  // all bits set: the gain is level squared
        Envelope::State state[kMaxLanes];
        Envelope::Rates rates[kMaxLanes];
    };

    alignas(64) uint32_t phase[kOscillators][kMaxLanes];  // low 16 bits are the phase
    alignas(64) uint32_t step[kOscillators][kMaxLanes];   // the bent step, wrapping like the phase
    alignas(64) float level[kOscillators][kMaxLanes];     // attack, body and output levels
    EnvelopeLanes envelope[kOscillators];                 // attack, body and main envelopes
    alignas(64) float filterInput[kMaxLanes];
    alignas(64) float filterStage[4][kMaxLanes];

    // A held note that has decayed to silence feeds its filter zeros, and the
    // filter's memory ends in a few subnormal numbers that no longer change.
    // Vector arithmetic on subnormal numbers is many times slower than on
    // others, so such a lane ("quiet") runs its filter from zero memory while
    // its real memory waits in heldStage, and every tick's result is
    // quietResult, the value the real memory gives for a zero input.
    alignas(64) int32_t quiet[kMaxLanes];  // all bits set in a quiet lane
    alignas(64) float quietResult[kMaxLanes];
    float heldStage[4][kMaxLanes];

    Voice* voice[kMaxLanes];
    int32_t laneCount;
    bool filtered;

    // The last bent step of each voice's oscillators with what it was made
    // from: a step changes only at a note start and a factor at a bend, and
    // the rounding rule costs more than a whole tick of the lanes. A
    // zero-filled entry is true as it stands (0 bent by 0 is 0).
    struct BentStep {
        int32_t step;
        uint32_t factorBits;
        int32_t bent;
    };
    BentStep bentSteps[kMaxLanes][kOscillators];

    // Takes every active voice of `voices` into a lane, in index order, with
    // the levels, steps and envelope rates it would read at the start of a
    // render call. Returns false, with nothing to render in lanes, when a
    // voice holds a value the lanes do not reproduce bit for bit (a NaN level,
    // rate or gain); such a stretch is left to Voice::render.
    bool load(Voice* voices, int count);

    // Writes every lane back into its voice as the end of a render call leaves
    // it: phases, envelopes, the filter (when it ran) and the active flag.
    void store() const;

    // The envelope `which` has crossed its bound in the lanes of `laneBits`,
    // whose levels hold the tick's unclamped result: clamps each to its target
    // and moves it to its next state.
    void crossEnvelopes(int which, uint32_t laneBits);

    // Voice::bentStep of the voice at `voiceIndex`, from bentSteps when the
    // step and the pitch factor are the ones it was made from.
    uint32_t bentStep(int voiceIndex, int oscillator, const Voice& voice, int16_t step);

    // The carrier's modulation offset for lanes whose fast conversion could not
    // tell the result (NaN, or beyond the 32-bit range): the engine's own rule.
    static int32_t exactModulationOffset(float body, float attack);
};

#pragma once

#include "engine/LaneKernels.h"
#include "engine/SineTable.h"
#include "engine/VoiceLanes.h"

#include <cstdint>

class Voice;

// Renders all sounding voices side by side, one voice per vector lane, with the
// same bits as Voice::render called on each voice in index order. Voices are
// independent, so putting them in lanes changes nothing in any voice's
// arithmetic; only the serial parts (envelopes, filter) of different voices
// now run in one instruction.
//
// The vector width is chosen when the renderer is built, from what the
// processor offers; without a usable set the renderer declines and the engine
// renders voice by voice.
class LaneRenderer {
public:
    enum class Width : int32_t {
        kNone = 0,     // voice by voice
        kEight = 8,    // AVX2: nine voices take two passes
        kSixteen = 16, // AVX-512F: up to sixteen voices in one pass
    };

    // Ticks per kernel call: 8 KiB for each of the three tick arrays, which
    // stay in the first-level cache with the 16 KiB sine table.
    static constexpr int kChunkTicks = 128;

    explicit LaneRenderer(const SineTable& table);

    // The widest set this processor and build can run.
    static Width widestAvailable();

    // Uses `width` when the processor has it (or kNone, always possible);
    // returns whether it was taken.
    bool setWidth(Width width);
    Width width() const { return width_; }

    // Does for `voices[0..count-1]` what Voice::render(frames, output, ...)
    // does for each in turn. Returns false, having changed nothing, when it
    // leaves the stretch to Voice::render: no vector set in use, or a voice
    // holds a value that only the scalar code reproduces.
    bool render(Voice* voices, int count, int32_t frames, float* output);

private:
    void addTicks(int32_t frames, float* output) const;

    alignas(64) float sine_[SineTable::kSize];
    alignas(64) float ticks_[kChunkTicks * VoiceLanes::kMaxLanes];
    alignas(64) float attack_[kChunkTicks * VoiceLanes::kMaxLanes];
    alignas(64) float body_[kChunkTicks * VoiceLanes::kMaxLanes];
    VoiceLanes lanes_{};
    Width width_ = Width::kNone;
};

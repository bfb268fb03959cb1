#pragma once

#include "engine/EventQueue.h"
#include "engine/LaneRenderer.h"
#include "engine/ParameterBlock.h"
#include "engine/SineTable.h"
#include "engine/Voice.h"

#include <array>
#include <cstdint>

// The sound-producing core: nine voices over one sine table, the live
// parameters, and the queue of timed requests that the MIDI intake fills
// between audio blocks and the next render call applies at their frames.
//
// Allocation works one note ahead: one voice, the reserve, is held ready; a
// note is queued for it, and at the same time the next reserve is picked and
// faded out ahead of the note that will start on it.
//
// Voices render side by side in vector lanes where the processor allows
// (LaneRenderer), with the same bits as Voice::render, which stays the
// readable reference and the path for processors without a wide vector set.
class SynthEngine {
public:
    static constexpr int kVoiceCount = 9;

    SynthEngine();
    ~SynthEngine();
    SynthEngine(const SynthEngine&) = delete;
    SynthEngine& operator=(const SynthEngine&) = delete;

    // Adds one block of every sounding voice into output, applying the queued
    // requests at their frame offsets, and empties the queue. output holds
    // `frames` floats (cleared by the caller); each scratch buffer holds
    // 2 * frames floats. Offsets outside the block, or below an earlier
    // request's, are held inside [current position, frames]: nothing is
    // rendered twice or past the buffers.
    void render(float* scratchA, float* scratchB, float* output, int32_t frames);

    // The same for scratch buffers of only 2 * scratchFrames floats: each
    // stretch is rendered in pieces that fit them. A voice renders a stretch in
    // pieces exactly as in one call, so the result is the same to the bit.
    void render(float* scratchA, float* scratchB, int32_t scratchFrames, float* output, int32_t frames);

    // How voices are rendered: LaneRenderer::Width::kNone is Voice::render
    // voice by voice; the others are lanes of that width. The widest the
    // processor offers is the default. A width the processor lacks is refused.
    bool setLaneWidth(LaneRenderer::Width width) { return lanes_.setWidth(width); }
    LaneRenderer::Width laneWidth() const { return lanes_.width(); }

    // Requests queued for the next render call. When all 64 slots are taken a
    // further request is dropped whole.
    void noteOn(int32_t note, float frequency, float velocity, int32_t deltaFrames);
    void noteOff(int32_t note, int32_t deltaFrames);
    void pitchBend(float bend, int32_t deltaFrames);

    // Makes every voice inactive at once; queued requests stay queued.
    void silenceAllVoices();

    // Voice::applyParameter with `code` on every voice, in index order.
    void updateVoices(int32_t code);

    ParameterBlock& parameters() { return parameters_; }
    const ParameterBlock& parameters() const { return parameters_; }
    Voice& voice(int index) { return voices_[static_cast<unsigned>(index)]; }
    const Voice& voice(int index) const { return voices_[static_cast<unsigned>(index)]; }
    const SineTable& sineTable() const { return sineTable_; }

    // Allocation and queue state, for the instrument's tests and diagnostics.
    int32_t eventCount() const { return events_.count(); }
    const EngineEvent& queuedEvent(int32_t index) const { return events_[index]; }
    int32_t reserveVoice() const { return reserveVoice_; }
    // The voice indices from least to most recently picked as reserve.
    const std::array<int32_t, kVoiceCount>& voiceOrder() const { return voiceOrder_; }

private:
    void renderVoices(int32_t frames, float* output, float* scratchA, float* scratchB, int32_t scratchFrames);
    void apply(const EngineEvent& event);
    int32_t pickNextReserve() const;
    void moveToBack(int32_t voiceIndex);
    static bool isVoiceIndex(int32_t index) { return index >= 0 && index < kVoiceCount; }

    // The table and the parameters come first: every voice points into them.
    SineTable sineTable_;
    ParameterBlock parameters_;
    std::array<Voice, kVoiceCount> voices_;
    std::array<int32_t, kVoiceCount> voiceOrder_;
    EventQueue events_;
    int32_t reserveVoice_ = kVoiceCount - 1;
    LaneRenderer lanes_{sineTable_};
};

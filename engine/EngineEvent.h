#pragma once

#include <cstdint>

enum EngineEventType : int32_t {
    kEventStart = 1,      // start a note on a voice
    kEventRelease = 2,    // release a voice
    kEventPitchBend = 3,  // set the pitch factor of every voice
};

// One queued, timed engine request: six 32-bit fields. A release writes only
// type, deltaFrames and voice; a pitch bend only type, value and deltaFrames.
// The other fields keep whatever the slot held and are not read for that type.
struct EngineEvent {
    int32_t type = 0;
    float frequency = 0.0f;   // start: Hz
    int32_t note = 0;         // start: note number as handed to noteOn
    float value = 0.0f;       // start: velocity 0..1; pitch bend: -1..+1
    int32_t deltaFrames = 0;  // frame offset within the next rendered block
    int32_t voice = 0;        // start, release: target voice index
};

static_assert(sizeof(EngineEvent) == 24, "six 32-bit fields");

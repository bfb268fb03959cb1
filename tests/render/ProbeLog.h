// What the probe instrument lets a test see from outside the plug-in: every
// dispatcher request and audio call in order, every event it received with
// the block it came in, and the sample rate and block size it was given.
#pragma once

#include <cstdint>

#include "host/VstAbi.h"

// An audio call appears in the call list under this made-up opcode.
constexpr VstInt32 kProbeProcessCall = -1;

struct ProbeCall {
    VstInt32 opcode;
    VstIntPtr value;  // the request's value; the frame count for an audio call
};

struct ProbeEvent {
    int64_t block;  // audio calls made before the list arrived
    VstInt32 type;
    VstInt32 deltaFrames;
    uint8_t bytes[3];
    VstInt32 sysexSize;
};

struct ProbeLog {
    static constexpr int kMaxCalls = 1 << 16;
    static constexpr int kMaxEvents = 1 << 16;

    int callCount;  // may exceed kMaxCalls; only the first are kept
    ProbeCall calls[kMaxCalls];
    int eventCount;
    ProbeEvent events[kMaxEvents];
    int64_t processCalls;
    int64_t framesProcessed;
    float sampleRate;
    VstInt32 blockSize;
    // What the host reported during the first audio calls: its transport
    // position and sample rate, and the rate and block size it answers.
    static constexpr int kMaxReports = 64;
    double reportedPositions[kMaxReports];
    double reportedTimeRate;
    VstIntPtr reportedRate;
    VstIntPtr reportedBlockSize;
};

// Exported by every probe library under this name; the log starts afresh
// with each new instance.
using ProbeLogProc = ProbeLog* (*)();

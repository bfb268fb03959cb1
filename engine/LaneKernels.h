#pragma once

#include "engine/VoiceLanes.h"

// The tick loops for each instruction set, each built in its own source file
// for that set. They exist when the build targets x86 (ORRELUNE_LANE_KERNELS)
// and may be called only on a processor that has the set.
//
// Where a kernel reads and writes: the sine table as floats, the tick
// results (tick k of lane l at ticks[k * VoiceLanes::kMaxLanes + l]) and two
// scratch arrays of the same shape for the modulators.
struct LaneBuffers {
    const float* sine;
    float* ticks;
    float* attack;
    float* body;
};

// A kernel renders `ticks` ticks (at most LaneRenderer::kChunkTicks) of every
// lane of `lanes` into buffers.ticks and leaves the lanes' state as the ticks
// leave it.
using LaneKernel = void (*)(VoiceLanes& lanes, int ticks, const LaneBuffers& buffers);

void renderLanesAvx2(VoiceLanes& lanes, int ticks, const LaneBuffers& buffers);    // 8 lanes a pass
void renderLanesAvx512(VoiceLanes& lanes, int ticks, const LaneBuffers& buffers);  // 16 lanes a pass

#pragma once

#include "engine/VoiceLanes.h"

// The tick loops for each instruction set, each built in its own source file
// for that set. They exist when the build targets x86 (ORRELUNE_LANE_KERNELS)
// and may be called only on a processor that has the set.
//
// A kernel renders `ticks` ticks (at most LaneRenderer::kChunkTicks) of every
// lane of `lanes`, writes tick k of lane l to out[k * VoiceLanes::kMaxLanes + l]
// and leaves the lanes' state as the ticks leave it. `sine` is the sine table
// as floats.
using LaneKernel = void (*)(VoiceLanes& lanes, int ticks, float* out, const float* sine);

void renderLanesAvx2(VoiceLanes& lanes, int ticks, float* out, const float* sine);    // 8 lanes a pass
void renderLanesAvx512(VoiceLanes& lanes, int ticks, float* out, const float* sine);  // 16 lanes a pass

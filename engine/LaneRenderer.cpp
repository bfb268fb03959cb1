#include "engine/LaneRenderer.h"

#include <algorithm>

namespace {

// What the processor can run, asked once. The compiler's own query also
// checks that the operating system saves the wide registers.
bool hasAvx2()
{
#if defined(ORRELUNE_LANE_KERNELS)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool hasAvx512()
{
#if defined(ORRELUNE_LANE_KERNELS)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f");
#else
    return false;
#endif
}

LaneKernel kernelFor(LaneRenderer::Width width, int laneCount)
{
#if defined(ORRELUNE_LANE_KERNELS)
    // Eight lanes or fewer take one narrow pass, which is cheaper than a wide one.
    if (width == LaneRenderer::Width::kSixteen && laneCount > 8) {
        return renderLanesAvx512;
    }
    if (width != LaneRenderer::Width::kNone) {
        return renderLanesAvx2;
    }
#else
    (void)width;
    (void)laneCount;
#endif
    return nullptr;
}

}  // namespace

LaneRenderer::LaneRenderer(const SineTable& table)
{
    for (int i = 0; i < SineTable::kSize; ++i) {
        sine_[i] = static_cast<float>(table[i]);  // exact: 16-bit integers
    }
    setWidth(widestAvailable());
}

LaneRenderer::Width LaneRenderer::widestAvailable()
{
    static const Width widest = hasAvx512() ? Width::kSixteen : (hasAvx2() ? Width::kEight : Width::kNone);
    return widest;
}

bool LaneRenderer::setWidth(Width width)
{
    if (static_cast<int32_t>(width) > static_cast<int32_t>(widestAvailable())) {
        return false;
    }
    width_ = width;
    return true;
}

bool LaneRenderer::render(Voice* voices, int count, int32_t frames, float* output)
{
    if (width_ == Width::kNone) {
        return false;
    }
    if (frames < 1) {
        return true;  // Voice::render does nothing either
    }
    if (!lanes_.load(voices, count)) {
        return false;
    }
    if (lanes_.laneCount == 0) {
        return true;
    }
    const LaneKernel kernel = kernelFor(width_, lanes_.laneCount);
    const LaneBuffers buffers{sine_, ticks_, attack_, body_};
    constexpr int32_t kChunkFrames = kChunkTicks / 2;
    for (int32_t done = 0; done < frames; done += kChunkFrames) {
        const int32_t length = std::min(kChunkFrames, frames - done);
        kernel(lanes_, 2 * length, buffers);
        addTicks(length, output + done);
    }
    lanes_.store();
    return true;
}

// Frame j receives ticks 2j and 2j + 1 of each voice in index order, added one
// after the other, exactly as the voices add them one call after another.
// Voice by voice over the whole chunk, so that the frames' sums do not wait on
// each other.
void LaneRenderer::addTicks(int32_t frames, float* output) const
{
    constexpr int kRow = VoiceLanes::kMaxLanes;
    for (int lane = 0; lane < lanes_.laneCount; ++lane) {
        const float* ticks = ticks_ + lane;
        for (int32_t j = 0; j < frames; ++j) {
            float frame = output[j];
            frame += ticks[(2 * j) * kRow];
            frame += ticks[(2 * j + 1) * kRow];
            output[j] = frame;
        }
    }
}

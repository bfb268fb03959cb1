#include "fuzz/FuzzHost.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr VstInt32 kGuardFrames = 16;
constexpr float kGuard = 12345.0f;  // no sample of an instrument at full scale
constexpr float kNoise = -0.375f;   // what the host's buffers held before the call

VstIntPtr VSTCALLBACK answerHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

bool isBadSample(float value) {
    return !std::isfinite(value) || (value != 0.0f && std::fabs(value) < std::numeric_limits<float>::min());
}

}  // namespace

void fuzzFault(const char* what) {
    std::fprintf(stderr, "fuzz fault: %s\n", what);
    std::abort();
}

FuzzHost::FuzzHost()
    : effect_(createEffectInstance(&answerHost)->getAeffect()),
      left_(kLargestBlock + kGuardFrames),
      right_(kLargestBlock + kGuardFrames) {}

FuzzHost::~FuzzHost() { dispatch(effClose); }

VstIntPtr FuzzHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void FuzzHost::start(float sampleRate, VstInt32 blockSize) {
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

void FuzzHost::render(VstInt32 frames) {
    if (frames > kLargestBlock) frames = kLargestBlock;
    const std::size_t written = frames > 0 ? static_cast<std::size_t>(frames) : 0;
    // Only the frames asked for and a guard zone after them are prepared and
    // looked at: the whole buffer would cost more than the call itself.
    const std::size_t prepared = written + kGuardFrames;
    for (std::size_t i = 0; i < prepared; ++i) {
        const float value = i < written ? kNoise : kGuard;
        left_[i] = value;
        right_[i] = value;
    }
    float* outputs[2] = {left_.data(), right_.data()};
    effect_->processReplacing(effect_, nullptr, outputs, frames);
    for (std::size_t i = 0; i < written; ++i) {
        if (isBadSample(left_[i]) || isBadSample(right_[i])) fuzzFault("a NaN, infinite or denormal sample");
    }
    for (std::size_t i = written; i < prepared; ++i) {
        if (left_[i] != kGuard || right_[i] != kGuard) fuzzFault("a write past the frames asked for");
    }
}

void FuzzHost::checkParameters() {
    for (VstInt32 i = 0; i < effect_->numParams; ++i) {
        const float value = effect_->getParameter(effect_, i);
        if (!(value >= 0.0f && value <= 1.0f)) fuzzFault("a parameter outside 0..1");
    }
}

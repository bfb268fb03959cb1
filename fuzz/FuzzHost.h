// The host side of every fuzz target: an instance made through the library's
// factory and reached only through its record, outputs checked after every
// audio call. What must never reach a host (NaN, infinities, denormals, a
// write past the frames asked for) stops the run as a crash.
#pragma once

#include <cstdint>
#include <vector>

#include "host/AudioEffect.h"

class FuzzHost {
public:
    static constexpr VstInt32 kLargestBlock = 16384;

    FuzzHost();
    ~FuzzHost();
    FuzzHost(const FuzzHost&) = delete;
    FuzzHost& operator=(const FuzzHost&) = delete;

    AEffect& record() { return *effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);

    void start(float sampleRate, VstInt32 blockSize);
    // processReplacing of `frames` (any value); traps on a bad output.
    void render(VstInt32 frames);
    // Every parameter reads back as a number in 0..1, or the run traps.
    void checkParameters();

private:
    AEffect* effect_;
    std::vector<float> left_;
    std::vector<float> right_;
};

// Stops the run so that the fuzzer keeps the input that led here.
[[noreturn]] void fuzzFault(const char* what);

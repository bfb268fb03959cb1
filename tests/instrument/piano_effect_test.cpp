// The instrument's inner state after host requests, where the record cannot
// show it: scratch buffers, sample rates, envelope mappings, allocation.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "instrument/PianoEffect.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counting allocator for the whole test program: the audio path must not use it.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

class PianoEffectTest : public ::testing::Test {
protected:
    PianoEffect effect{nullptr};

    void dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0) {
        effect.dispatcher(opcode, index, value, ptr, opt);
    }
};

TEST_F(PianoEffectTest, ScratchBuffersFollowResumeAndSuspend) {
    EXPECT_EQ(effect.scratchFrames(), 0);
    dispatch(effSetBlockSize, 0, 256);
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(effect.scratchFrames(), 256);  // 512 floats each: two ticks per frame
    dispatch(effSetBlockSize, 0, 1024);
    EXPECT_EQ(effect.scratchFrames(), 256);  // a new size waits for the next resume
    dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(effect.scratchFrames(), 1024);
    dispatch(effMainsChanged, 0, 0);
    dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(effect.scratchFrames(), 0);
}

TEST_F(PianoEffectTest, SampleRateReachesVoicesAndChorus) {
    dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
        EXPECT_EQ(effect.synthEngine().voice(v).sampleRate(), 48000.0f);
    }
    EXPECT_EQ(effect.stereoChorus().readIndex(), 557);  // trunc(48000 / 44100 * 512)
}

TEST_F(PianoEffectTest, UnusableSampleRatesKeepTheCurrentOne) {
    for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity()}) {
        dispatch(effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_EQ(effect.getSampleRate(), 44100.0f);
        EXPECT_EQ(effect.synthEngine().voice(0).sampleRate(), 44100.0f);
    }
}

TEST_F(PianoEffectTest, OnlyDecayParametersTouchTheEnvelopes) {
    const auto before = effect.synthEngine().voice(4).attackEnvelope().rates();
    effect.setParameter(1, 0.9f);  // "A Tone" is read while rendering
    EXPECT_EQ(effect.synthEngine().voice(4).attackEnvelope().rates().decayRate, before.decayRate);
    effect.setParameter(2, 0.5f);  // "A Decay"
    for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
        EXPECT_NE(effect.synthEngine().voice(v).attackEnvelope().rates().decayRate, before.decayRate) << v;
    }
}

TEST_F(PianoEffectTest, ReselectingTheProgramRestoresTheFullMapping) {
    const auto full = effect.synthEngine().voice(0).mainEnvelope().rates();
    const float decay = effect.getParameter(8);
    effect.setParameter(8, 0.5f);
    effect.setParameter(8, decay);  // same value, but set through the parameter path
    const auto perParameter = effect.synthEngine().voice(0).mainEnvelope().rates();
    EXPECT_NE(perParameter.releaseRate, full.releaseRate);  // 20 ms instead of 10 ms
    dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(effect.synthEngine().voice(0).mainEnvelope().rates().releaseRate, full.releaseRate);
}

TEST_F(PianoEffectTest, EventsAndAudioAllocateNothing) {
    dispatch(effSetBlockSize, 0, 512);
    dispatch(effMainsChanged, 0, 1);
    std::vector<VstMidiEvent> midi(40);
    std::vector<VstEvent*> pointers;
    for (std::size_t i = 0; i < midi.size(); ++i) {
        midi[i] = VstMidiEvent{};
        midi[i].type = kVstMidiType;
        midi[i].byteSize = sizeof(VstMidiEvent);
        midi[i].deltaFrames = static_cast<VstInt32>(i * 10);
        midi[i].midiData[0] = static_cast<char>(i % 3 == 2 ? 0x80 : 0x90);
        midi[i].midiData[1] = static_cast<char>(36 + i);
        midi[i].midiData[2] = 100;
        pointers.push_back(reinterpret_cast<VstEvent*>(&midi[i]));
    }
    std::vector<unsigned char> storage(sizeof(VstEvents) + pointers.size() * sizeof(VstEvent*));
    auto* list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(pointers.size());
    VstEvent** slots = list->events;
    for (std::size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
    std::vector<float> left(512), right(512);
    float* outputs[2] = {left.data(), right.data()};

    const long before = allocations.load();
    for (int block = 0; block < 20; ++block) {
        dispatch(effProcessEvents, 0, 0, list);
        effect.processReplacing(nullptr, outputs, 512);
    }
    EXPECT_EQ(allocations.load(), before);
}

}  // namespace

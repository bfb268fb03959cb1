// Whole-instrument throughput through processReplacing: the engine, the copy
// to the second output and the chorus, as a host drives them. One second of
// 44.1 kHz audio per iteration in 512-frame blocks, a nine-note chord struck
// at the start of every second with the low-cut filter on and the chorus at
// half.
//
// Counters, from the CPU time the rendering took:
//   realtime_factor  seconds of audio rendered per second of CPU time

#include "instrument/PianoEffect.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <vector>

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr VstInt32 kBlockFrames = 512;
constexpr int32_t kFramesPerSecond = 44100;
constexpr int kChordNotes = 9;

// A VstEvents record with room for the chord and an all-notes-off.
struct EventList {
    VstInt32 numEvents;
    VstIntPtr reserved;
    std::array<VstEvent*, kChordNotes + 1> events;
};

VstMidiEvent midi(unsigned char status, unsigned char data1, unsigned char data2, VstInt32 offset)
{
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = offset;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    return event;
}

void BM_PluginNineVoicesFiltered(benchmark::State& state)
{
    PianoEffect effect{nullptr};
    effect.dispatcher(effSetSampleRate, 0, 0, nullptr, kSampleRate);
    effect.dispatcher(effSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
    effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);
    effect.setParameter(4, 0.0f);   // "B Mode": the low-cut filter runs
    effect.setParameter(8, 1.0f);   // "Decay": four seconds, every note sounds all second
    effect.setParameter(11, 0.5f);  // "Chorus"

    // All notes off (controller 123), then the chord: A2 upwards in major thirds.
    std::array<VstMidiEvent, kChordNotes + 1> midiEvents{};
    midiEvents[0] = midi(0xB0, 123, 0, 0);
    for (int i = 0; i < kChordNotes; ++i) {
        midiEvents[static_cast<size_t>(i) + 1] = midi(0x90, static_cast<unsigned char>(45 + 4 * i), 100, i);
    }
    EventList list{kChordNotes + 1, 0, {}};
    for (size_t i = 0; i < midiEvents.size(); ++i) {
        list.events[i] = reinterpret_cast<VstEvent*>(&midiEvents[i]);
    }

    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    float* outputs[2] = {left.data(), right.data()};
    const std::clock_t started = std::clock();
    for (auto _ : state) {
        effect.processEvents(reinterpret_cast<VstEvents*>(&list));
        for (int32_t done = 0; done < kFramesPerSecond; done += kBlockFrames) {
            const VstInt32 frames = std::min(kBlockFrames, kFramesPerSecond - done);
            effect.processReplacing(nullptr, outputs, frames);
            benchmark::DoNotOptimize(left.data());
            benchmark::DoNotOptimize(right.data());
        }
        benchmark::ClobberMemory();
    }
    const double cpuSeconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    const double audioSeconds = static_cast<double>(state.iterations());
    state.counters["realtime_factor"] = cpuSeconds > 0 ? audioSeconds / cpuSeconds : 0.0;
    state.counters["lanes"] = static_cast<double>(effect.synthEngine().laneWidth());
}

BENCHMARK(BM_PluginNineVoicesFiltered)->Unit(benchmark::kMillisecond);

}  // namespace

// Engine throughput: one second of 44.1 kHz audio per iteration, rendered in
// host-sized blocks, with nine voices (filter on and off) and with one voice.
// Each case runs with the voices rendered one by one by Voice::render (the
// reference, lanes:0) and side by side in 8 and 16 vector lanes (lanes:8,
// lanes:16; skipped where the processor lacks the set).
//
// Counters, both from the CPU time the rendering took (the machine may be busy
// with other work; an audio thread has its core to itself):
//   realtime_factor    seconds of audio rendered per second of CPU time
//   ns_per_voice_tick  CPU time per sounding voice per oversampled tick (two
//                      per frame)

#include "engine/SynthEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr int32_t kBlockFrames = 512;
constexpr int32_t kFramesPerSecond = 44100;

// A long "Decay" (four seconds) keeps every struck note audible through the
// second that one iteration renders.
void setUpEngine(SynthEngine& engine, bool filtered)
{
    const float values[ParameterBlock::kCount] = {
        0.0f, 0.6f, 0.8f, 0.5f, filtered ? 0.0f : 1.0f, 0.7f, 1.0f, 0.5f, 1.0f, 0.5f, 0.8f, 0.3f,
    };
    engine.parameters().store(values);
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        engine.voice(i).setSampleRate(kSampleRate);
    }
}

// A chord spread over three octaves from 110 Hz, struck at the next block.
void strikeChord(SynthEngine& engine, int voices)
{
    for (int i = 0; i < voices; ++i) {
        engine.noteOn(45 + 4 * i, 110.0f * (1.0f + 0.26f * static_cast<float>(i)), 0.8f, i);
    }
}

// Renders one second per iteration. With `restrike` every iteration strikes
// the chord anew, so the voices sound; without it the chord is struck once and
// held, and after four seconds the voices run on in silence until released.
void renderOneSecond(benchmark::State& state, bool filtered, int voices, bool restrike)
{
    SynthEngine engine;
    if (!engine.setLaneWidth(static_cast<LaneRenderer::Width>(state.range(0)))) {
        state.SkipWithError("this processor lacks the vector set");
        return;
    }
    setUpEngine(engine, filtered);
    std::vector<float> output(kBlockFrames), scratchA(2 * kBlockFrames), scratchB(2 * kBlockFrames);
    if (!restrike) {
        // Strike and hold the chord until it has decayed to silence.
        strikeChord(engine, voices);
        for (int32_t done = 0; done < 6 * kFramesPerSecond; done += kBlockFrames) {
            std::fill(output.begin(), output.end(), 0.0f);
            engine.render(scratchA.data(), scratchB.data(), output.data(), kBlockFrames);
        }
    }

    const std::clock_t started = std::clock();
    for (auto _ : state) {
        if (restrike) {
            engine.silenceAllVoices();
            strikeChord(engine, voices);
        }
        for (int32_t done = 0; done < kFramesPerSecond; done += kBlockFrames) {
            const int32_t frames = std::min(kBlockFrames, kFramesPerSecond - done);
            std::fill(output.begin(), output.begin() + frames, 0.0f);
            engine.render(scratchA.data(), scratchB.data(), output.data(), frames);
            benchmark::DoNotOptimize(output.data());
        }
        benchmark::ClobberMemory();
    }

    int sounding = 0;
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        sounding += engine.voice(i).active() ? 1 : 0;
    }
    const double cpuSeconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    const double audioSeconds = static_cast<double>(state.iterations());  // one per iteration
    const double voiceTicks = audioSeconds * kFramesPerSecond * 2.0 * sounding;
    state.counters["voices"] = sounding;
    state.counters["realtime_factor"] = cpuSeconds > 0 ? audioSeconds / cpuSeconds : 0.0;
    state.counters["ns_per_voice_tick"] = voiceTicks > 0 ? cpuSeconds * 1e9 / voiceTicks : 0.0;
}

void BM_NineVoicesFiltered(benchmark::State& state) { renderOneSecond(state, true, 9, true); }
void BM_NineVoicesUnfiltered(benchmark::State& state) { renderOneSecond(state, false, 9, true); }
void BM_OneVoiceFiltered(benchmark::State& state) { renderOneSecond(state, true, 1, true); }
void BM_OneVoiceUnfiltered(benchmark::State& state) { renderOneSecond(state, false, 1, true); }
// Held notes that have decayed to silence still run, filter included.
void BM_NineSilentHeldVoicesFiltered(benchmark::State& state) { renderOneSecond(state, true, 9, false); }

void laneWidths(benchmark::internal::Benchmark* b)
{
    b->ArgName("lanes")->Arg(0)->Arg(8)->Arg(16)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_NineVoicesFiltered)->Apply(laneWidths);
BENCHMARK(BM_NineVoicesUnfiltered)->Apply(laneWidths);
BENCHMARK(BM_OneVoiceFiltered)->Apply(laneWidths);
BENCHMARK(BM_OneVoiceUnfiltered)->Apply(laneWidths);
BENCHMARK(BM_NineSilentHeldVoicesFiltered)->Apply(laneWidths);

}  // namespace

// Parameter and envelope-time writes from another thread while the audio
// thread renders. Under ThreadSanitizer this shows the shared values are
// race-free; in a plain build it shows the render stays finite throughout.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace {

TEST(ConcurrentParameters, WritesDuringRenderingAreSafe)
{
    SynthEngine engine;
    loadParameters(engine, kPlainParameters);
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        engine.noteOn(40 + i, kA3 * (1.0f + 0.1f * static_cast<float>(i)), 0.8f, i);
    }

    std::atomic<bool> done{false};
    std::thread editor([&] {
        // Knob moves and program loads, as the user-interface thread makes them.
        for (int round = 0; !done.load(std::memory_order_relaxed) && round < 20000; ++round) {
            const float value = static_cast<float>(round % 100) / 100.0f;
            const int index = round % ParameterBlock::kCount;
            engine.parameters().set(index, value);
            engine.updateVoices(index);
            if (round % 50 == 0) {
                engine.updateVoices(kUpdateAll);
            }
        }
    });

    std::vector<float> output(128), scratchA(256), scratchB(256);
    bool finite = true;
    for (int block = 0; block < 400; ++block) {
        std::fill(output.begin(), output.end(), 0.0f);
        engine.render(scratchA.data(), scratchB.data(), output.data(), 128);
        for (float sample : output) {
            finite = finite && std::isfinite(sample);
        }
    }
    done.store(true, std::memory_order_relaxed);
    editor.join();
    EXPECT_TRUE(finite);
}

}  // namespace

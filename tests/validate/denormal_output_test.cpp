// The tail of a released note decays through the denormal range of floats.
// None of those values may reach the host: they are slow to compute and some
// hosts and drivers mishandle them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tools/host/Plugin.h"

namespace {

bool isDenormal(float value) { return value != 0.0f && std::fabs(value) < std::numeric_limits<float>::min(); }

TEST(DenormalOutput, ReleasedTailsReachZeroWithoutDenormals) {
    std::string error;
    auto library = vsthost::PluginLibrary::open(ORRELUNE_PATH, error);
    ASSERT_TRUE(library) << error;
    vsthost::Host host;
    auto plugin = vsthost::Plugin::create(*library, host, error);
    ASSERT_TRUE(plugin) << error;
    plugin->setSampleRate(44100.0f);
    plugin->setBlockSize(512);
    plugin->resume();

    // A spread chord on program 0 with a bend up and back, from loud to the
    // softest velocity, held for half a second and then released.
    vsthost::EventList chord;
    const int keys[] = {48, 60, 64, 67, 72};
    const int velocities[] = {100, 80, 127, 40, 1};
    for (int i = 0; i < 5; ++i) {
        chord.addMidi(64 * i, 0x90, static_cast<uint8_t>(keys[i]), static_cast<uint8_t>(velocities[i]));
    }
    chord.addMidi(400, 0xE0, 0x00, 0x50);
    chord.addMidi(450, 0xE0, 0x00, 0x40);
    vsthost::EventList release;
    for (int i = 0; i < 5; ++i) release.addMidi(64 * i, 0x80, static_cast<uint8_t>(keys[i]), 0);

    std::vector<float> left(512);
    std::vector<float> right(512);
    float* outputs[2] = {left.data(), right.data()};
    int denormals = 0;
    long nonZero = 0;
    // Two seconds: the release takes milliseconds and the chorus lines empty
    // after 2048 samples, so the output ends in exact zeros.
    for (int block = 0; block < 172; ++block) {
        if (block == 0) plugin->sendEvents(chord);
        if (block == 43) plugin->sendEvents(release);
        plugin->processReplacing(nullptr, outputs, 512);
        for (std::size_t i = 0; i < left.size(); ++i) {
            denormals += isDenormal(left[i]) + isDenormal(right[i]);
            nonZero += (left[i] != 0.0f) + (right[i] != 0.0f);
        }
    }
    EXPECT_GT(nonZero, 0);
    EXPECT_EQ(denormals, 0);
    EXPECT_EQ(left.back(), 0.0f);
    EXPECT_EQ(right.back(), 0.0f);
}

}  // namespace

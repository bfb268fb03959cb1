// Loads the built instrument library the way a sequencer does and gives each
// test one instance plus helpers to play notes and render blocks.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/Plugin.h"

class OrreluneFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library = vsthost::PluginLibrary::open(ORRELUNE_PATH, error);
        ASSERT_TRUE(library) << error;
        plugin = vsthost::Plugin::create(*library, host, error);
        ASSERT_TRUE(plugin) << error;
    }

    std::unique_ptr<vsthost::Plugin> newInstance() {
        std::string error;
        auto instance = vsthost::Plugin::create(*library, host, error);
        EXPECT_TRUE(instance) << error;
        return instance;
    }

    void start(float rate = 44100.0f, VstInt32 blockSize = 512) {
        plugin->setSampleRate(rate);
        plugin->setBlockSize(blockSize);
        plugin->resume();
    }

    // One host cycle: the event list (possibly empty), then the audio call.
    // The outputs are filled with garbage first, as a host's buffers may be.
    void cycle(vsthost::EventList& events, std::vector<float>& left, std::vector<float>& right, VstInt32 frames) {
        left.assign(static_cast<std::size_t>(frames), 12345.0f);
        right.assign(static_cast<std::size_t>(frames), -6789.0f);
        plugin->sendEvents(events);
        float* outputs[2] = {left.data(), right.data()};
        plugin->processReplacing(nullptr, outputs, frames);
    }

    // Renders `blocks` blocks of `frames`, with `events` delivered before the first.
    std::vector<float> render(vsthost::EventList events, int blocks, VstInt32 frames,
                              std::vector<float>* rightOut = nullptr) {
        std::vector<float> all;
        std::vector<float> allRight;
        std::vector<float> left;
        std::vector<float> right;
        for (int b = 0; b < blocks; ++b) {
            cycle(events, left, right, frames);
            events.clear();
            all.insert(all.end(), left.begin(), left.end());
            allRight.insert(allRight.end(), right.begin(), right.end());
        }
        if (rightOut) *rightOut = allRight;
        return all;
    }

    static vsthost::EventList noteOn(int note, int velocity = 100, VstInt32 offset = 0) {
        vsthost::EventList events;
        events.addMidi(offset, 0x90, static_cast<uint8_t>(note), static_cast<uint8_t>(velocity));
        return events;
    }

    static uint32_t bitsOf(float value) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }

    vsthost::Host host;
    std::unique_ptr<vsthost::PluginLibrary> library;
    std::unique_ptr<vsthost::Plugin> plugin;
};

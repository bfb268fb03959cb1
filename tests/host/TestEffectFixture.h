// Loads the test effect library once per test and gives each test a host, the
// library's observable state and a helper to create instances.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/host/TestEffectState.h"
#include "tools/host/Plugin.h"

class TestEffectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library = vsthost::PluginLibrary::open(TEST_EFFECT_PATH, error);
        ASSERT_TRUE(library) << error;
        auto stateProc = reinterpret_cast<TestEffectStateProc>(library->symbol("testEffectState"));
        ASSERT_NE(stateProc, nullptr);
        state = stateProc();
        *state = TestEffectState{};
        state->withEditor = true;
    }

    std::unique_ptr<vsthost::Plugin> create() {
        std::string error;
        auto plugin = vsthost::Plugin::create(*library, host, error);
        EXPECT_TRUE(plugin) << error;
        return plugin;
    }

    vsthost::Host host;
    std::unique_ptr<vsthost::PluginLibrary> library;
    TestEffectState* state = nullptr;
};

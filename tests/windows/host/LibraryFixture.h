// A test that holds the DLL under test loaded, as a host holds a plug-in
// library: through LoadLibrary and the exported entry point only.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "tests/windows/host/CheckSettings.h"
#include "tools/host/Plugin.h"

class LibraryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library = vsthost::PluginLibrary::open(checkSettings().library, error);
        ASSERT_TRUE(library) << error;
        // A second reference to the same module, for looking at its image.
        module = LoadLibraryA(checkSettings().library.c_str());
        ASSERT_NE(module, nullptr);
    }

    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    std::unique_ptr<vsthost::Plugin> newInstance() {
        std::string error;
        auto instance = vsthost::Plugin::create(*library, host, error);
        EXPECT_TRUE(instance) << error;
        return instance;
    }

    // True when `address` lies inside the loaded DLL's image.
    bool insideModule(const void* address) const;

    vsthost::Host host;
    std::unique_ptr<vsthost::PluginLibrary> library;
    HMODULE module = nullptr;
};

// A test host in a real X display: the built library loaded as a host loads
// it, a top-level window standing for the host's editor window, the editor
// opened in it and idled as a host idles it, and the pointer driven by
// synthetic input.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/x11/ExpectedPanel.h"
#include "tools/host/Plugin.h"
// Xlib last: its macros would rename words in the headers above.
#include "tests/x11/TestDisplay.h"

namespace x11test {

// Where the first host window sits on the screen, so that the pointer can
// also be taken above and left of it.
constexpr int kHostX = 100;
constexpr int kHostY = 100;

// Places on the panel, in window pixels: the inside of the first switch
// ("A Mode", left 24, top 39, 25 by 17) and the middle of the "Volume" knob
// (left 551, top 34, 26 by 26).
constexpr int kSwitchX = 36;
constexpr int kSwitchY = 47;
constexpr int kSwitchParam = 0;
constexpr int kVolumeX = 564;
constexpr int kVolumeY = 47;
constexpr int kVolumeParam = 10;

class EditorInX11 : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        screen = TestDisplay::open(why);
        if (!screen) GTEST_SKIP() << why;
        std::string error;
        library = vsthost::PluginLibrary::open(ORRELUNE_PATH, error);
        ASSERT_TRUE(library) << error;
        plugin = createPlugin(host);
        ASSERT_TRUE(plugin);
        hostWindow = screen->createHostWindow(kHostX, kHostY, kPanelWidth, kPanelHeight);
        screen->movePointer(0, 0);
    }

    std::unique_ptr<vsthost::Plugin> createPlugin(vsthost::Host& owner) {
        std::string error;
        auto created = vsthost::Plugin::create(*library, owner, error);
        EXPECT_TRUE(created) << error;
        return created;
    }

    // How a Linux host hands over its window: the X id in the pointer argument.
    static VstIntPtr openEditor(vsthost::Plugin& instance, Window parent) {
        return instance.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)));
    }

    // Idles the editor as a host does until `done` holds; false if it never
    // does within a time no healthy run comes near.
    static bool idleUntil(vsthost::Plugin& instance, const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            instance.dispatch(effEditIdle);
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    static std::vector<float> valuesOf(vsthost::Plugin& instance) {
        std::vector<float> values;
        for (int i = 0; i < kParameterCount; ++i) values.push_back(instance.getParameter(i));
        return values;
    }

    std::vector<gui::Color> shownIn(Window window) { return screen->readPixels(window, kPanelWidth, kPanelHeight); }

    // Idles until `window` shows the panel at the instance's values; empty
    // when it does, else where the last picture differed.
    std::string waitForPanel(vsthost::Plugin& instance, Window window) {
        std::string difference;
        idleUntil(instance, [&] {
            difference = pictureDifference(shownIn(window), expectedPanel(valuesOf(instance)), kPanelWidth);
            return difference.empty();
        });
        return difference;
    }

    std::vector<vsthost::HostRequest> automation() { return host.requestsWith(audioMasterAutomate); }

    bool idleUntilAutomation(vsthost::Plugin& instance, vsthost::Host& owner, std::size_t count) {
        return idleUntil(instance, [&] { return owner.requestsWith(audioMasterAutomate).size() >= count; });
    }

    // Window pixels of the first host window to screen pixels.
    void pointAt(int x, int y) { screen->movePointer(kHostX + x, kHostY + y); }
    void clickAt(int x, int y) {
        pointAt(x, y);
        screen->pressButton(Button1);
        screen->releaseButton(Button1);
    }

    // The plug-in goes before the library it came from, and both before the display.
    vsthost::Host host;
    std::unique_ptr<TestDisplay> screen;
    std::unique_ptr<vsthost::PluginLibrary> library;
    std::unique_ptr<vsthost::Plugin> plugin;
    Window hostWindow = 0;
};

}  // namespace x11test

// What the editor shows in a host's X11 window: the in-memory backend's
// picture, pixel for pixel, after the first expose, after being uncovered,
// after changes made on other threads, and again after a reopen.
#include <atomic>
#include <thread>

#include "tests/x11/EditorFixture.h"

namespace x11test {
namespace {

TEST_F(EditorInX11, ShowsThePanelAsDrawnInMemory) {
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    EXPECT_EQ(screen->childCount(hostWindow), 1);
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
}

// A window laid over the editor and taken away leaves the server asking the
// editor for the uncovered pixels.
TEST_F(EditorInX11, UncoveredPartsArePaintedAgain) {
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    const Window cover = screen->createHostWindow(kHostX + 200, kHostY + 10, 300, 60, 0x00FF00);
    screen->destroyWindow(cover);
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
}

// Another thread only marks controls; nothing reaches the screen before the
// host's next idle request, which draws them.
TEST_F(EditorInX11, ChangesFromOtherThreadsAreDrawnAtTheNextIdle) {
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    const std::vector<gui::Color> before = shownIn(hostWindow);

    std::thread automationThread([&] {
        plugin->setParameter(kVolumeParam, 0.9f);
        plugin->setParameter(kSwitchParam, plugin->getParameter(kSwitchParam) > 0.5f ? 0.0f : 1.0f);
    });
    automationThread.join();
    EXPECT_EQ(pictureDifference(shownIn(hostWindow), before, kPanelWidth), "");
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");

    // Program 3 ("Plucky") moves most controls at once.
    std::thread programThread([&] { plugin->dispatch(effSetProgram, 0, 3); });
    programThread.join();
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
}

// An automation thread keeps changing parameters while the host idles the
// editor: no change is lost, and the panel ends at the last values.
TEST_F(EditorInX11, ChangesDuringIdlingAreAllDrawn) {
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    std::atomic<bool> done{false};
    std::thread automationThread([&] {
        for (int change = 0; change < 20000; ++change) {
            plugin->setParameter(change % kParameterCount, static_cast<float>(change % 101) / 100.0f);
        }
        done = true;
    });
    while (!done) plugin->dispatch(effEditIdle);
    automationThread.join();
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
}

TEST_F(EditorInX11, ClosingTakesTheWindowAwayAndReopeningShowsThePanelAgain) {
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
    EXPECT_EQ(screen->childCount(hostWindow), 0);
    plugin->dispatch(effEditIdle);  // hosts go on idling a closed editor

    plugin->setParameter(kVolumeParam, 0.1f);
    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    plugin->dispatch(effEditClose);
}

}  // namespace
}  // namespace x11test

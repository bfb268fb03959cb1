// The panel worked with a real pointer: the X server's own pointer moved and
// clicked through XTest, heard by the editor at its idle requests, reported to
// the host as automation, and drawn.
#include "tests/x11/EditorFixture.h"

namespace x11test {
namespace {

class PointerInX11 : public EditorInX11 {
protected:
    void SetUp() override {
        EditorInX11::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
        ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    }
    void TearDown() override {
        if (plugin) plugin->dispatch(effEditClose);
    }
};

TEST_F(PointerInX11, SwitchClickTogglesReportsAndDraws) {
    const float before = plugin->getParameter(kSwitchParam);
    const float toggled = before < 0.5f ? 1.0f : 0.0f;
    clickAt(kSwitchX, kSwitchY);
    ASSERT_TRUE(idleUntilAutomation(*plugin, host, 1));
    const auto reports = automation();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].index, kSwitchParam);
    EXPECT_EQ(reports[0].opt, toggled);
    EXPECT_EQ(plugin->getParameter(kSwitchParam), toggled);
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
}

// 0.005 a pixel: ten one-pixel steps up from 0.5 report ten times and end at
// 0.55; the knob keeps following above the window (77 more pixels, one
// report, 0.935) until the button comes up out there.
TEST_F(PointerInX11, KnobDragFollowsThePointerBeyondTheWindow) {
    plugin->setParameter(kVolumeParam, 0.5f);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    pointAt(kVolumeX, kVolumeY);
    screen->pressButton(Button1);
    for (int step = 1; step <= 10; ++step) {
        pointAt(kVolumeX, kVolumeY - step);
        ASSERT_TRUE(idleUntilAutomation(*plugin, host, static_cast<std::size_t>(step))) << "step " << step;
    }
    EXPECT_NEAR(plugin->getParameter(kVolumeParam), 0.55f, 0.0001f);

    pointAt(kVolumeX, -40);
    ASSERT_TRUE(idleUntilAutomation(*plugin, host, 11));
    EXPECT_NEAR(plugin->getParameter(kVolumeParam), 0.935f, 0.0001f);
    screen->releaseButton(Button1);

    const auto reports = automation();
    ASSERT_EQ(reports.size(), 11u);
    for (const auto& report : reports) EXPECT_EQ(report.index, kVolumeParam);
    EXPECT_EQ(reports.back().opt, plugin->getParameter(kVolumeParam));
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");

    // Released: moving back over the knob turns nothing. The switch click
    // after it is heard later, so by then the moves have been heard too.
    pointAt(kVolumeX, kVolumeY);
    pointAt(kVolumeX, kVolumeY + 30);
    clickAt(kSwitchX, kSwitchY);
    ASSERT_TRUE(idleUntilAutomation(*plugin, host, 12));
    EXPECT_EQ(automation().back().index, kSwitchParam);
    EXPECT_EQ(automation().size(), 12u);
}

// The wheel turns nothing on this panel, and it does not go on to the host's
// window either.
TEST_F(PointerInX11, WheelChangesNothingAndStaysWithTheEditor) {
    const float volume = plugin->getParameter(kVolumeParam);
    pointAt(kVolumeX, kVolumeY);
    for (unsigned wheel : {Button4, Button5}) {
        screen->pressButton(wheel);
        screen->releaseButton(wheel);
    }
    clickAt(kSwitchX, kSwitchY);
    ASSERT_TRUE(idleUntilAutomation(*plugin, host, 1));
    ASSERT_EQ(automation().size(), 1u);
    EXPECT_EQ(automation()[0].index, kSwitchParam);
    EXPECT_EQ(plugin->getParameter(kVolumeParam), volume);
    EXPECT_FALSE(screen->buttonPressReached(hostWindow));
}

}  // namespace
}  // namespace x11test

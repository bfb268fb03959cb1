// The switch: a click toggles between 0 and 1 and reports each change; any
// value the host gives is kept and picks the frame.
#include "gui/GuiSwitch.h"
#include "tests/gui/PanelFixture.h"

namespace {

constexpr int kAModeParam = 0;

class SwitchTest : public PanelFixture {
protected:
    GuiControl& aMode() { return control(kAModeParam); }
    void click() {
        press(centreX(aMode()), centreY(aMode()));
        release(centreX(aMode()), centreY(aMode()));
    }
};

TEST_F(SwitchTest, ClicksToggleAndReportEachChange) {
    EXPECT_EQ(aMode().getValue(), 0.0f);
    click();
    EXPECT_EQ(aMode().getValue(), 1.0f);
    click();
    EXPECT_EQ(aMode().getValue(), 0.0f);
    EXPECT_EQ(callLog(), (std::vector<LoggedCall>{{LoggedCall::SetParameter, kAModeParam, 1.0f},
                                                  {LoggedCall::Automate, kAModeParam, 1.0f},
                                                  {LoggedCall::SetParameter, kAModeParam, 0.0f},
                                                  {LoggedCall::Automate, kAModeParam, 0.0f}}));
}

TEST_F(SwitchTest, AnyHostValueIsKeptAndAClickFromAboveHalfGoesToZero) {
    editor->syncControl(kAModeParam, 0.7f);
    EXPECT_EQ(aMode().getValue(), 0.7f);
    click();
    EXPECT_EQ(aMode().getValue(), 0.0f);
    EXPECT_EQ(callLog().back(), (LoggedCall{LoggedCall::Automate, kAModeParam, 0.0f}));
}

TEST_F(SwitchTest, ExactlyHalfwayAClickChangesNothing) {
    aMode().setValue(0.5f, false);
    click();
    EXPECT_EQ(aMode().getValue(), 0.5f);
    EXPECT_TRUE(callLog().empty());
}

// The picture depends only on the value, so every mouse event just draws it again.
TEST_F(SwitchTest, MouseEventsMarkItForDrawing) {
    using Event = void (GuiControl::*)(int, int);
    for (Event event : {&GuiControl::onMouseDown, &GuiControl::onMouseEnter, &GuiControl::onMouseLeave,
                        &GuiControl::onMouseUp}) {
        aMode().dirty = false;
        (aMode().*event)(30, 45);
        EXPECT_TRUE(aMode().dirty);
    }
    EXPECT_TRUE(callLog().empty());
}

TEST_F(SwitchTest, WheelChangesNothing) {
    editor->handleEvent({gui::WindowEventKind::Wheel, centreX(aMode()), centreY(aMode()), 1});
    EXPECT_EQ(aMode().getValue(), 0.0f);
    EXPECT_TRUE(callLog().empty());
}

}  // namespace

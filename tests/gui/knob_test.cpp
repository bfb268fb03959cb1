// The knob: which strip frame a value shows, clamping, dragging with its
// automation reports, and when it marks itself for drawing.
#include <cmath>

#include "gui/GuiKnob.h"
#include "tests/gui/PanelFixture.h"

namespace {

constexpr int kAToneParam = 1;  // the first knob of the attack section

class KnobTest : public PanelFixture {
protected:
    GuiKnob& knob() { return dynamic_cast<GuiKnob&>(control(kAToneParam)); }
    int shownFrame() { return knob().frameFor(knob().getValue()); }
    // Starts a drag at y on the knob, with nothing logged before it.
    void startDragAt(float value, int y) {
        knob().setValue(value, false);
        press(centreX(knob()), y);
        callLog().clear();
    }
    std::vector<LoggedCall> reportsOnly() {
        std::vector<LoggedCall> reports;
        for (const LoggedCall& call : callLog()) {
            if (call.kind == LoggedCall::Automate) reports.push_back(call);
        }
        return reports;
    }
};

struct FrameCase {
    float value;
    int frame;
};

// 64 frames: frame k covers values from k/63 up to (k+1)/63, and only a full 1.0 shows frame 63.
TEST_F(KnobTest, ValueShowsFrameOfSixtyThreeSteps) {
    const FrameCase cases[] = {
        {0.0f, 0}, {0.49f, 30}, {0.5f, 31}, {1.0f / 63.0f, 1}, {62.0f / 63.0f, 62}, {0.999f, 62}, {1.0f, 63},
    };
    for (const FrameCase& c : cases) EXPECT_EQ(knob().frameFor(c.value), c.frame) << "value " << c.value;
}

TEST_F(KnobTest, ValuesAreClampedToTheRange) {
    const FrameCase cases[] = {{1.7f, 63}, {-0.2f, 0}, {NAN, 0}};
    for (const FrameCase& c : cases) {
        knob().setValue(0.5f, false);
        knob().setValue(c.value, false);
        const float expected = c.frame == 63 ? 1.0f : 0.0f;
        EXPECT_EQ(knob().getValue(), expected) << "value " << c.value;
    }
}

// Its first change always marks it, whatever frame it shows.
TEST_F(KnobTest, StartsAtTheMiddleAndMarkedForDrawing) {
    EXPECT_EQ(knob().getValue(), 0.5f);
    EXPECT_TRUE(knob().dirty);
    knob().dirty = false;
    knob().setValue(0.501f, false);
    EXPECT_TRUE(knob().dirty);
}

// Ten one-pixel steps of 0.005 each: ten reports, each after its parameter write.
TEST_F(KnobTest, DragUpReportsEveryPixel) {
    startDragAt(0.5f, 40);
    EXPECT_EQ(shownFrame(), 31);
    for (int y = 39; y >= 30; --y) move(centreX(knob()), y);

    const std::vector<LoggedCall>& log = callLog();
    ASSERT_EQ(log.size(), 20u);
    for (std::size_t i = 0; i < log.size(); i += 2) {
        EXPECT_EQ(log[i].kind, LoggedCall::SetParameter);
        EXPECT_EQ(log[i + 1], (LoggedCall{LoggedCall::Automate, kAToneParam, log[i].value}));
    }
    EXPECT_NEAR(log.back().value, 0.55f, 0.0001f);
    EXPECT_NEAR(effect.values[kAToneParam], 0.55f, 0.0001f);
    EXPECT_EQ(shownFrame(), 34);  // trunc(63 * 0.55)
}

TEST_F(KnobTest, DragStopsAtTheTopAndTurnsBackAtOnce) {
    startDragAt(0.998f, 40);
    move(0, 39);  // 0.998 + 0.005 clamps to 1
    ASSERT_EQ(reportsOnly().size(), 1u);
    EXPECT_EQ(reportsOnly()[0].value, 1.0f);
    EXPECT_EQ(shownFrame(), 63);

    move(0, 38);  // still 1: nothing to report
    move(0, 30);
    EXPECT_EQ(reportsOnly().size(), 1u);

    move(0, 31);  // one pixel back down from where the pointer is now
    ASSERT_EQ(reportsOnly().size(), 2u);
    EXPECT_FLOAT_EQ(reportsOnly()[1].value, 0.995f);
}

// Dragging follows the pointer, not the press: the x position does not matter
// and positions outside the window (negative ones too) keep turning the knob.
TEST_F(KnobTest, DragOutsideTheWindowKeepsTurning) {
    startDragAt(0.5f, 40);
    move(-300, -10);  // 50 pixels up
    EXPECT_NEAR(knob().getValue(), 0.75f, 0.0001f);
    move(2000, 140);  // 150 pixels down, past the bottom
    EXPECT_EQ(knob().getValue(), 0.0f);
    EXPECT_EQ(reportsOnly().size(), 2u);
}

// The editor is closed, so the dirty flag that the release sets stays visible.
TEST_F(KnobTest, PressAndReleaseWithoutMovingReportsNothingButRedraws) {
    knob().dirty = false;
    startDragAt(0.5f, 40);
    EXPECT_FALSE(knob().dirty);
    release(centreX(knob()), 40);
    EXPECT_TRUE(knob().dirty);
    EXPECT_TRUE(callLog().empty());
    EXPECT_EQ(knob().getValue(), 0.5f);
}

TEST_F(KnobTest, SyncWithinOneFrameKeepsTheKnobClean) {
    knob().setValue(0.49f, false);
    knob().dirty = false;
    editor->syncControl(kAToneParam, 0.491f);
    EXPECT_EQ(knob().getValue(), 0.491f);
    EXPECT_EQ(shownFrame(), 30);
    EXPECT_FALSE(knob().dirty);
}

TEST_F(KnobTest, SettingTheSameValueChangesNothing) {
    knob().setValue(0.25f, false);
    knob().dirty = false;
    knob().setValue(0.25f, true);
    EXPECT_FALSE(knob().dirty);
    EXPECT_TRUE(callLog().empty());
}

TEST_F(KnobTest, NotifiedChangeReportsAndMarksOnlyWhenTheFrameChanges) {
    knob().setValue(0.51f, false);  // frame 32
    knob().dirty = false;
    knob().setValue(0.515f, true);  // frame 32 still
    EXPECT_FALSE(knob().dirty);
    knob().setValue(0.6f, true);  // frame 37
    EXPECT_TRUE(knob().dirty);
    EXPECT_EQ(reportsOnly(), (std::vector<LoggedCall>{{LoggedCall::Automate, kAToneParam, 0.515f},
                                                      {LoggedCall::Automate, kAToneParam, 0.6f}}));
}

TEST_F(KnobTest, WheelChangesNothing) {
    editor->handleEvent({gui::WindowEventKind::Wheel, centreX(knob()), centreY(knob()), 1});
    editor->handleEvent({gui::WindowEventKind::Wheel, centreX(knob()), centreY(knob()), -1});
    EXPECT_EQ(knob().getValue(), 0.5f);
    EXPECT_TRUE(callLog().empty());
}

}  // namespace

// What the open editor puts on its window: the panel picture, each switch's
// frame, each knob's frame through the mask, and only the dirty controls on a
// redraw.
#include "tests/gui/PanelFixture.h"

namespace {

constexpr int kAModeParam = 0;
constexpr int kAToneParam = 1;

class DrawingTest : public PanelFixture {
protected:
    DrawingTest() {
        panel = picture(panel::kPanelResource);
        switches = picture(panel::kSwitchResource);
        strip = picture(panel::kKnobStripResource);
        mask = picture(panel::kKnobMaskResource);
    }

    gui::Color shown(int x, int y) { return window().image().pixel(x, y); }

    // The knob's area must be the panel under the mask, with the frame OR-ed in.
    void expectKnobShowsFrame(const GuiControl& knob, int frame) {
        for (int y = 0; y < knob.height; ++y) {
            for (int x = 0; x < knob.width; ++x) {
                const gui::Color expected = (panel->pixel(knob.left + x, knob.top + y) & mask->pixel(x, y)) |
                                            strip->pixel(x, frame * panel::kKnobSize + y);
                ASSERT_EQ(shown(knob.left + x, knob.top + y), expected) << "frame " << frame << " at " << x << "," << y;
            }
        }
    }
    void expectSwitchShowsFrame(const GuiControl& control, int frameTop) {
        for (int y = 0; y < control.height; ++y) {
            for (int x = 0; x < control.width; ++x) {
                ASSERT_EQ(shown(control.left + x, control.top + y), switches->pixel(x, frameTop + y));
            }
        }
    }

    std::unique_ptr<gui::RasterImage> panel, switches, strip, mask;
};

TEST_F(DrawingTest, PaintShowsThePanelAroundTheControls) {
    open();
    window().paint();
    for (const auto& [x, y] : {std::pair{0, 0}, {784, 81}, {700, 40}, {100, 70}}) EXPECT_EQ(shown(x, y), panel->pixel(x, y));
}

TEST_F(DrawingTest, KnobDiscShowsItsFrameAndCornersKeepThePanel) {
    GuiControl& knob = control(kAToneParam);
    knob.setValue(1.0f, false);
    open();
    window().paint();
    expectKnobShowsFrame(knob, 63);
    // The corner lies outside the disc: the panel shows through unchanged.
    EXPECT_EQ(shown(knob.left, knob.top), panel->pixel(knob.left, knob.top));
    EXPECT_EQ(shown(knob.left + 25, knob.top + 25), panel->pixel(knob.left + 25, knob.top + 25));
    // The disc's centre shows the strip's pixel, whatever the panel had there.
    EXPECT_EQ(shown(knob.left + 13, knob.top + 13), strip->pixel(13, 63 * panel::kKnobSize + 13));
}

TEST_F(DrawingTest, AParameterChangeRedrawsTheKnobWithItsNewFrame) {
    open();
    window().paint();
    expectKnobShowsFrame(control(kAToneParam), 31);
    effect.setParameter(kAToneParam, 0.1f);
    expectKnobShowsFrame(control(kAToneParam), 6);  // trunc(63 * 0.1)
}

TEST_F(DrawingTest, SwitchShowsUpperFrameUpToHalfAndLowerAbove) {
    GuiControl& aMode = control(kAModeParam);
    open();
    window().paint();
    expectSwitchShowsFrame(aMode, 0);
    effect.setParameter(kAModeParam, 0.7f);
    expectSwitchShowsFrame(aMode, panel::kSwitchFrameOffset);
    effect.setParameter(kAModeParam, 0.5f);
    expectSwitchShowsFrame(aMode, 0);
}

// Drawing only the dirty controls: a knob marked clean keeps its old face
// even though its value moved.
TEST_F(DrawingTest, RedrawPaintsOnlyDirtyControls) {
    open();
    window().paint();
    GuiControl& knob = control(kAToneParam);
    knob.setValue(1.0f, false);
    knob.dirty = false;
    editor->redrawDirtyControls();
    expectKnobShowsFrame(knob, 31);
}

TEST_F(DrawingTest, NothingIsDrawnAfterClose) {
    open();
    window().paint();
    editor->close();
    EXPECT_EQ(editor->getNativeWindow(), nullptr);
    control(kAToneParam).setValue(1.0f, false);
    editor->redrawDirtyControls();
    EXPECT_TRUE(control(kAToneParam).dirty);
}

class MissingPanelTest : public PanelFixture {
protected:
    MissingPanelTest() : PanelFixture(gui::embeddedResources().without(panel::kPanelResource)) {}
};

// Without the panel picture the window is flat grey (150, 150, 150) with the controls on it.
TEST_F(MissingPanelTest, WindowIsFilledGreyAndControlsDrawnOnIt) {
    EXPECT_EQ(editor->getControls().size(), 12u);
    open();
    window().paint();
    EXPECT_EQ(window().image().pixel(0, 0), gui::rgb(150, 150, 150));
    EXPECT_EQ(window().image().pixel(784, 81), gui::rgb(150, 150, 150));
    const GuiControl& knob = control(kAToneParam);
    EXPECT_EQ(window().image().pixel(knob.left, knob.top), gui::rgb(150, 150, 150));
    EXPECT_NE(window().image().pixel(knob.left + 13, knob.top + 13), gui::rgb(150, 150, 150));
}

}  // namespace

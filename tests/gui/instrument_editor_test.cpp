// The panel inside the instrument: attached at construction and showing
// program 0, a dragged knob automating its parameter, and program changes
// and chunks reaching the controls.
#include <gtest/gtest.h>

#include <cstring>

#include "gui/GuiKnob.h"
#include "gui/PianoEditor.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "instrument/PianoEffect.h"
#include "tests/gui/PanelTestEffect.h"

namespace {

constexpr int kVolumeParam = 10;

class InstrumentEditorTest : public ::testing::Test {
protected:
    InstrumentEditorTest() : effect(recordingHost) { callLog().clear(); }

    PianoEditor& editor() { return *static_cast<PianoEditor*>(effect.getEditor()); }
    GuiControl& control(int paramIndex) {
        for (const auto& c : editor().getControls()) {
            if (c->paramIndex == paramIndex) return *c;
        }
        throw std::logic_error("no control for that parameter");
    }
    void openAndPaint() {
        ASSERT_TRUE(editor().open(&hostWindow));
        dynamic_cast<gui::RasterWindow&>(*editor().getNativeWindow()).paint();
    }
    bool anyDirty() {
        for (const auto& c : editor().getControls()) {
            if (c->dirty) return true;
        }
        return false;
    }

    PianoEffect effect;
    int hostWindow = 0;
};

TEST_F(InstrumentEditorTest, RecordAnnouncesTheEditor) {
    EXPECT_EQ(effect.getAeffect()->flags, 0x131);
    ASSERT_NE(effect.getEditor(), nullptr);
    EXPECT_EQ(editor().getControls().size(), 12u);
}

// After construction every control shows program 0's value.
TEST_F(InstrumentEditorTest, ControlsStartAtProgramZero) {
    for (const auto& c : editor().getControls()) {
        const float expected = effect.getParameter(c->paramIndex);
        if (dynamic_cast<GuiKnob*>(c.get()) != nullptr) {
            EXPECT_EQ(c->getValue(), std::min(std::max(expected, 0.0f), 1.0f)) << c->paramIndex;
        } else {
            EXPECT_EQ(c->getValue(), expected) << c->paramIndex;
        }
    }
}

// Dragging the Volume knob up two pixels: each step writes the parameter and
// the host hears of it, with the knob's own value.
TEST_F(InstrumentEditorTest, DraggedKnobAutomatesItsParameter) {
    openAndPaint();
    GuiControl& volume = control(kVolumeParam);
    const float start = volume.getValue();
    const int x = volume.left + 13;
    editor().handleEvent({gui::WindowEventKind::ButtonDown, x, 45});
    editor().handleEvent({gui::WindowEventKind::MouseMove, x, 44});
    editor().handleEvent({gui::WindowEventKind::MouseMove, x, 43});
    editor().handleEvent({gui::WindowEventKind::ButtonUp, x, 43});

    ASSERT_EQ(callLog().size(), 2u);
    EXPECT_EQ(callLog()[0].index, kVolumeParam);
    EXPECT_FLOAT_EQ(callLog()[0].value, start + 0.005f);
    EXPECT_EQ(callLog()[1].value, volume.getValue());
    EXPECT_EQ(effect.getParameter(kVolumeParam), volume.getValue());
    EXPECT_FALSE(anyDirty());
}

TEST_F(InstrumentEditorTest, HostParameterChangeMovesTheControl) {
    effect.setParameter(kVolumeParam, 0.9f);
    EXPECT_EQ(control(kVolumeParam).getValue(), 0.9f);
    EXPECT_TRUE(callLog().empty());
}

// A program change draws the changed controls at once.
TEST_F(InstrumentEditorTest, ProgramChangeDrawsTheControlsAtOnce) {
    openAndPaint();
    effect.setProgram(3);
    for (const auto& c : editor().getControls()) EXPECT_EQ(c->getValue(), effect.getParameter(c->paramIndex));
    EXPECT_FALSE(anyDirty());
}

// A chunk sets the controls but leaves the drawing to the next redraw or paint.
TEST_F(InstrumentEditorTest, ChunkSetsControlsWithoutDrawing) {
    openAndPaint();
    float values[12];
    for (int i = 0; i < 12; ++i) values[i] = 1.0f - effect.getParameter(i);
    ASSERT_EQ(effect.setChunk(values, sizeof values, true), 48);
    EXPECT_EQ(control(kVolumeParam).getValue(), values[kVolumeParam]);
    EXPECT_TRUE(anyDirty());
    editor().redrawDirtyControls();
    EXPECT_FALSE(anyDirty());
}

}  // namespace

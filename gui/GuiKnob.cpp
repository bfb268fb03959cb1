#include "gui/GuiKnob.h"

#include <cmath>

namespace {

constexpr float kValuePerPixel = 0.005f;  // 200 pixels of travel cover the range
// Drag steps are reported only when the value moved at this resolution.
constexpr float kReportResolution = 1000.0f;

// A value outside the range (or not a number at all, which a chunk can carry)
// would pick a frame that is not in the strip.
float clampToRange(float v) {
    if (std::isnan(v)) return 0.0f;
    if (v > 1.0f) return 1.0f;
    if (v < 0.0f) return 0.0f;
    return v;
}

}  // namespace

GuiKnob::GuiKnob(int left, int top, int width, int height, const gui::Bitmap* strip, const gui::Bitmap* mask,
                 int frameHeight, int frameCount)
    : GuiControl(left, top, width, height),
      strip(strip),
      mask(mask),
      frameHeight(frameHeight),
      frameCount(frameCount) {
    value = 0.5f;
}

int GuiKnob::frameFor(float v) const { return static_cast<int>(static_cast<float>(frameCount - 1) * v); }

void GuiKnob::onMouseDown(int, int y) { dragY = y; }

// Once the button is released the knob is drawn again.
void GuiKnob::onMouseUp(int, int) { dirty = true; }

// The reference point follows the pointer on every step, so the drag is
// relative to the previous message: movement past either end is lost and the
// value turns back as soon as the pointer does.
void GuiKnob::onMouseDrag(int, int y) {
    const float candidate = clampToRange(value - static_cast<float>(y - dragY) * kValuePerPixel);
    dragY = y;
    const int candidateStep = static_cast<int>(candidate * kReportResolution);
    const int currentStep = static_cast<int>(value * kReportResolution);
    if (candidateStep != currentStep) setValue(candidate, true);
}

void GuiKnob::draw(gui::Surface& surface) {
    if (strip == nullptr || mask == nullptr) return;
    surface.copyBitmap(*mask, 0, 0, width, height, left, top, gui::RasterOp::And);
    surface.copyBitmap(*strip, 0, stripOffsetFor(value), width, height, left, top, gui::RasterOp::Or);
}

// The value is stored before it is reported, so the effect's echo back
// through the window's sync finds the knob already there.
void GuiKnob::setValue(float newValue, bool notify) {
    const float v = clampToRange(newValue);
    if (v == value) return;
    value = v;
    if (notify) report(v);
    const int offset = stripOffsetFor(value);
    if (offset != shownFrameOffset) {
        dirty = true;
        shownFrameOffset = offset;
    }
}

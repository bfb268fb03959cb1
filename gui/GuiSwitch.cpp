#include "gui/GuiSwitch.h"

namespace {
constexpr float kMidpoint = 0.5f;
}

GuiSwitch::GuiSwitch(int left, int top, int width, int height, const gui::Bitmap* bitmap, int frameOffset)
    : GuiControl(left, top, width, height), bitmap(bitmap), frameOffset(frameOffset) {
    value = 0.0f;
}

// The picture depends on the value alone, so these only draw the same frame again.
void GuiSwitch::onMouseDown(int, int) { dirty = true; }
void GuiSwitch::onMouseEnter(int, int) { dirty = true; }
void GuiSwitch::onMouseLeave(int, int) { dirty = true; }
void GuiSwitch::onMouseUp(int, int) { dirty = true; }

// A switch left exactly halfway (only the host can put it there) stays put.
void GuiSwitch::onClick(int, int) {
    if (value < kMidpoint) {
        setValue(1.0f, true);
    } else if (value > kMidpoint) {
        setValue(0.0f, true);
    }
    dirty = true;
}

void GuiSwitch::draw(gui::Surface& surface) {
    if (bitmap == nullptr) return;
    const int sourceY = value > kMidpoint ? frameOffset : 0;
    surface.copyBitmap(*bitmap, 0, sourceY, width, height, left, top, gui::RasterOp::Copy);
}

void GuiSwitch::setValue(float newValue, bool notify) {
    value = newValue;
    if (notify) report(newValue);
    dirty = true;
}

// A rotary knob turned by dragging the mouse vertically. It draws one frame of
// a strip of pictures through a mask: the mask clears the knob's disc, the
// frame fills it, the background shows around it.
#pragma once

#include <atomic>

#include "gui/GuiControl.h"

class GuiKnob : public GuiControl {
public:
    // `strip` holds `frameCount` frames, `frameHeight` rows apart, frame 0 (the
    // minimum) at the top; `mask` is black on the disc and white around it.
    // Both stay owned by the caller.
    GuiKnob(int left, int top, int width, int height, const gui::Bitmap* strip, const gui::Bitmap* mask,
            int frameHeight, int frameCount);

    void onMouseDown(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void onMouseDrag(int x, int y) override;
    void draw(gui::Surface& surface) override;
    // Clamps to 0..1; a change within one frame is kept and reported but not redrawn.
    void setValue(float newValue, bool notify) override;
    float getValue() const override { return value; }

    // The strip frame that shows `v` (0..1).
    int frameFor(float v) const;

private:
    int stripOffsetFor(float v) const { return frameFor(v) * frameHeight; }

    const gui::Bitmap* strip;
    const gui::Bitmap* mask;
    int frameHeight;
    int frameCount;
    int dragY = 0;  // the pointer's y at the press or the last drag step
    // The strip offset last marked for drawing; no frame has this one, so the
    // first change always draws.
    std::atomic<int> shownFrameOffset{-1000};
};

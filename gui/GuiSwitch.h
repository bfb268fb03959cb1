// A two-state button: a click toggles it between 0 and 1. It shows the upper
// frame of its bitmap at 0.5 or less and the lower frame above.
#pragma once

#include "gui/GuiControl.h"

class GuiSwitch : public GuiControl {
public:
    // `bitmap` holds two width-by-height frames, the second `frameOffset` rows
    // below the first; it stays owned by the caller.
    GuiSwitch(int left, int top, int width, int height, const gui::Bitmap* bitmap, int frameOffset);

    void onMouseDown(int x, int y) override;
    void onClick(int x, int y) override;
    void onMouseEnter(int x, int y) override;
    void onMouseLeave(int x, int y) override;
    void onMouseUp(int x, int y) override;
    void draw(gui::Surface& surface) override;
    // Any value is kept as given; only the frame choice looks at it.
    void setValue(float newValue, bool notify) override;
    float getValue() const override { return value; }

private:
    const gui::Bitmap* bitmap;
    int frameOffset;
};

// One rectangle of the editor that stands for one effect parameter. The window
// sends it mouse events, asks it to draw while it is dirty, and brings its
// value into line with the effect; a control reports the changes the user
// makes to the effect as automation.
#pragma once

#include <atomic>

#include "gui/platform/platform.h"
#include "host/VstAbi.h"

class GuiWindow;

class GuiControl {
public:
    GuiControl(int left, int top, int width, int height) : left(left), top(top), width(width), height(height) {}
    virtual ~GuiControl() = default;

    // Mouse events, in window pixels. A control kind overrides what it uses.
    virtual void onMouseDown(int x, int y) { (void)x, (void)y; }
    // The button went up over the control, and no other control held the mouse.
    virtual void onClick(int x, int y) { (void)x, (void)y; }
    virtual void onMouseEnter(int x, int y) { (void)x, (void)y; }
    virtual void onMouseLeave(int x, int y) { (void)x, (void)y; }
    // The button went up while this control held the mouse (after any onClick).
    virtual void onMouseUp(int x, int y) { (void)x, (void)y; }
    // The pointer moved while this control held the mouse.
    virtual void onMouseDrag(int x, int y) { (void)x, (void)y; }
    virtual void onMouseWheel(int step) { (void)step; }
    // Draws the control at its own position; called only while it is dirty.
    virtual void draw(gui::Surface& surface) { (void)surface; }

    // The only way the value changes; with notify the change is reported to the effect.
    virtual void setValue(float newValue, bool notify) = 0;
    virtual float getValue() const = 0;

    GuiControl(const GuiControl&) = delete;
    GuiControl& operator=(const GuiControl&) = delete;

    const int left;
    const int top;
    const int width;
    const int height;
    VstInt32 paramIndex = -1;   // the effect parameter this control stands for
    GuiWindow* owner = nullptr; // the window that holds it; reports go to its effect
    // Must be drawn at the next redraw. Parameter and program changes mark it
    // from whatever thread the host uses while the window's thread draws.
    std::atomic<bool> dirty{true};

protected:
    // Tells the effect (and through it the host) that the user set the parameter.
    void report(float newValue);

    std::atomic<float> value{0.0f};  // what the control shows; 0 to 1 in use (read by the drawing thread)
};

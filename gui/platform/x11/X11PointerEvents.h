// Pointer input from the X server as the editor hears it on every system:
// the same window events the Windows backend makes of its mouse messages, so
// that hit testing, capture, hover and automation behave alike.
#pragma once

#include "gui/platform/platform.h"

union _XEvent;

namespace gui {

// The window events one X event stands for, in the order they are heard.
struct PointerEvents {
    WindowEvent events[2]{};
    int count = 0;
};

// Button presses activate the window first, as a click does on Windows; the
// left button goes down and up; the wheel arrives as presses of buttons 4
// (forward) and 5 (backward); motion and the pointer crossing the window's
// edge are moves to where the pointer now is, so that the control under it is
// left or entered. Anything else stands for nothing.
PointerEvents translatePointerEvent(const _XEvent& event);

}  // namespace gui

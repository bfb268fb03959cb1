#include "gui/platform/x11/X11PointerEvents.h"

#include <X11/Xlib.h>

namespace gui {
namespace {

constexpr unsigned kLeftButton = Button1;
constexpr unsigned kRightButton = Button3;
constexpr unsigned kWheelForward = Button4;
constexpr unsigned kWheelBackward = Button5;

PointerEvents one(const WindowEvent& event) {
    PointerEvents result;
    result.events[0] = event;
    result.count = 1;
    return result;
}

PointerEvents press(const XButtonEvent& button) {
    if (button.button == kWheelForward) return one({WindowEventKind::Wheel, button.x, button.y, 1});
    if (button.button == kWheelBackward) return one({WindowEventKind::Wheel, button.x, button.y, -1});
    if (button.button > kRightButton) return {};
    PointerEvents result = one({WindowEventKind::MouseActivate, button.x, button.y});
    if (button.button == kLeftButton) {
        result.events[1] = {WindowEventKind::ButtonDown, button.x, button.y};
        result.count = 2;
    }
    return result;
}

}  // namespace

PointerEvents translatePointerEvent(const XEvent& event) {
    switch (event.type) {
        case ButtonPress:
            return press(event.xbutton);
        case ButtonRelease:
            if (event.xbutton.button != kLeftButton) return {};
            return one({WindowEventKind::ButtonUp, event.xbutton.x, event.xbutton.y});
        case MotionNotify:
            return one({WindowEventKind::MouseMove, event.xmotion.x, event.xmotion.y});
        case EnterNotify:
        case LeaveNotify:
            return one({WindowEventKind::MouseMove, event.xcrossing.x, event.xcrossing.y});
        default:
            return {};
    }
}

}  // namespace gui

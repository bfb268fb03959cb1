// X pointer events become the window events the Windows backend makes of its
// mouse messages.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <vector>

#include "gui/platform/x11/X11PointerEvents.h"

namespace {

using Kind = gui::WindowEventKind;

struct Expected {
    Kind kind;
    int x;
    int y;
    int wheelStep;
};

struct PointerCase {
    const char* name;
    XEvent event;
    std::vector<Expected> heard;
};

XEvent button(int type, unsigned number, int x, int y) {
    XEvent event{};
    event.type = type;
    event.xbutton.button = number;
    event.xbutton.x = x;
    event.xbutton.y = y;
    return event;
}

XEvent motion(int x, int y) {
    XEvent event{};
    event.type = MotionNotify;
    event.xmotion.x = x;
    event.xmotion.y = y;
    return event;
}

XEvent crossing(int type, int x, int y) {
    XEvent event{};
    event.type = type;
    event.xcrossing.x = x;
    event.xcrossing.y = y;
    return event;
}

XEvent ofType(int type) {
    XEvent event{};
    event.type = type;
    return event;
}

class PointerTranslation : public ::testing::TestWithParam<PointerCase> {};

TEST_P(PointerTranslation, HeardAsOnWindows) {
    const PointerCase& c = GetParam();
    const gui::PointerEvents events = gui::translatePointerEvent(c.event);
    ASSERT_EQ(events.count, static_cast<int>(c.heard.size()));
    for (int i = 0; i < events.count; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events.events[i].kind, c.heard[i].kind);
        EXPECT_EQ(events.events[i].x, c.heard[i].x);
        EXPECT_EQ(events.events[i].y, c.heard[i].y);
        EXPECT_EQ(events.events[i].wheelStep, c.heard[i].wheelStep);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Events, PointerTranslation,
    ::testing::Values(
        PointerCase{"LeftPress", button(ButtonPress, Button1, 36, 47),
                    {{Kind::MouseActivate, 36, 47, 0}, {Kind::ButtonDown, 36, 47, 0}}},
        PointerCase{"RightPressOnlyActivates", button(ButtonPress, Button3, 5, 6), {{Kind::MouseActivate, 5, 6, 0}}},
        PointerCase{"LeftReleaseOutside", button(ButtonRelease, Button1, -5, 300), {{Kind::ButtonUp, -5, 300, 0}}},
        PointerCase{"RightRelease", button(ButtonRelease, Button3, 5, 6), {}},
        PointerCase{"WheelForward", button(ButtonPress, Button4, 564, 47), {{Kind::Wheel, 564, 47, 1}}},
        PointerCase{"WheelBackward", button(ButtonPress, Button5, 564, 47), {{Kind::Wheel, 564, 47, -1}}},
        PointerCase{"WheelRelease", button(ButtonRelease, Button4, 564, 47), {}},
        // Buttons 6 and 7 are the sideways wheel.
        PointerCase{"SidewaysWheel", button(ButtonPress, 6, 1, 1), {}},
        PointerCase{"MotionAboveTheWindow", motion(564, -40), {{Kind::MouseMove, 564, -40, 0}}},
        PointerCase{"Enter", crossing(EnterNotify, 3, 4), {{Kind::MouseMove, 3, 4, 0}}},
        PointerCase{"Leave", crossing(LeaveNotify, 800, 10), {{Kind::MouseMove, 800, 10, 0}}},
        PointerCase{"Key", ofType(KeyPress), {}},
        PointerCase{"Expose", ofType(Expose), {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// How the window routes mouse messages: the strict hit test, entering and
// leaving, the control that holds the mouse, clicks and releases, the wheel.
#include <gtest/gtest.h>

#include "gui/platform/raster/RasterPlatform.h"
#include "tests/gui/ProbeWindow.h"

namespace {

using gui::WindowEventKind;
using Log = std::vector<std::string>;

// Two 10-by-10 controls side by side with no gap: a at x 10..19, b at x 20..29.
class MouseRoutingTest : public ::testing::Test {
protected:
    MouseRoutingTest() : window(platform, 100, 50) {
        window.add("a", 10, 10, 10, 10);
        window.add("b", 20, 10, 10, 10);
        EXPECT_TRUE(window.open(&hostWindow));
    }
    void send(WindowEventKind kind, int x, int y) {
        window.handleEvent({kind, x, y});
        window.takeLog();  // drawing is not the subject here; keep the routing
    }
    Log sendAndLog(WindowEventKind kind, int x, int y, int wheelStep = 0) {
        window.handleEvent({kind, x, y, wheelStep});
        Log log = window.takeLog();
        std::erase_if(log, [](const std::string& line) { return line.rfind("draw", 0) == 0; });
        return log;
    }
    gui::RasterWindow& native() { return dynamic_cast<gui::RasterWindow&>(*window.getNativeWindow()); }

    gui::RasterPlatform platform{gui::ResourceSet{}};
    ProbeWindow window;
    int hostWindow = 0;
};

struct HitCase {
    int x;
    int y;
    const char* expected;  // control name, or "" for none
};

// The first row and column of a control never hit; the last ones do.
TEST_F(MouseRoutingTest, HitTestIsStrictAtTheLeftAndTopEdges) {
    const HitCase cases[] = {
        {10, 15, ""},  {11, 15, "a"}, {19, 15, "a"}, {20, 15, ""}, {21, 15, "b"}, {29, 15, "b"},
        {30, 15, ""},  {15, 10, ""},  {15, 11, "a"}, {15, 19, "a"}, {15, 20, ""}, {-5, -5, ""},
    };
    for (const HitCase& c : cases) {
        GuiControl* hit = window.controlAt(c.x, c.y);
        const std::string name = hit ? std::string(hit == window.getControls()[0].get() ? "a" : "b") : "";
        EXPECT_EQ(name, c.expected) << "at " << c.x << "," << c.y;
    }
}

// The first move onto the neighbour only leaves; the second enters.
TEST_F(MouseRoutingTest, MovingOntoANeighbourLeavesThenEnters) {
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 15, 15), (Log{"enter a 15,15"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 16, 15), Log{});
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 25, 15), (Log{"leave a 25,15"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 26, 15), (Log{"enter b 26,15"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 50, 40), (Log{"leave b 50,40"}));
}

TEST_F(MouseRoutingTest, PressOnOneReleaseOverAnotherClicksNeither) {
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonDown, 15, 15), (Log{"down a 15,15"}));
    EXPECT_TRUE(native().hasCapture());
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonUp, 25, 15), (Log{"up a 25,15"}));
    EXPECT_FALSE(native().hasCapture());
}

TEST_F(MouseRoutingTest, ReleaseWithNobodyHoldingTheMouseClicks) {
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonDown, 50, 40), Log{});
    EXPECT_FALSE(native().hasCapture());
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonUp, 25, 15), (Log{"click b 25,15"}));
}

TEST_F(MouseRoutingTest, LeavingAndComingBackBeforeTheReleaseStillClicks) {
    send(WindowEventKind::MouseMove, 15, 15);
    send(WindowEventKind::ButtonDown, 15, 15);
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 60, 15), (Log{"drag a 60,15", "leave a 60,15"}));
    // Back onto a: dragged, and entered again since a holds the mouse.
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 15, 16), (Log{"drag a 15,16", "enter a 15,16"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonUp, 15, 16), (Log{"click a 15,16", "up a 15,16"}));
}

// While a holds the mouse, b is left but never entered.
TEST_F(MouseRoutingTest, WhileHeldNoOtherControlIsEntered) {
    send(WindowEventKind::MouseMove, 15, 15);
    send(WindowEventKind::ButtonDown, 15, 15);
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 25, 15), (Log{"drag a 25,15", "leave a 25,15"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 26, 15), (Log{"drag a 26,15"}));
}

TEST_F(MouseRoutingTest, DragOutsideTheWindowKeepsNegativeAndFarPositions) {
    send(WindowEventKind::ButtonDown, 15, 15);
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, -40, -7), (Log{"drag a -40,-7"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::MouseMove, 500, 300), (Log{"drag a 500,300"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::ButtonUp, -3, 900), (Log{"up a -3,900"}));
}

TEST_F(MouseRoutingTest, WheelGoesToTheControlUnderThePointerOnly) {
    EXPECT_EQ(sendAndLog(WindowEventKind::Wheel, 25, 15, 1), (Log{"wheel b 1"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::Wheel, 15, 15, -1), (Log{"wheel a -1"}));
    EXPECT_EQ(sendAndLog(WindowEventKind::Wheel, 50, 40, 1), Log{});
}

TEST_F(MouseRoutingTest, MouseActivationTakesTheFocus) {
    EXPECT_FALSE(native().hasFocus());
    send(WindowEventKind::MouseActivate, 0, 0);
    EXPECT_TRUE(native().hasFocus());
}

// Every mouse message ends with a redraw of what it marked dirty.
TEST_F(MouseRoutingTest, MouseMessagesDrawTheControlsTheyMarked) {
    window.getControls()[0]->dirty = false;
    window.getControls()[1]->dirty = true;
    window.handleEvent({WindowEventKind::MouseMove, 50, 40});
    EXPECT_EQ(window.takeLog(), (Log{"draw b"}));
    EXPECT_FALSE(window.getControls()[1]->dirty);
}

}  // namespace

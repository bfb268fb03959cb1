// The test host's own connection to the X server: top-level windows that
// stand for a host's editor windows, their pixels read back, and synthetic
// pointer input through the XTest extension, which the server treats like a
// real mouse (grabs, crossings and all).
#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/platform/platform.h"

namespace x11test {

class TestDisplay {
public:
    // Null, with `why` saying so, when there is no display to test with.
    static std::unique_ptr<TestDisplay> open(std::string& why);
    ~TestDisplay();

    Display* get() const { return display_; }

    // A mapped top-level window at (x, y) on the screen, left alone by any
    // window manager, filled with `background` until something draws on it.
    // Button presses that reach it are recorded.
    Window createHostWindow(int x, int y, int width, int height, unsigned long background = 0xFF00FF);
    void destroyWindow(Window window);
    // The window's pixels, row by row, including what its children show.
    std::vector<gui::Color> readPixels(Window window, int width, int height);
    int childCount(Window window);
    // Whether a button press reached `window` itself (and not a child).
    bool buttonPressReached(Window window);

    // The pointer, in screen coordinates, and its buttons.
    void movePointer(int x, int y);
    void pressButton(unsigned button);
    void releaseButton(unsigned button);

    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

private:
    explicit TestDisplay(Display* display) : display_(display) {}

    Display* display_;
};

// Tells where two pictures differ, or nothing when they are the same.
std::string pictureDifference(const std::vector<gui::Color>& shown, const std::vector<gui::Color>& expected,
                              int width);

}  // namespace x11test

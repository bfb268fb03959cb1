#include "tests/x11/TestDisplay.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstdlib>

namespace x11test {

std::unique_ptr<TestDisplay> TestDisplay::open(std::string& why) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        why = "no X display (DISPLAY is not set); scripts/x11-checks.sh runs these tests in Xvfb";
        return nullptr;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        why = std::string("cannot connect to the X display ") + name;
        return nullptr;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        why = "the X server has no XTest extension for synthetic input";
        return nullptr;
    }
    // The pixels are read back as 8-bit red, green and blue.
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (DefaultDepth(display, DefaultScreen(display)) != 24 || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0x00FF00 || visual->blue_mask != 0x0000FF) {
        XCloseDisplay(display);
        why = "the X screen is not 24-bit RGB; start the server with -screen 0 1280x1024x24";
        return nullptr;
    }
    return std::unique_ptr<TestDisplay>(new TestDisplay(display));
}

TestDisplay::~TestDisplay() { XCloseDisplay(display_); }

Window TestDisplay::createHostWindow(int x, int y, int width, int height, unsigned long background) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = background;
    attributes.event_mask = ButtonPressMask;
    const int screen = DefaultScreen(display_);
    const Window window = XCreateWindow(display_, RootWindow(display_, screen), x, y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
    XMapRaised(display_, window);
    XSync(display_, False);
    return window;
}

void TestDisplay::destroyWindow(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

std::vector<gui::Color> TestDisplay::readPixels(Window window, int width, int height) {
    XSync(display_, False);
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return {};
    std::vector<gui::Color> pixels;
    pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            pixels.push_back(gui::rgb(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                                      static_cast<std::uint8_t>(pixel)));
        }
    }
    XDestroyImage(image);
    return pixels;
}

int TestDisplay::childCount(Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &root, &parent, &children, &count)) return -1;
    if (children != nullptr) XFree(children);
    return static_cast<int>(count);
}

bool TestDisplay::buttonPressReached(Window window) {
    XSync(display_, False);
    XEvent event;
    return XCheckTypedWindowEvent(display_, window, ButtonPress, &event) == True;
}

void TestDisplay::movePointer(int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), x, y, CurrentTime);
    XSync(display_, False);
}

void TestDisplay::pressButton(unsigned button) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XSync(display_, False);
}

void TestDisplay::releaseButton(unsigned button) {
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
}

std::string pictureDifference(const std::vector<gui::Color>& shown, const std::vector<gui::Color>& expected,
                              int width) {
    if (shown.size() != expected.size()) {
        return "the pictures have " + std::to_string(shown.size()) + " and " + std::to_string(expected.size()) +
               " pixels";
    }
    std::size_t differing = 0;
    std::size_t first = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == expected[i]) continue;
        if (differing++ == 0) first = i;
    }
    if (differing == 0) return {};
    char text[160];
    std::snprintf(text, sizeof text, "%zu pixels differ, the first at (%d, %d): shown 0x%06X, expected 0x%06X",
                  differing, static_cast<int>(first % static_cast<std::size_t>(width)),
                  static_cast<int>(first / static_cast<std::size_t>(width)), shown[first], expected[first]);
    return text;
}

}  // namespace x11test

#include "tools/validate/EditorParent.h"

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace validate {

namespace {

// The few Xlib entry points used, declared here so that no X11 headers are
// needed to build the validator.
using XDisplay = void;
using XWindow = unsigned long;

struct XButtonEventRecord {
    int type;
    unsigned long serial;
    int sendEvent;
    XDisplay* display;
    XWindow window;
    XWindow root;
    XWindow subwindow;
    unsigned long time;
    int x, y;
    int xRoot, yRoot;
    unsigned int state;
    unsigned int button;
    int sameScreen;
};

union XEventRecord {
    int type;
    XButtonEventRecord button;
    long pad[24];
};

constexpr int kButtonPress = 4;
constexpr int kButtonRelease = 5;
constexpr int kMotionNotify = 6;
constexpr long kButtonPressMask = 1L << 2;
constexpr long kButtonReleaseMask = 1L << 3;
constexpr long kPointerMotionMask = 1L << 6;
constexpr unsigned int kButton1Mask = 1u << 8;

struct Xlib {
    void* library = nullptr;
    XDisplay* (*openDisplay)(const char*) = nullptr;
    int (*closeDisplay)(XDisplay*) = nullptr;
    int (*defaultScreen)(XDisplay*) = nullptr;
    XWindow (*rootWindow)(XDisplay*, int) = nullptr;
    XWindow (*createSimpleWindow)(XDisplay*, XWindow, int, int, unsigned, unsigned, unsigned, unsigned long,
                                  unsigned long) = nullptr;
    int (*mapWindow)(XDisplay*, XWindow) = nullptr;
    int (*destroyWindow)(XDisplay*, XWindow) = nullptr;
    int (*sync)(XDisplay*, int) = nullptr;
    int (*queryTree)(XDisplay*, XWindow, XWindow*, XWindow*, XWindow**, unsigned*) = nullptr;
    int (*sendEvent)(XDisplay*, XWindow, int, long, XEventRecord*) = nullptr;
    int (*freeMemory)(void*) = nullptr;

    bool load() {
        library = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (!library) return false;
        return find(openDisplay, "XOpenDisplay") && find(closeDisplay, "XCloseDisplay") &&
               find(defaultScreen, "XDefaultScreen") && find(rootWindow, "XRootWindow") &&
               find(createSimpleWindow, "XCreateSimpleWindow") && find(mapWindow, "XMapWindow") &&
               find(destroyWindow, "XDestroyWindow") && find(sync, "XSync") && find(queryTree, "XQueryTree") &&
               find(sendEvent, "XSendEvent") && find(freeMemory, "XFree");
    }

    template <typename Function>
    bool find(Function& function, const char* name) {
        function = reinterpret_cast<Function>(dlsym(library, name));
        return function != nullptr;
    }
};

class MemoryParent : public EditorParent {
public:
    void* handle() override { return memory_; }
    bool isWindow() const override { return false; }

private:
    alignas(16) unsigned char memory_[4096] = {};
};

class X11Parent : public EditorParent {
public:
    X11Parent(Xlib xlib, XDisplay* display, XWindow window) : xlib_(xlib), display_(display), window_(window) {}
    ~X11Parent() override {
        xlib_.destroyWindow(display_, window_);
        xlib_.sync(display_, 0);
        xlib_.closeDisplay(display_);
    }

    void* handle() override { return reinterpret_cast<void*>(static_cast<uintptr_t>(window_)); }
    bool isWindow() const override { return true; }
    void flush() override { xlib_.sync(display_, 0); }

    bool sendMouse(int x, int y) override {
        const XWindow child = firstChild();
        if (child == 0) return false;
        send(child, kMotionNotify, kPointerMotionMask, x, y, 0, 0);
        send(child, kButtonPress, kButtonPressMask, x, y, 0, 1);
        send(child, kMotionNotify, kPointerMotionMask, x + 7, y - 5, kButton1Mask, 0);
        send(child, kButtonRelease, kButtonReleaseMask, x + 7, y - 5, kButton1Mask, 1);
        flush();
        return true;
    }

private:
    XWindow firstChild() {
        XWindow root = 0;
        XWindow parent = 0;
        XWindow* children = nullptr;
        unsigned count = 0;
        if (!xlib_.queryTree(display_, window_, &root, &parent, &children, &count)) return 0;
        const XWindow child = count > 0 ? children[0] : 0;
        if (children) xlib_.freeMemory(children);
        return child;
    }

    void send(XWindow target, int type, long mask, int x, int y, unsigned state, unsigned button) {
        XEventRecord event;
        std::memset(&event, 0, sizeof event);
        event.button.type = type;
        event.button.display = display_;
        event.button.window = target;
        event.button.x = x;
        event.button.y = y;
        event.button.state = state;
        event.button.button = button;
        event.button.sameScreen = 1;
        xlib_.sendEvent(display_, target, 0, mask, &event);
    }

    Xlib xlib_;
    XDisplay* display_;
    XWindow window_;
};

}  // namespace

std::string EditorParent::whyNoWindow() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return "no X display (DISPLAY is not set)";
    Xlib xlib;
    if (!xlib.load()) return "libX11 could not be loaded";
    return "the X display " + std::string(display) + " could not be opened";
}

std::unique_ptr<EditorParent> EditorParent::create(int width, int height) {
    const char* name = std::getenv("DISPLAY");
    Xlib xlib;
    if (name && *name && xlib.load()) {
        if (XDisplay* display = xlib.openDisplay(nullptr)) {
            const XWindow window = xlib.createSimpleWindow(display, xlib.rootWindow(display, xlib.defaultScreen(display)),
                                                           0, 0, static_cast<unsigned>(width),
                                                           static_cast<unsigned>(height), 0, 0, 0);
            xlib.mapWindow(display, window);
            xlib.sync(display, 0);
            return std::make_unique<X11Parent>(xlib, display, window);
        }
    }
    return std::make_unique<MemoryParent>();
}

}  // namespace validate

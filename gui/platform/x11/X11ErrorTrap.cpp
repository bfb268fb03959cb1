#include "gui/platform/x11/X11ErrorTrap.h"

#include <X11/Xlib.h>

#include <atomic>

namespace gui {

// The traps set on this thread, innermost first, and where errors of every
// other connection are passed on to.
struct X11ErrorTrapAccess {
    static thread_local X11ErrorTrap* innermost;
    static std::atomic<XErrorHandler> passOn;

    static int catchError(Display* display, XErrorEvent* error) {
        for (X11ErrorTrap* trap = innermost; trap != nullptr; trap = trap->outer_) {
            if (trap->display_ == display) {
                trap->failed_ = true;
                return 0;
            }
        }
        const XErrorHandler handler = passOn.load();
        return handler != nullptr ? handler(display, error) : 0;
    }
};

thread_local X11ErrorTrap* X11ErrorTrapAccess::innermost = nullptr;
std::atomic<XErrorHandler> X11ErrorTrapAccess::passOn{nullptr};

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), outer_(X11ErrorTrapAccess::innermost) {
    X11ErrorTrapAccess::innermost = this;
    const XErrorHandler previous = XSetErrorHandler(&X11ErrorTrapAccess::catchError);
    if (previous != &X11ErrorTrapAccess::catchError) X11ErrorTrapAccess::passOn.store(previous);
    previousHandler_ = reinterpret_cast<void (*)()>(previous);
}

X11ErrorTrap::~X11ErrorTrap() {
    waitForAnswers();
    XSetErrorHandler(reinterpret_cast<XErrorHandler>(previousHandler_));
    X11ErrorTrapAccess::innermost = outer_;
}

bool X11ErrorTrap::failed() {
    waitForAnswers();
    return failed_;
}

void X11ErrorTrap::closeDisplay() {
    if (display_ == nullptr) return;
    waitForAnswers();
    XCloseDisplay(display_);
    display_ = nullptr;
}

// A round trip only when some request may still be unanswered.
void X11ErrorTrap::waitForAnswers() {
    if (display_ == nullptr) return;
    if (XNextRequest(display_) - 1 == XLastKnownRequestProcessed(display_)) return;
    XSync(display_, False);
}

}  // namespace gui

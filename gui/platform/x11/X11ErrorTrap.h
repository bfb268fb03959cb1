// Catches the errors the X server reports for the requests of one connection
// while the trap is set. Without it a failed request (a host window that is
// already gone, a window id that names nothing) reaches the process's error
// handler, which by default ends the host. Errors of other connections, the
// host's own among them, go on to the handler that was there before.
//
// A trap is set and released on one thread, the host's user-interface
// thread, around every stretch of requests the editor makes.
#pragma once

typedef struct _XDisplay Display;

namespace gui {

class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    // Waits for the answers to every request made so far, so that their
    // errors are caught here and not by whatever handler comes next.
    ~X11ErrorTrap();

    // Waits for the answers so far and tells whether any request failed since
    // the trap was set.
    bool failed();
    // Closes the connection with the trap still set, as closing sends requests
    // of its own.
    void closeDisplay();

    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

private:
    friend struct X11ErrorTrapAccess;

    void waitForAnswers();

    Display* display_;
    X11ErrorTrap* outer_;  // a trap of another connection set earlier on this thread
    bool failed_ = false;
    void (*previousHandler_)() = nullptr;  // restored when the trap is released
};

}  // namespace gui

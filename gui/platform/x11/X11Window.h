// The editor's child window in a Linux host's X11 window. Each open window
// has a connection of its own to the X server, made when it opens and closed
// when it closes. The X server does not call the window back: its events are
// read when the host makes its idle request, and everything is drawn then too,
// on the host's user-interface thread. Other threads only mark controls
// dirty; they never enter Xlib. The picture is drawn into an in-memory face by
// the raster backend, and the parts that changed are sent to the window.
// Only the backend's own sources include this header, since Xlib's names come
// with it.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "gui/platform/platform.h"
#include "gui/platform/raster/RasterImage.h"
#include "gui/platform/x11/X11FaceImage.h"

namespace gui {

class X11ErrorTrap;

class X11Window final : public NativeWindow {
public:
    // A child window at the top left of `parent`, an X window id on the display
    // the environment names; null when there is no display, when `parent` is
    // no window of it, or when its visual cannot show the panel's colours.
    static std::unique_ptr<NativeWindow> open(Window parent, int width, int height, WindowEventSink& sink);
    // Destroys the window (unless the host destroyed it first) and closes the connection.
    ~X11Window() override;

    // The server grabs the pointer for the window from a press until the
    // release, so a held control keeps hearing the pointer outside the window.
    void captureMouse() override {}
    void releaseMouse() override {}
    // X sends the wheel to the window under the pointer; taking the keyboard
    // focus would only take the host's shortcuts away.
    void takeFocus() override {}
    // Drawn at the next idle request, on the thread that owns the connection.
    void redrawChanges() override {}
    void idle() override;

    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

private:
    X11Window(Display* display, Window window, GC gc, std::unique_ptr<X11FaceImage> picture, int width, int height,
              WindowEventSink& sink);
    static std::unique_ptr<X11Window> create(Display* display, Window parent, int width, int height,
                                             WindowEventSink& sink, X11ErrorTrap& trap);

    void handleEvents();
    void handle(const XEvent& event);
    bool motionFollows();
    void draw();
    void send(const Rect& area);

    Display* display_;
    Window window_;
    GC gc_;
    std::unique_ptr<X11FaceImage> picture_;
    RasterImage face_;
    WindowEventSink& sink_;
    bool exposed_ = false;     // the server asked for (part of) the window
    bool painted_ = false;     // the whole face has been drawn once
    bool windowGone_ = false;  // the host's window took ours with it
};

}  // namespace gui

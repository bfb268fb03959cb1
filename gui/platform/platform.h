// The editor's only view of a windowing system: bitmaps loaded by resource
// number, a drawing surface with bitmap copies and fills, and a child window
// that reports mouse and paint messages as plain events. The editor logic
// never sees a native handle; each backend (win32/, raster/) supplies these.
#pragma once

#include <cstdint>
#include <memory>

namespace gui {

// A colour as the platform's colour references hold it: 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) | (static_cast<Color>(blue) << 16);
}

// How copied pixels combine with the pixels already on the surface.
enum class RasterOp {
    Copy,  // destination = source
    And,   // destination = destination AND source, bit for bit
    Or,    // destination = destination OR source, bit for bit
};

// Right and bottom are exclusive, as in the platform's rectangles.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};

// A loaded picture. Deleting it releases it.
class Bitmap {
public:
    virtual ~Bitmap() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

class Surface {
public:
    virtual ~Surface() = default;
    // Copies the width-by-height area of `bitmap` that starts at (sourceX,
    // sourceY) to (destX, destY), combining it with `op`.
    virtual void copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height, int destX, int destY,
                            RasterOp op) = 0;
    virtual void fillRect(const Rect& rect, Color color) = 0;
};

enum class WindowEventKind {
    MouseActivate,  // a click is about to activate the window
    MouseMove,
    ButtonDown,  // the left button
    ButtonUp,
    Wheel,
};

// A mouse message in window pixels. Positions may lie outside the window (or
// be negative) while the window holds the mouse capture.
struct WindowEvent {
    WindowEventKind kind;
    int x = 0;
    int y = 0;
    int wheelStep = 0;  // +1 turned forward, -1 backward; Wheel only
};

// What a child window reports to its owner.
class WindowEventSink {
public:
    virtual void handleEvent(const WindowEvent& event) = 0;
    // The whole window must be drawn (a paint request).
    virtual void paint(Surface& surface) = 0;
    // Whatever changed since the last drawing must be drawn.
    virtual void drawChanges(Surface& surface) = 0;

protected:
    ~WindowEventSink() = default;
};

// A child window inside the host's window. Deleting it destroys the window.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
    virtual void takeFocus() = 0;
    // Asks the window to have its sink draw the changes. A backend that draws
    // straight onto the screen does it at once on the calling thread; one that
    // must draw on its own thread may do it at its next chance.
    virtual void redrawChanges() = 0;
    // The host's idle request, on the window's thread. A system that does not
    // call the window back is read here: its messages are handled and what
    // changed since is drawn.
    virtual void idle() {}
};

// One windowing system. `instance` is the module whose resources and window
// class are meant (the library's `moduleInstance`).
class Platform {
public:
    virtual ~Platform() = default;
    // Registers the editor's window class unless it is registered already.
    virtual void registerWindowClass(void* instance) = 0;
    virtual void unregisterWindowClass(void* instance) = 0;
    // The bitmap with this resource number, or null when there is none.
    virtual std::unique_ptr<Bitmap> loadBitmap(void* instance, int resourceId) = 0;
    // A visible child window at the top left of `parent`, or null when it
    // cannot be created.
    virtual std::unique_ptr<NativeWindow> createChildWindow(void* instance, void* parent, int width, int height,
                                                            WindowEventSink& sink) = 0;
    // Whether changed controls are drawn at once on the thread that changed
    // them. A windowing system that may only be entered from the host's
    // user-interface thread answers false and draws them at the next idle.
    virtual bool drawsOnChangingThread() const { return true; }
};

// The windowing system this build draws with.
Platform& defaultPlatform();

// The editor's window class name.
inline constexpr const char* kWindowClassName = "QVGui";

}  // namespace gui

#include "gui/platform/x11/X11Window.h"

#include "gui/platform/x11/DamageTrackingSurface.h"
#include "gui/platform/x11/X11ErrorTrap.h"
#include "gui/platform/x11/X11PixelFormat.h"
#include "gui/platform/x11/X11PointerEvents.h"

namespace gui {
namespace {

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | StructureNotifyMask;
// An idle request returns even if events never stop coming.
constexpr int kMaxEventsPerIdle = 1000;
// X resource ids have 29 bits; a larger number (a pointer to memory, say)
// names no window of any display.
constexpr Window kLargestResourceId = 0x1FFFFFFF;

}  // namespace

std::unique_ptr<NativeWindow> X11Window::open(Window parent, int width, int height, WindowEventSink& sink) {
    if (parent == 0 || parent > kLargestResourceId || width <= 0 || height <= 0) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    X11ErrorTrap trap(display);
    std::unique_ptr<X11Window> window = create(display, parent, width, height, sink, trap);
    // Closing the connection also frees whatever the server made for it.
    if (!window) trap.closeDisplay();
    return window;
}

// The window takes the parent's visual, so its pixels are those of the
// parent; without a background the server never clears it before an expose,
// which repaints every pixel.
std::unique_ptr<X11Window> X11Window::create(Display* display, Window parent, int width, int height,
                                             WindowEventSink& sink, X11ErrorTrap& trap) {
    XWindowAttributes parentAttributes{};
    if (XGetWindowAttributes(display, parent, &parentAttributes) == 0 || trap.failed()) return nullptr;
    Visual* visual = parentAttributes.visual;
    if (visual == nullptr || visual->c_class != TrueColor) return nullptr;
    const X11PixelFormat format(visual->red_mask, visual->green_mask, visual->blue_mask, parentAttributes.depth);
    if (!format.usable()) return nullptr;
    auto picture = X11FaceImage::create(display, visual, parentAttributes.depth, format, width, height);
    if (!picture) return nullptr;

    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.event_mask = kEventMask;
    const Window window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                        CWBackPixmap | CWBorderPixel | CWEventMask, &attributes);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XMapWindow(display, window);
    if (trap.failed()) {
        if (gc != nullptr) XFreeGC(display, gc);
        return nullptr;
    }
    return std::unique_ptr<X11Window>(new X11Window(display, window, gc, std::move(picture), width, height, sink));
}

X11Window::X11Window(Display* display, Window window, GC gc, std::unique_ptr<X11FaceImage> picture, int width,
                     int height, WindowEventSink& sink)
    : display_(display), window_(window), gc_(gc), picture_(std::move(picture)), face_(width, height), sink_(sink) {}

// A host may destroy its window before it closes the editor; ours went with
// it then, and destroying it again would only earn an error.
X11Window::~X11Window() {
    X11ErrorTrap trap(display_);
    if (!windowGone_) XDestroyWindow(display_, window_);
    XFreeGC(display_, gc_);
    picture_.reset();
    trap.closeDisplay();
}

void X11Window::idle() {
    X11ErrorTrap trap(display_);
    handleEvents();
    draw();
}

void X11Window::handleEvents() {
    for (int handled = 0; handled < kMaxEventsPerIdle && XPending(display_) > 0; ++handled) {
        XEvent event;
        XNextEvent(display_, &event);
        // Like a system that reports where the pointer is now, only the last
        // of a run of moves counts.
        if (event.type == MotionNotify && motionFollows()) continue;
        handle(event);
    }
}

bool X11Window::motionFollows() {
    if (XEventsQueued(display_, QueuedAlready) == 0) return false;
    XEvent next;
    XPeekEvent(display_, &next);
    return next.type == MotionNotify;
}

void X11Window::handle(const XEvent& event) {
    switch (event.type) {
        case Expose:
            exposed_ = true;
            return;
        case DestroyNotify:
            if (event.xdestroywindow.window == window_) windowGone_ = true;
            return;
        default:
            break;
    }
    if (windowGone_) return;
    const PointerEvents pointer = translatePointerEvent(event);
    for (int i = 0; i < pointer.count; ++i) sink_.handleEvent(pointer.events[i]);
}

// An expose paints the whole face afresh; otherwise only the controls that
// changed are drawn, and only their area is sent. Nothing is on screen before
// the first expose, so nothing is drawn before it.
void X11Window::draw() {
    if (windowGone_) return;
    DamageTrackingSurface surface(face_);
    if (exposed_) {
        exposed_ = false;
        painted_ = true;
        sink_.paint(surface);
        send({0, 0, face_.width(), face_.height()});
        return;
    }
    if (!painted_) return;
    sink_.drawChanges(surface);
    if (surface.damaged()) send(surface.damage());
}

void X11Window::send(const Rect& area) { picture_->put(face_, area, display_, window_, gc_); }

}  // namespace gui

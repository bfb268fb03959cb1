// A small X11 host for the editor: loads a plug-in library, opens its editor
// in a top-level window of its own and idles it 60 times a second, as a Linux
// host does, until the window is closed. With --screenshot it writes what the
// screen shows of the window (with the window manager's frame, if one runs) to
// a PNG file once the panel is up, and exits.
//   orrelune-x11-show <library> [--program N] [--screenshot file.png]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tools/artwork/BmpWriter.h"
#include "tools/artwork/Canvas.h"
#include "tools/artwork/PngWriter.h"
#include "tools/host/Plugin.h"

namespace {

struct Options {
    std::string library;
    int program = 0;
    std::string screenshot;
};

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s <library> [--program N] [--screenshot file.png]\n", program);
    return 2;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--program" && i + 1 < argc) {
            options.program = std::atoi(argv[++i]);
        } else if (argument == "--screenshot" && i + 1 < argc) {
            options.screenshot = argv[++i];
        } else if (!argument.empty() && argument[0] != '-' && options.library.empty()) {
            options.library = argument;
        } else {
            return false;
        }
    }
    return !options.library.empty();
}

// The window manager's frame around `window`, or the window itself without one.
Window outermost(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    while (XQueryTree(display, window, &root, &parent, &children, &count)) {
        if (children != nullptr) XFree(children);
        if (parent == root || parent == 0) break;
        window = parent;
    }
    return window;
}

bool writeScreenshot(Display* display, Window window, const std::string& path) {
    const Window frame = outermost(display, window);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, frame, &attributes)) return false;
    const int width = attributes.width + 2 * attributes.border_width;
    const int height = attributes.height + 2 * attributes.border_width;
    XImage* image = XGetImage(display, DefaultRootWindow(display), attributes.x, attributes.y,
                              static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    artwork::Canvas canvas(width, height);
    const Visual* visual = attributes.visual;
    const auto channel = [](unsigned long pixel, unsigned long mask) {
        int shift = 0;
        while (mask != 0 && (mask & 1ul) == 0) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<std::uint8_t>(((pixel >> shift) & mask) * 255 / (mask == 0 ? 1 : mask));
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            canvas.set(x, y, {channel(pixel, visual->red_mask), channel(pixel, visual->green_mask),
                              channel(pixel, visual->blue_mask)});
        }
    }
    XDestroyImage(image);
    std::string error;
    if (!artwork::writeFile(path, artwork::encodePng(canvas), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

// A top-level window of the editor's size that the window manager may frame
// but not resize, titled with the plug-in's name.
Window createHostWindow(Display* display, int width, int height, const std::string& title, Atom closeRequest) {
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                              static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0,
                                              BlackPixel(display, DefaultScreen(display)));
    XStoreName(display, window, title.c_str());
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
    Atom protocols[] = {closeRequest};
    XSetWMProtocols(display, window, protocols, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return usage(argv[0]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot connect to an X display (is DISPLAY set?)\n");
        return 1;
    }
    std::string error;
    auto library = vsthost::PluginLibrary::open(options.library, error);
    vsthost::Host host;
    auto plugin = library ? vsthost::Plugin::create(*library, host, error) : nullptr;
    if (!plugin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    ERect* rect = nullptr;
    if (plugin->dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        std::fprintf(stderr, "%s: the plug-in has no editor\n", options.library.c_str());
        return 1;
    }
    plugin->dispatch(effSetProgram, 0, options.program);

    const Atom closeRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
    const Window window = createHostWindow(display, rect->right - rect->left, rect->bottom - rect->top,
                                           plugin->text(effGetEffectName), closeRequest);
    XSync(display, False);
    if (plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(window))) == 0) {
        std::fprintf(stderr, "the editor could not open its window\n");
        return 1;
    }

    int status = 0;
    bool running = true;
    for (int frame = 0; running; ++frame) {
        plugin->dispatch(effEditIdle);
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == closeRequest) {
                running = false;
            }
        }
        // Half a second is ample for the window manager and the first paint.
        if (!options.screenshot.empty() && frame == 30) {
            running = false;
            if (!writeScreenshot(display, window, options.screenshot)) {
                std::fprintf(stderr, "%s: the screenshot could not be written\n", options.screenshot.c_str());
                status = 1;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    plugin->dispatch(effEditClose);
    plugin.reset();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return status;
}

#include "gui/platform/x11/X11FaceImage.h"

#include <X11/Xutil.h>

#include <cstdlib>

namespace gui {

std::unique_ptr<X11FaceImage> X11FaceImage::create(Display* display, Visual* visual, int depth,
                                                   const X11PixelFormat& format, int width, int height) {
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (image == nullptr) return nullptr;
    // Xlib frees the pixels with the picture, so they come from the C heap.
    image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line),
                                                 static_cast<std::size_t>(height)));
    if (image->data == nullptr) {
        XDestroyImage(image);
        return nullptr;
    }
    return std::unique_ptr<X11FaceImage>(new X11FaceImage(image, format));
}

X11FaceImage::~X11FaceImage() { XDestroyImage(image_); }

void X11FaceImage::put(const RasterImage& face, const Rect& area, Display* display, Window window, GC gc) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) XPutPixel(image_, x, y, format_.pixelFor(face.pixel(x, y)));
    }
    XPutImage(display, window, gc, image_, area.left, area.top, area.left, area.top,
              static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top));
}

}  // namespace gui

// The client-side picture in the window's own pixel format that parts of the
// in-memory face are converted into before they are sent to the window.
// Made once per window, at the window's size. Only the backend's own sources
// include this header, since Xlib's names come with it.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "gui/platform/platform.h"
#include "gui/platform/raster/RasterImage.h"
#include "gui/platform/x11/X11PixelFormat.h"

namespace gui {

class X11FaceImage {
public:
    // Null when the picture cannot be made (no memory, a format Xlib refuses).
    static std::unique_ptr<X11FaceImage> create(Display* display, Visual* visual, int depth,
                                                const X11PixelFormat& format, int width, int height);
    ~X11FaceImage();

    // Sends `area` of `face` to the same place in `window`. The area must lie
    // within both the face and the picture.
    void put(const RasterImage& face, const Rect& area, Display* display, Window window, GC gc);

    X11FaceImage(const X11FaceImage&) = delete;
    X11FaceImage& operator=(const X11FaceImage&) = delete;

private:
    X11FaceImage(XImage* image, const X11PixelFormat& format) : image_(image), format_(format) {}

    XImage* image_;
    X11PixelFormat format_;
};

}  // namespace gui

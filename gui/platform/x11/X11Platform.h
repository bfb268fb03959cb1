// The windowing system of Linux hosts: a child window in the host's X11
// window, showing the picture the raster backend draws in memory from the
// pictures compiled into the library.
#pragma once

#include "gui/platform/platform.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "gui/platform/raster/ResourceSet.h"

namespace gui {

class X11Platform : public Platform {
public:
    explicit X11Platform(ResourceSet resources) : pictures_(std::move(resources)) {}

    // X has no window classes.
    void registerWindowClass(void* instance) override { (void)instance; }
    void unregisterWindowClass(void* instance) override { (void)instance; }
    // Decoded into memory, where the window's face is drawn.
    std::unique_ptr<Bitmap> loadBitmap(void* instance, int resourceId) override {
        return pictures_.loadBitmap(instance, resourceId);
    }
    // `parent` carries the host window's X id. Null without a display (the
    // connection is made only now, so the library runs headless until a host
    // opens the editor) or when the id names no usable window.
    std::unique_ptr<NativeWindow> createChildWindow(void* instance, void* parent, int width, int height,
                                                    WindowEventSink& sink) override;
    // Xlib belongs to the thread that opened the connection: changes from the
    // host's other threads only mark controls dirty, and idle draws them.
    bool drawsOnChangingThread() const override { return false; }

private:
    RasterPlatform pictures_;
};

}  // namespace gui

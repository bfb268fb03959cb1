// The windowing system in memory: bitmaps decoded from a resource set, and
// child windows whose face is a 24-bit image. Tests drive its windows as the
// system would (paint requests, mouse messages) and read their pixels; the
// panel tool writes a window's face to a file; a desktop backend can show
// the face on screen.
#pragma once

#include <vector>

#include "gui/platform/platform.h"
#include "gui/platform/raster/RasterImage.h"
#include "gui/platform/raster/ResourceSet.h"

namespace gui {

class RasterWindow : public NativeWindow {
public:
    RasterWindow(void* parent, int width, int height, WindowEventSink& sink);

    void captureMouse() override { hasCapture_ = true; }
    void releaseMouse() override { hasCapture_ = false; }
    void takeFocus() override { hasFocus_ = true; }
    // Draws at once, on the calling thread.
    void redrawChanges() override;

    // What the system sends: a paint request, a mouse message.
    void paint();
    void send(const WindowEvent& event) { sink_.handleEvent(event); }

    const RasterImage& image() const { return image_; }
    void* parent() const { return parent_; }
    bool hasCapture() const { return hasCapture_; }
    bool hasFocus() const { return hasFocus_; }

private:
    void* parent_;
    RasterImage image_;
    WindowEventSink& sink_;
    bool hasCapture_ = false;
    bool hasFocus_ = false;
};

class RasterPlatform : public Platform {
public:
    explicit RasterPlatform(ResourceSet resources) : resources_(std::move(resources)) {}

    void registerWindowClass(void* instance) override;
    void unregisterWindowClass(void* instance) override;
    std::unique_ptr<Bitmap> loadBitmap(void* instance, int resourceId) override;
    // No window without a parent to hold it.
    std::unique_ptr<NativeWindow> createChildWindow(void* instance, void* parent, int width, int height,
                                                    WindowEventSink& sink) override;

    bool isClassRegistered(void* instance) const;
    // How many registrations have been made so far, to tell one from several.
    int registrationCount() const { return registrationCount_; }
    // Lets a test see what the editor does when the system refuses a window.
    void setWindowCreationFails(bool fails) { windowCreationFails_ = fails; }

private:
    ResourceSet resources_;
    std::vector<void*> registeredInstances_;
    int registrationCount_ = 0;
    bool windowCreationFails_ = false;
};

}  // namespace gui

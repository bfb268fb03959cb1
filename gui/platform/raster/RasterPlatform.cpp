#include "gui/platform/raster/RasterPlatform.h"

#include <algorithm>

#include "gui/platform/raster/BmpDecoder.h"
#include "gui/platform/raster/RasterSurface.h"

namespace gui {

RasterWindow::RasterWindow(void* parent, int width, int height, WindowEventSink& sink)
    : parent_(parent), image_(width, height), sink_(sink) {}

void RasterWindow::redrawChanges() {
    RasterSurface surface(image_);
    sink_.drawChanges(surface);
}

void RasterWindow::paint() {
    RasterSurface surface(image_);
    sink_.paint(surface);
}

void RasterPlatform::registerWindowClass(void* instance) {
    if (isClassRegistered(instance)) return;
    registeredInstances_.push_back(instance);
    ++registrationCount_;
}

void RasterPlatform::unregisterWindowClass(void* instance) {
    registeredInstances_.erase(std::remove(registeredInstances_.begin(), registeredInstances_.end(), instance),
                               registeredInstances_.end());
}

bool RasterPlatform::isClassRegistered(void* instance) const {
    return std::find(registeredInstances_.begin(), registeredInstances_.end(), instance) != registeredInstances_.end();
}

// Every resource number names the same picture whichever module asks: the
// resource set is the module's own.
std::unique_ptr<Bitmap> RasterPlatform::loadBitmap(void* instance, int resourceId) {
    (void)instance;
    const ResourceData* resource = resources_.find(resourceId);
    if (resource == nullptr) return nullptr;
    return decodeBmp(resource->bytes, resource->size);
}

std::unique_ptr<NativeWindow> RasterPlatform::createChildWindow(void* instance, void* parent, int width, int height,
                                                                WindowEventSink& sink) {
    (void)instance;
    if (parent == nullptr || windowCreationFails_) return nullptr;
    return std::make_unique<RasterWindow>(parent, width, height, sink);
}

}  // namespace gui

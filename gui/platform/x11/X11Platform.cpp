#include "gui/platform/x11/X11Platform.h"

#include <cstdint>

#include "gui/platform/x11/X11Window.h"

namespace gui {

std::unique_ptr<NativeWindow> X11Platform::createChildWindow(void* instance, void* parent, int width, int height,
                                                             WindowEventSink& sink) {
    (void)instance;
    const auto parentWindow = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    return X11Window::open(parentWindow, width, height, sink);
}

}  // namespace gui

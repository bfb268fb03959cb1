// The windowing system of Windows: bitmap resources of the library, device
// contexts with bit-block transfers, and a child window of the class "QVGui"
// whose window procedure turns mouse and paint messages into window events.
#pragma once

#include "gui/platform/platform.h"

namespace gui {

class Win32Platform : public Platform {
public:
    void registerWindowClass(void* instance) override;
    void unregisterWindowClass(void* instance) override;
    std::unique_ptr<Bitmap> loadBitmap(void* instance, int resourceId) override;
    std::unique_ptr<NativeWindow> createChildWindow(void* instance, void* parent, int width, int height,
                                                    WindowEventSink& sink) override;
};

}  // namespace gui

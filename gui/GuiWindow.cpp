#include "gui/GuiWindow.h"

#include <cmath>

#include "host/AudioEffect.h"
#include "host/ModuleHandle.h"

std::atomic<int> GuiWindow::classUseCount{0};

GuiWindow::GuiWindow(AudioEffect* effect, int width, int height, gui::Platform& platform)
    : AEffEditor(effect),
      platform(platform),
      instance(moduleInstance),
      rect{0, 0, static_cast<VstInt16>(height), static_cast<VstInt16>(width)},
      clientRect{0, 0, width, height},
      width(width),
      height(height) {
    // Every editor of the library shares one window class; whether the
    // registration worked shows only when a window is created.
    platform.registerWindowClass(instance);
    classUseCount.fetch_add(1);
}

// The window goes first, so that no message can reach controls being deleted.
GuiWindow::~GuiWindow() {
    windowHandle.reset();
    systemWindow = nullptr;
    hoverControl = nullptr;
    capturedControl = nullptr;
    controls.clear();
    if (classUseCount.fetch_sub(1) - 1 < 1) platform.unregisterWindowClass(instance);
}

bool GuiWindow::getRect(ERect** out) {
    *out = &rect;
    return true;
}

bool GuiWindow::open(void* parent) {
    // Only one child window at a time: a host that opens twice gets the newest.
    windowHandle.reset();
    systemWindow = parent;  // already open while the window is being created
    windowHandle = platform.createChildWindow(instance, parent, width, height, *this);
    if (!windowHandle) {
        systemWindow = nullptr;
        return false;
    }
    return true;
}

void GuiWindow::close() {
    windowHandle.reset();
    systemWindow = nullptr;
}

void GuiWindow::idle() {
    if (windowHandle) windowHandle->idle();
}

GuiControl* GuiWindow::addControl(std::unique_ptr<GuiControl> control) {
    controls.push_back(std::move(control));
    return controls.back().get();
}

void GuiWindow::setBackground(const gui::Bitmap* bitmap) {
    backgroundBitmap = bitmap;
    hasBackground = bitmap != nullptr;
}

void GuiWindow::syncControl(VstInt32 index, float value) {
    for (const auto& control : controls) {
        if (control->paramIndex != index) continue;
        if (std::fabs(control->getValue() - value) > kSyncTolerance) control->setValue(value, false);
    }
}

void GuiWindow::syncAllControls() {
    if (effect == nullptr) return;
    for (const auto& control : controls) control->setValue(effect->getParameter(control->paramIndex), false);
}

// While closed the controls keep their dirty flags for the next paint.
void GuiWindow::redrawDirtyControls() {
    // Where drawing waits for idle, the window is not touched here at all: this
    // may run on the host's automation thread while its user-interface thread
    // closes the window.
    if (!platform.drawsOnChangingThread()) return;
    if (!isOpen() || !windowHandle) return;
    windowHandle->redrawChanges();
}

GuiControl* GuiWindow::controlAt(int x, int y) const {
    for (const auto& control : controls) {
        const GuiControl& c = *control;
        if (c.left < x && x < c.left + c.width && c.top < y && y < c.top + c.height) return control.get();
    }
    return nullptr;
}

void GuiWindow::handleEvent(const gui::WindowEvent& event) {
    switch (event.kind) {
        case gui::WindowEventKind::MouseActivate:
            // The wheel reaches only the window that has the keyboard focus.
            if (windowHandle) windowHandle->takeFocus();
            return;
        case gui::WindowEventKind::MouseMove:
            routeMouseMove(event.x, event.y);
            break;
        case gui::WindowEventKind::ButtonDown:
            pressButton(event.x, event.y);
            break;
        case gui::WindowEventKind::ButtonUp:
            releaseButton(event.x, event.y);
            break;
        case gui::WindowEventKind::Wheel:
            turnWheel(event.x, event.y, event.wheelStep);
            break;
    }
    redrawDirtyControls();
}

// Leaving and entering never happen in the same message, so moving straight
// onto a neighbour takes two moves. While a control holds the mouse no other
// control is entered, but leaving is still reported.
void GuiWindow::routeMouseMove(int x, int y) {
    GuiControl* hit = controlAt(x, y);
    if (capturedControl != nullptr) capturedControl->onMouseDrag(x, y);
    if (hoverControl != nullptr && hoverControl != hit) {
        hoverControl->onMouseLeave(x, y);
        hoverControl = nullptr;
        return;
    }
    if (hit != nullptr && hit != hoverControl && (capturedControl == nullptr || capturedControl == hit)) {
        hit->onMouseEnter(x, y);
        hoverControl = hit;
    }
}

void GuiWindow::pressButton(int x, int y) {
    GuiControl* hit = controlAt(x, y);
    if (hit == nullptr) return;
    hit->onMouseDown(x, y);
    capturedControl = hit;
    if (windowHandle) windowHandle->captureMouse();
}

// A release over a control is a click unless another control holds the mouse;
// the holder always hears of the release.
void GuiWindow::releaseButton(int x, int y) {
    GuiControl* hit = controlAt(x, y);
    if (hit != nullptr && (capturedControl == nullptr || capturedControl == hit)) hit->onClick(x, y);
    if (capturedControl != nullptr) {
        capturedControl->onMouseUp(x, y);
        capturedControl = nullptr;
        if (windowHandle) windowHandle->releaseMouse();
    }
}

// The wheel is consumed here whether or not it turns anything.
void GuiWindow::turnWheel(int x, int y, int step) {
    GuiControl* hit = controlAt(x, y);
    if (hit != nullptr) hit->onMouseWheel(step > 0 ? 1 : -1);
}

// A paint request covers the whole window: background first, then every control.
void GuiWindow::paint(gui::Surface& surface) {
    if (!isOpen()) return;
    if (hasBackground) {
        surface.copyBitmap(*backgroundBitmap, 0, 0, backgroundBitmap->width(), backgroundBitmap->height(), 0, 0,
                           gui::RasterOp::Copy);
    } else {
        surface.fillRect(clientRect, kBackgroundColor);
    }
    for (const auto& control : controls) {
        control->dirty = true;
        drawIfDirty(*control, surface);
    }
}

void GuiWindow::drawChanges(gui::Surface& surface) {
    if (!isOpen()) return;
    for (const auto& control : controls) drawIfDirty(*control, surface);
}

// The flag is cleared before drawing, so that a change marked meanwhile from
// another thread is drawn next time instead of being lost.
void GuiWindow::drawIfDirty(GuiControl& control, gui::Surface& surface) {
    if (!control.dirty.exchange(false)) return;
    control.draw(surface);
}

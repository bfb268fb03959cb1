// The generic half of an editor: a child window in the host's window that
// paints a background with controls on top, routes mouse input to the control
// under the pointer or to the one holding the mouse, redraws only controls
// that changed, and brings controls into line with parameter values set from
// elsewhere. A panel derives from it and supplies the size, the background
// and the controls.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "gui/GuiControl.h"
#include "gui/platform/platform.h"
#include "host/AEffEditor.h"

class GuiWindow : public AEffEditor, public gui::WindowEventSink {
public:
    GuiWindow(AudioEffect* effect, int width, int height, gui::Platform& platform = gui::defaultPlatform());
    ~GuiWindow() override;

    bool getRect(ERect** out) override;
    // Creates the child window in `parent`. Answers false (and stays closed)
    // when no window could be made. A second open replaces the first window.
    bool open(void* parent) override;
    void close() override;
    // Lets a window whose system does not call it back read its messages and
    // draw what changed.
    void idle() override;

    // Sets every control of parameter `index` that is more than a hair away
    // from `value`, without reporting back. Draws nothing.
    void syncControl(VstInt32 index, float value);
    // Sets every control from the effect's current parameter values. Draws nothing.
    void syncAllControls();
    // Draws the dirty controls into the open window at once.
    void redrawDirtyControls();
    // The first control whose inside (its first row and column excluded) holds the point.
    GuiControl* controlAt(int x, int y) const;

    // Window messages.
    void handleEvent(const gui::WindowEvent& event) override;
    void paint(gui::Surface& surface) override;
    void drawChanges(gui::Surface& surface) override;

    const std::vector<std::unique_ptr<GuiControl>>& getControls() const { return controls; }
    // The child window while open (and created), else null.
    gui::NativeWindow* getNativeWindow() const { return windowHandle.get(); }
    // Editors alive in the process; the window class lives while it is above 0.
    static int getClassUseCount() { return classUseCount.load(); }

protected:
    // Takes ownership; the control joins the end of the drawing, hit-test and sync order.
    GuiControl* addControl(std::unique_ptr<GuiControl> control);
    void setBackground(const gui::Bitmap* bitmap);

    gui::Platform& platform;
    void* instance;  // the module whose window class and pictures are used

private:
    void routeMouseMove(int x, int y);
    void pressButton(int x, int y);
    void releaseButton(int x, int y);
    void turnWheel(int x, int y, int step);
    void drawIfDirty(GuiControl& control, gui::Surface& surface);

    static constexpr float kSyncTolerance = 0.0001f;
    static constexpr gui::Color kBackgroundColor = gui::rgb(150, 150, 150);
    static std::atomic<int> classUseCount;

    ERect rect;
    gui::Rect clientRect;
    int width;
    int height;
    const gui::Bitmap* backgroundBitmap = nullptr;  // owned by the panel
    bool hasBackground = false;
    std::unique_ptr<gui::NativeWindow> windowHandle;
    std::vector<std::unique_ptr<GuiControl>> controls;
    GuiControl* hoverControl = nullptr;
    GuiControl* capturedControl = nullptr;
};

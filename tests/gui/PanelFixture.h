// A panel editor on the in-memory platform, attached to a test effect, with
// helpers to open it, send it mouse messages and read its window's pixels.
#pragma once

#include <gtest/gtest.h>

#include "gui/PanelLayout.h"
#include "gui/PianoEditor.h"
#include "gui/platform/raster/RasterPlatform.h"
#include "tests/gui/PanelTestEffect.h"

class PanelFixture : public ::testing::Test {
protected:
    explicit PanelFixture(gui::ResourceSet resources = gui::embeddedResources()) : platform(std::move(resources)) {
        callLog().clear();
        editor = new PianoEditor(&effect, platform);
        effect.attach(editor);
    }

    void open() { ASSERT_TRUE(editor->open(&hostWindow)); }
    gui::RasterWindow& window() {
        auto* raster = dynamic_cast<gui::RasterWindow*>(editor->getNativeWindow());
        if (raster == nullptr) throw std::logic_error("the editor has no window");
        return *raster;
    }
    void send(gui::WindowEventKind kind, int x, int y) { editor->handleEvent({kind, x, y}); }
    void press(int x, int y) { send(gui::WindowEventKind::ButtonDown, x, y); }
    void release(int x, int y) { send(gui::WindowEventKind::ButtonUp, x, y); }
    void move(int x, int y) { send(gui::WindowEventKind::MouseMove, x, y); }

    // The control that stands for a parameter.
    GuiControl& control(int paramIndex) {
        for (const auto& c : editor->getControls()) {
            if (c->paramIndex == paramIndex) return *c;
        }
        throw std::logic_error("no control for that parameter");
    }
    // A point well inside a control.
    static int centreX(const GuiControl& c) { return c.left + c.width / 2; }
    static int centreY(const GuiControl& c) { return c.top + c.height / 2; }

    // A picture as the platform loads it.
    std::unique_ptr<gui::RasterImage> picture(int resourceId) {
        auto bitmap = platform.loadBitmap(nullptr, resourceId);
        return std::unique_ptr<gui::RasterImage>(dynamic_cast<gui::RasterImage*>(bitmap.release()));
    }

    gui::RasterPlatform platform;
    PanelTestEffect effect;  // owns the editor; goes before the platform
    PianoEditor* editor = nullptr;
    int hostWindow = 0;  // stands for the host's window; only its address is used
};

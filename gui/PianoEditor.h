// The instrument's panel: a 785-by-82 window whose background is the panel
// picture, with a switch or a knob for each of the twelve parameters.
#pragma once

#include <memory>

#include "gui/GuiWindow.h"

class PianoEditor : public GuiWindow {
public:
    // A missing picture leaves its controls out (or, for the panel, a flat
    // grey background); the editor exists all the same.
    explicit PianoEditor(AudioEffect* effect, gui::Platform& platform = gui::defaultPlatform());
    ~PianoEditor() override;

private:
    void addControls(bool withSwitches, bool withKnobs);

    std::unique_ptr<gui::Bitmap> panelBitmap;
    std::unique_ptr<gui::Bitmap> switchBitmap;
    std::unique_ptr<gui::Bitmap> knobStrip;
    std::unique_ptr<gui::Bitmap> knobMask;
};

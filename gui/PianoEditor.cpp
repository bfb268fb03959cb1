#include "gui/PianoEditor.h"

#include "gui/GuiKnob.h"
#include "gui/GuiSwitch.h"
#include "gui/PanelLayout.h"

PianoEditor::PianoEditor(AudioEffect* effect, gui::Platform& platform)
    : GuiWindow(effect, panel::kWidth, panel::kHeight, platform) {
    panelBitmap = platform.loadBitmap(instance, panel::kPanelResource);
    switchBitmap = platform.loadBitmap(instance, panel::kSwitchResource);
    knobStrip = platform.loadBitmap(instance, panel::kKnobStripResource);
    knobMask = platform.loadBitmap(instance, panel::kKnobMaskResource);

    setBackground(panelBitmap.get());
    addControls(switchBitmap != nullptr, knobStrip != nullptr && knobMask != nullptr);
}

// The pictures go before the controls that point at them; the controls never
// touch them on the way out.
PianoEditor::~PianoEditor() {
    panelBitmap.reset();
    switchBitmap.reset();
    knobStrip.reset();
    knobMask.reset();
}

// The table is in list order; a kind whose pictures are missing is left out
// and the rest keep their order.
void PianoEditor::addControls(bool withSwitches, bool withKnobs) {
    for (const panel::ControlPlace& place : panel::kControls) {
        std::unique_ptr<GuiControl> control;
        if (place.kind == panel::ControlKind::Switch && withSwitches) {
            control = std::make_unique<GuiSwitch>(place.left, place.top, panel::kSwitchWidth, panel::kSwitchHeight,
                                                  switchBitmap.get(), panel::kSwitchFrameOffset);
        } else if (place.kind == panel::ControlKind::Knob && withKnobs) {
            control = std::make_unique<GuiKnob>(place.left, place.top, panel::kKnobSize, panel::kKnobSize,
                                                knobStrip.get(), knobMask.get(), panel::kKnobSize,
                                                panel::kKnobFrameCount);
        }
        if (!control) continue;
        control->paramIndex = place.paramIndex;
        control->owner = this;
        addControl(std::move(control));
    }
}

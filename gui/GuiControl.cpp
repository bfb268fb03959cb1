#include "gui/GuiControl.h"

#include "gui/GuiWindow.h"
#include "host/AudioEffect.h"

void GuiControl::report(float newValue) {
    if (owner == nullptr) return;
    AudioEffect* effect = owner->getEffect();
    if (effect != nullptr) effect->setParameterAutomated(paramIndex, newValue);
}

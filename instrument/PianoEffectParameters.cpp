// The twelve parameters: their texts, and what a write sets in motion.
#include <cmath>

#include "host/TextCopy.h"
#include "instrument/ParameterNames.h"
#include "instrument/PianoEffect.h"
#include "instrument/PlayableValue.h"

namespace {

bool isParameterIndex(VstInt32 index) { return index >= 0 && index < PianoEffect::kNumParams; }

}  // namespace

void PianoEffect::setParameter(VstInt32 index, float value) {
    if (!isParameterIndex(index) || std::isnan(value)) {
        // A NaN written by a host means nothing: the stored value stays.
        return;
    }
    value = playableValue(value);
    ParameterBlock& parameters = engine->parameters();
    if (parameters.get(index) == value) {
        // A host repeating the same automation value costs nothing.
        return;
    }
    parameters.set(index, value);
    for (int voice = 0; voice < SynthEngine::kVoiceCount; ++voice) {
        engine->voice(voice).applyParameter(index);
    }
    syncControl(index, value);
    redrawDirtyControls();
}

float PianoEffect::getParameter(VstInt32 index) {
    return isParameterIndex(index) ? engine->parameters().get(index) : 0.0f;
}

void PianoEffect::getParameterName(VstInt32 index, char* text) {
    if (isParameterIndex(index)) {
        copyText(text, kParameterNames[index], kVstMaxParamStrLen);
    }
}

void PianoEffect::getParameterLabel(VstInt32 index, char* label) {
    (void)index;
    copyText(label, kParameterLabel, kVstMaxParamStrLen);
}

void PianoEffect::getParameterDisplay(VstInt32 index, char* text) {
    (void)index;
    copyText(text, kParameterDisplay, kVstMaxParamStrLen);
}

bool PianoEffect::canParameterBeAutomated(VstInt32 index) {
    (void)index;
    return true;
}

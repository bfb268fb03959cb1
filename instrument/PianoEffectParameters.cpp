// The twelve parameters: their texts, and what a write sets in motion.
#include <algorithm>
#include <cmath>

#include "host/TextCopy.h"
#include "instrument/ParameterNames.h"
#include "instrument/PianoEffect.h"

namespace {

bool isParameterIndex(VstInt32 index) { return index >= 0 && index < PianoEffect::kNumParams; }

}  // namespace

void PianoEffect::setParameter(VstInt32 index, float value) {
    if (!isParameterIndex(index) || std::isnan(value)) {
        // Nothing sensible can be stored: a NaN would reach the audio output.
        return;
    }
    // Parameters live in 0..1. Values beyond it make rates negative or levels
    // overflow to infinity, so they are held at the nearest end.
    value = std::clamp(value, 0.0f, 1.0f);
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

#include "instrument/PianoEffect.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "gui/PianoEditor.h"
#include "host/TextCopy.h"
#include "instrument/FlushDenormals.h"
#include "instrument/NoteFrequencyTable.h"

namespace {

// The instrument plays without its panel, so an editor that cannot be made
// leaves the instance without one rather than failing it.
PianoEditor* createEditor(AudioEffect* effect) {
    try {
        return new PianoEditor(effect);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The only editor this instrument ever attaches is its panel.
PianoEditor* panelOf(AEffEditor* editor) { return static_cast<PianoEditor*>(editor); }

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    // Without any of its parts the instrument cannot work, so a failed
    // allocation anywhere in construction means no instance at all.
    try {
        return new PianoEffect(audioMaster);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

PianoEffect::PianoEffect(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kNumPrograms, kNumParams) {
    setNumInputs(0);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    isSynth(true);
    programsAreChunks(true);

    bank = std::make_unique<ProgramBank>();
    engine = std::make_unique<SynthEngine>();
    chorus = std::make_unique<StereoChorus>();
    scratchA.reset();
    scratchB.reset();

    // The record announces the editor exactly when it exists.
    setEditor(createEditor(this));

    curProgram = 0;
    loadLiveValues();
    refreshVoices();
    syncAllControls();
    fillNoteFrequencyTable();
}

PianoEffect::~PianoEffect() {
    scratchA.reset();
    scratchB.reset();
    engine.reset();
    bank.reset();
    chorus.reset();
    // The base destructor destroys the editor last.
}

bool PianoEffect::getEffectName(char* name) {
    copyText(name, "Orrelune", kVstMaxEffectNameLen);
    return true;
}

bool PianoEffect::getProductString(char* text) {
    copyText(text, "QV's Orrelune", kVstMaxProductStrLen);
    return true;
}

bool PianoEffect::getVendorString(char* text) {
    copyText(text, "Quorvel", kVstMaxVendorStrLen);
    return true;
}

VstInt32 PianoEffect::canDo(char* text) {
    static const char* const kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstTimeInfo"};
    for (const char* capability : kCapabilities) {
        if (std::strcmp(text, capability) == 0) {
            return 1;
        }
    }
    return -1;
}

void PianoEffect::suspend() {
    // Only the buffers go: voices, queued events and the chorus keep their state.
    scratchA.reset();
    scratchB.reset();
    scratchCapacity = 0;
}

void PianoEffect::resume() {
    // A second resume without a suspend replaces the buffers, so they always
    // follow the block size announced last.
    suspend();
    const VstInt32 frames = std::max<VstInt32>(blockSize, 1);
    const std::size_t floats = 2 * static_cast<std::size_t>(frames);
    scratchA.reset(new (std::nothrow) float[floats]());
    scratchB.reset(new (std::nothrow) float[floats]());
    if (scratchA && scratchB) {
        scratchCapacity = frames;
    } else {
        // A block size too large to allocate leaves the instance silent rather
        // than failing the host's call.
        scratchA.reset();
        scratchB.reset();
    }
    wantEvents(1);
}

void PianoEffect::setSampleRate(float rate) {
    // A rate of zero, below zero or not a number would turn note steps and
    // envelope rates into infinities; such a request keeps the current rate.
    if (!(rate > 0.0f) || !std::isfinite(rate)) {
        return;
    }
    AudioEffectX::setSampleRate(rate);
    for (int voice = 0; voice < SynthEngine::kVoiceCount; ++voice) {
        engine->voice(voice).setSampleRate(rate);
    }
    chorus->setSampleRate(rate);
}

void PianoEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    (void)inputs;
    if (!outputs || !outputs[0] || !outputs[1] || sampleFrames <= 0) {
        return;
    }
    float* left = outputs[0];
    float* right = outputs[1];
    if (scratchCapacity == 0) {
        // Suspended: there is nothing to render with, so the host hears silence.
        std::fill_n(left, sampleFrames, 0.0f);
        std::fill_n(right, sampleFrames, 0.0f);
        return;
    }
    renderBlock(left, right, sampleFrames);
}

void PianoEffect::renderBlock(float* left, float* right, VstInt32 frames) {
    const FlushDenormals noDenormals;
    std::fill_n(left, frames, 0.0f);
    engine->render(scratchA.get(), scratchB.get(), scratchCapacity, left, frames);
    std::copy_n(left, frames, right);
    // "Chorus" is read once per block: a change during the block is heard from the next.
    chorus->process(left, right, frames, engine->parameters().get(kChorus));
}

// Without an editor every editor step is skipped.
void PianoEffect::syncControl(VstInt32 index, float value) {
    if (PianoEditor* panel = panelOf(getEditor())) panel->syncControl(index, value);
}

void PianoEffect::syncAllControls() {
    if (PianoEditor* panel = panelOf(getEditor())) panel->syncAllControls();
}

void PianoEffect::redrawDirtyControls() {
    if (PianoEditor* panel = panelOf(getEditor())) panel->redrawDirtyControls();
}

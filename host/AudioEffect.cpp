#include "host/AudioEffect.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/TextCopy.h"

namespace {

AudioEffect* instanceOf(AEffect* effect) { return static_cast<AudioEffect*>(effect->object); }

// The six entries of the effect record. Each finds the instance through the
// record's object field and calls the operation of the same role.

VstIntPtr VSTCALLBACK dispatchEffectClass(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt) {
    AudioEffect* instance = instanceOf(effect);
    if (opcode != effClose) {
        return instance->dispatcher(opcode, index, value, ptr, opt);
    }
    // The record dies with the instance: the host must not use it after this.
    instance->dispatcher(opcode, index, value, ptr, opt);
    delete instance;
    return 1;
}

void VSTCALLBACK processClass(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    instanceOf(effect)->process(inputs, outputs, sampleFrames);
}

void VSTCALLBACK setParameterClass(AEffect* effect, VstInt32 index, float value) {
    instanceOf(effect)->setParameter(index, value);
}

float VSTCALLBACK getParameterClass(AEffect* effect, VstInt32 index) {
    return instanceOf(effect)->getParameter(index);
}

void VSTCALLBACK processReplacingClass(AEffect* effect, float** inputs, float** outputs, VstInt32 sampleFrames) {
    instanceOf(effect)->processReplacing(inputs, outputs, sampleFrames);
}

void VSTCALLBACK processDoubleReplacingClass(AEffect* effect, double** inputs, double** outputs,
                                             VstInt32 sampleFrames) {
    instanceOf(effect)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

// Formats into a local buffer, then hands the host at most maxLen characters.
void writeFormatted(char* text, VstInt32 maxLen, const char* format, double value) {
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, format, value);
    copyText(text, formatted, maxLen);
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster),
      editor(nullptr),
      sampleRate(44100.0f),
      blockSize(1024),
      numPrograms(numPrograms),
      numParams(numParams),
      curProgram(0) {
    std::memset(&cEffect, 0, sizeof cEffect);
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = fourCharCode('N', 'o', 'E', 'f');
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingClass;
    cEffect.processDoubleReplacing = processDoubleReplacingClass;
}

AudioEffect::~AudioEffect() { delete editor; }

void AudioEffect::setEditor(AEffEditor* newEditor) {
    delete editor;
    editor = newEditor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state) {
        cEffect.flags |= flag;
    } else {
        cEffect.flags &= ~flag;
    }
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen:
            open();
            return 0;
        case effClose:
            close();
            return 0;
        case effSetProgram:
            if (value >= 0 && value < numPrograms) {
                setProgram(static_cast<VstInt32>(value));
            }
            return 0;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (text) setProgramName(text);
            return 0;
        case effGetProgramName:
            if (text) getProgramName(text);
            return 0;
        case effGetParamLabel:
            if (text) getParameterLabel(index, text);
            return 0;
        case effGetParamDisplay:
            if (text) getParameterDisplay(index, text);
            return 0;
        case effGetParamName:
            if (text) getParameterName(index, text);
            return 0;
        case effSetSampleRate:
            setSampleRate(opt);
            return 0;
        case effSetBlockSize:
            setBlockSize(static_cast<VstInt32>(value));
            return 0;
        case effMainsChanged:
            if (value == 0) {
                suspend();
            } else {
                resume();
            }
            return 0;
        case effEditGetRect:
            return (editor && ptr) ? (editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0) : 0;
        case effEditOpen:
            return editor ? (editor->open(ptr) ? 1 : 0) : 0;
        case effEditClose:
            if (editor) editor->close();
            return 0;
        case effEditIdle:
            if (editor) editor->idle();
            return 0;
        case effIdentify:
            return fourCharCode('N', 'v', 'E', 'f');
        case effGetChunk:
            return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
        case effSetChunk:
            return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default:
            return 0;
    }
}

void AudioEffect::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    (void)inputs;
    (void)outputs;
    (void)sampleFrames;
}

void AudioEffect::process(float** inputs, float** outputs, VstInt32 sampleFrames) {
    (void)inputs;
    (void)outputs;
    (void)sampleFrames;
}

void AudioEffect::setParameter(VstInt32 index, float value) {
    (void)index;
    (void)value;
}

float AudioEffect::getParameter(VstInt32 index) {
    (void)index;
    return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    // The value takes effect before the host hears of it.
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(char* name) { (void)name; }
void AudioEffect::getProgramName(char* name) { *name = 0; }

void AudioEffect::getParameterLabel(VstInt32 index, char* label) {
    (void)index;
    *label = 0;
}

void AudioEffect::getParameterDisplay(VstInt32 index, char* text) {
    (void)index;
    *text = 0;
}

void AudioEffect::getParameterName(VstInt32 index, char* text) {
    (void)index;
    *text = 0;
}

VstInt32 AudioEffect::getChunk(void** data, bool isPreset) {
    (void)data;
    (void)isPreset;
    return 0;
}

VstInt32 AudioEffect::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    (void)data;
    (void)byteSize;
    (void)isPreset;
    return 0;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!audioMaster) {
        return 0;
    }
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

VstInt32 AudioEffect::getMasterVersion() {
    VstIntPtr version = callHost(audioMasterVersion);
    // A host that cannot say is taken to be the oldest one.
    return version == 0 ? 1 : static_cast<VstInt32>(version);
}

VstInt32 AudioEffect::getCurrentUniqueId() { return static_cast<VstInt32>(callHost(audioMasterCurrentId)); }

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

bool AudioEffect::isInputConnected(VstInt32 input) {
    // The host answers 0 for a connected pin.
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) { return callHost(audioMasterPinConnected, output, 1) == 0; }

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        copyText(text, "-oo", maxLen);
        return;
    }
    writeFormatted(text, maxLen, "%.2f", 20.0 * std::log10(static_cast<double>(value)));
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    if (samples == 0.0f) {
        copyText(text, "0", maxLen);
        return;
    }
    writeFormatted(text, maxLen, "%.2f", static_cast<double>(sampleRate) / static_cast<double>(samples));
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    writeFormatted(text, maxLen, "%.2f", static_cast<double>(samples) * 1000.0 / static_cast<double>(sampleRate));
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    writeFormatted(text, maxLen, "%.2f", static_cast<double>(value));
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%d", static_cast<int>(value));
    copyText(text, formatted, maxLen);
}

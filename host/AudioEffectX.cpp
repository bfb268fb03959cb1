#include "host/AudioEffectX.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {
VstIntPtr truth(bool value) { return value ? 1 : 0; }
}  // namespace

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effProcessEvents:
            return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
        case effCanBeAutomated:
            return truth(canParameterBeAutomated(index));
        case effString2Parameter:
            return truth(string2parameter(index, text));
        case effGetProgramNameIndexed:
            return text ? truth(getProgramNameIndexed(static_cast<VstInt32>(value), index, text)) : 0;
        case effGetInputProperties:
            return truth(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetOutputProperties:
            return truth(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
        case effGetPlugCategory:
            return getPlugCategory();
        case effOfflineNotify:
            return truth(offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value), index != 0));
        case effOfflinePrepare:
            return truth(offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
        case effOfflineRun:
            return truth(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value)));
        case effProcessVarIo:
            return truth(processVariableIo(static_cast<VstVariableIo*>(ptr)));
        case effSetSpeakerArrangement:
            return truth(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                               static_cast<VstSpeakerArrangement*>(ptr)));
        case effSetBypass:
            return truth(setBypass(value != 0));
        case effGetEffectName:
            return text ? truth(getEffectName(text)) : 0;
        case effGetVendorString:
            return text ? truth(getVendorString(text)) : 0;
        case effGetProductString:
            return text ? truth(getProductString(text)) : 0;
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return text ? canDo(text) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effGetParameterProperties:
            return truth(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp:
            return dispatchEditorKey(opcode, index, value, opt);
        case effSetEditKnobMode:
            return editor ? truth(editor->setKnobMode(static_cast<VstInt32>(value))) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged:
            return truth(hasMidiProgramsChanged(index));
        case effGetMidiKeyName:
            return truth(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
        case effBeginSetProgram:
            return truth(beginSetProgram());
        case effEndSetProgram:
            return truth(endSetProgram());
        case effGetSpeakerArrangement:
            return truth(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                               static_cast<VstSpeakerArrangement**>(ptr)));
        case effShellGetNextPlugin:
            return getNextShellPlugin(text);
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(static_cast<VstInt32>(value));
        case effSetPanLaw:
            return truth(setPanLaw(static_cast<VstInt32>(value), opt));
        case effBeginLoadBank:
            return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram:
            return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        case effSetProcessPrecision:
            return truth(setProcessPrecision(static_cast<VstInt32>(value)));
        case effGetNumMidiInputChannels:
            return getNumMidiInputChannels();
        case effGetNumMidiOutputChannels:
            return getNumMidiOutputChannels();
        default:
            // Opcodes below 25, unhandled numbers, negative and future opcodes.
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstIntPtr AudioEffectX::dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    if (!editor) {
        return 0;
    }
    VstKeyCode keyCode{};
    keyCode.character = index;
    keyCode.virt = static_cast<unsigned char>(value & 0xFF);
    // The modifier travels in the float argument; a value outside the int range
    // would make the conversion undefined, and only its low byte is kept anyway.
    const float truncated = std::trunc(opt);
    const long long modifier = (std::isfinite(truncated) && std::fabs(truncated) < 2147483648.0f)
                                   ? static_cast<long long>(truncated)
                                   : 0;
    keyCode.modifier = static_cast<unsigned char>(modifier & 0xFF);
    const bool handled = opcode == effEditKeyDown ? editor->onKeyDown(keyCode) : editor->onKeyUp(keyCode);
    return truth(handled);
}

// --- Neutral answers -------------------------------------------------------

bool AudioEffectX::string2parameter(VstInt32, char*) { return false; }
bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties*) { return false; }
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char*) { return false; }
VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo*) { return 0; }
VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) { return 0; }
bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties*) { return false; }
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties*) { return false; }
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) { return false; }

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (input) *input = nullptr;
    if (output) *output = nullptr;
    return false;
}

bool AudioEffectX::setBypass(bool) { return false; }
bool AudioEffectX::setPanLaw(VstInt32, float) { return false; }
bool AudioEffectX::setProcessPrecision(VstInt32) { return false; }
VstInt32 AudioEffectX::processEvents(VstEvents*) { return 0; }
bool AudioEffectX::processVariableIo(VstVariableIo*) { return false; }
bool AudioEffectX::getEffectName(char*) { return false; }
bool AudioEffectX::getVendorString(char*) { return false; }
bool AudioEffectX::getProductString(char*) { return false; }
VstIntPtr AudioEffectX::vendorSpecific(VstInt32, VstIntPtr, void*, float) { return 0; }
VstInt32 AudioEffectX::canDo(char*) { return 0; }

VstPlugCategory AudioEffectX::getPlugCategory() {
    return (cEffect.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

VstInt32 AudioEffectX::getMidiProgramName(VstInt32, MidiProgramName*) { return 0; }
VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32, MidiProgramName*) { return -1; }
VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32, MidiProgramCategory*) { return 0; }
bool AudioEffectX::hasMidiProgramsChanged(VstInt32) { return false; }
bool AudioEffectX::getMidiKeyName(VstInt32, MidiKeyName*) { return false; }
VstInt32 AudioEffectX::getNextShellPlugin(char*) { return 0; }
bool AudioEffectX::offlineNotify(VstAudioFile*, VstInt32, bool) { return false; }
bool AudioEffectX::offlinePrepare(VstOfflineTask*, VstInt32) { return false; }
bool AudioEffectX::offlineRun(VstOfflineTask*, VstInt32) { return false; }
bool AudioEffectX::copyProgram(VstInt32) { return false; }
void AudioEffectX::inputConnected(VstInt32, bool) {}
void AudioEffectX::outputConnected(VstInt32, bool) {}
bool AudioEffectX::getErrorText(char*) { return false; }
bool AudioEffectX::setViewPosition(VstInt32, VstInt32) { return false; }

// --- Host requests ---------------------------------------------------------

bool AudioEffectX::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffectX::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }
bool AudioEffectX::ioChanged() { return callHost(audioMasterIOChanged) != 0; }

float AudioEffectX::updateSampleRate() {
    const VstIntPtr rate = callHost(audioMasterGetSampleRate);
    if (rate > 0) {
        sampleRate = static_cast<float>(rate);
    }
    return sampleRate;
}

VstInt32 AudioEffectX::updateBlockSize() {
    const VstIntPtr frames = callHost(audioMasterGetBlockSize);
    if (frames > 0) {
        blockSize = static_cast<VstInt32>(frames);
    }
    return blockSize;
}

VstInt32 AudioEffectX::getInputLatency() { return static_cast<VstInt32>(callHost(audioMasterGetInputLatency)); }
VstInt32 AudioEffectX::getOutputLatency() { return static_cast<VstInt32>(callHost(audioMasterGetOutputLatency)); }

VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstInt32 AudioEffectX::getCurrentProcessLevel() {
    return static_cast<VstInt32>(callHost(audioMasterGetCurrentProcessLevel));
}

VstInt32 AudioEffectX::getAutomationState() { return static_cast<VstInt32>(callHost(audioMasterGetAutomationState)); }

bool AudioEffectX::getHostVendorString(char* text) { return callHost(audioMasterGetVendorString, 0, 0, text) != 0; }
bool AudioEffectX::getHostProductString(char* text) {
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}
VstInt32 AudioEffectX::getHostVendorVersion() { return static_cast<VstInt32>(callHost(audioMasterGetVendorVersion)); }

VstIntPtr AudioEffectX::hostVendorSpecific(VstInt32 lArg1, VstIntPtr lArg2, void* ptrArg, float floatArg) {
    return callHost(audioMasterVendorSpecific, lArg1, lArg2, ptrArg, floatArg);
}

VstInt32 AudioEffectX::canHostDo(char* text) { return callHost(audioMasterCanDo, 0, 0, text) != 0 ? 1 : 0; }
VstInt32 AudioEffectX::getHostLanguage() { return static_cast<VstInt32>(callHost(audioMasterGetLanguage)); }
void* AudioEffectX::getDirectory() { return reinterpret_cast<void*>(callHost(audioMasterGetDirectory)); }

bool AudioEffectX::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

bool AudioEffectX::openFileSelector(VstFileSelect* fileSelect) {
    return fileSelect && callHost(audioMasterOpenFileSelector, 0, 0, fileSelect) != 0;
}

bool AudioEffectX::closeFileSelector(VstFileSelect* fileSelect) {
    return fileSelect && callHost(audioMasterCloseFileSelector, 0, 0, fileSelect) != 0;
}

bool AudioEffectX::getChunkFile(void* nativePath) {
    return nativePath && callHost(audioMasterGetChunkFile, 0, 0, nativePath) != 0;
}

bool AudioEffectX::offlineRead(VstOfflineTask* offline, VstInt32 option, bool readSource) {
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline) != 0;
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, VstInt32 option) {
    return callHost(audioMasterOfflineWrite, 0, option, offline) != 0;
}

bool AudioEffectX::offlineStart(VstAudioFile* files, VstInt32 numAudioFiles, VstInt32 numNewAudioFiles) {
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, files) != 0;
}

VstInt32 AudioEffectX::offlineGetCurrentPass() {
    return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentPass));
}

VstInt32 AudioEffectX::offlineGetCurrentMetaPass() {
    return static_cast<VstInt32>(callHost(audioMasterOfflineGetCurrentMetaPass));
}

void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }
VstInt32 AudioEffectX::tempoAt(VstInt32 pos) { return static_cast<VstInt32>(callHost(audioMasterTempoAt, 0, pos)); }

VstInt32 AudioEffectX::getNumAutomatableParameters() {
    return static_cast<VstInt32>(callHost(audioMasterGetNumAutomatableParameters));
}

VstInt32 AudioEffectX::getParameterQuantization() {
    return static_cast<VstInt32>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::needIdle() { return callHost(audioMasterNeedIdle) != 0; }

AEffect* AudioEffectX::getPreviousPlug(VstInt32) {
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(VstInt32) { return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug)); }

VstInt32 AudioEffectX::willProcessReplacing() {
    return static_cast<VstInt32>(callHost(audioMasterWillReplaceOrAccumulate));
}

void AudioEffectX::setOutputSamplerate(float samplerate) {
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement() {
    return reinterpret_cast<VstSpeakerArrangement*>(callHost(audioMasterGetOutputSpeakerArrangement));
}

void* AudioEffectX::openWindow(void* window) {
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(void* window) { return callHost(audioMasterCloseWindow, 0, 0, window) != 0; }

// --- Speaker tools ---------------------------------------------------------

namespace {
// An arrangement record holds eight speakers in place; larger ones extend it.
std::size_t arrangementBytes(VstInt32 channels) {
    const std::size_t extra = channels > 8 ? static_cast<std::size_t>(channels - 8) : 0;
    return sizeof(VstSpeakerArrangement) + extra * sizeof(VstSpeakerProperties);
}
}  // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, VstInt32 nbChannels) {
    if (!arrangement || nbChannels < 0) {
        return false;
    }
    std::free(*arrangement);
    auto* created = static_cast<VstSpeakerArrangement*>(std::calloc(1, arrangementBytes(nbChannels)));
    *arrangement = created;
    if (!created) {
        return false;
    }
    created->numChannels = nbChannels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement) {
    if (!arrangement) {
        return false;
    }
    std::free(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) {
    if (!to || !from) {
        return false;
    }
    std::memcpy(to, from, sizeof(VstSpeakerProperties));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from) {
    if (!to || !from || !allocateArrangement(to, from->numChannels)) {
        return false;
    }
    (*to)->type = from->type;
    // Speakers beyond the eighth live past the declared array, so walk pointers.
    VstSpeakerProperties* target = (*to)->speakers;
    VstSpeakerProperties* source = from->speakers;
    for (VstInt32 i = 0; i < from->numChannels; ++i) {
        copySpeaker(target + i, source + i);
    }
    return true;
}

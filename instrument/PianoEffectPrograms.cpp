// Program switching and the two state chunks. The live values sit in the
// engine's parameter block; the current program's record catches up only when
// the program is left or a chunk is asked for.
#include <cstring>

#include "host/TextCopy.h"
#include "instrument/PianoEffect.h"
#include "instrument/PlayableValue.h"

namespace {

constexpr VstInt32 kProgramChunkSize = PianoEffect::kNumParams * 4;  // 48 bytes: the live values

}  // namespace

void PianoEffect::saveLiveValues() {
    ProgramRecord& record = bank->record(curProgram);
    for (int32_t i = 0; i < bank->parameterCount(); ++i) {
        record.values[i] = engine->parameters().get(i);
    }
}

void PianoEffect::loadLiveValues() {
    const ProgramRecord& record = bank->record(curProgram);
    for (int32_t i = 0; i < bank->parameterCount(); ++i) {
        engine->parameters().set(i, playableValue(record.values[i]));
    }
}

void PianoEffect::refreshVoices() { engine->updateVoices(kUpdateAll); }

void PianoEffect::setProgram(VstInt32 program) {
    if (!bank->hasProgram(program)) {
        return;
    }
    saveLiveValues();
    curProgram = program;
    loadLiveValues();
    refreshVoices();
    syncAllControls();
    redrawDirtyControls();
}

void PianoEffect::setProgramName(char* name) {
    // The whole field is cleared first; a 24-character name then fills it
    // without a terminating zero.
    char* field = bank->record(curProgram).name;
    std::memset(field, 0, kProgramNameSize);
    std::memcpy(field, name, strnlen(name, kProgramNameSize));
}

void PianoEffect::getProgramName(char* name) {
    // The field need not end in a zero, so copy at most its 24 bytes.
    char field[kProgramNameSize + 1] = {};
    std::memcpy(field, bank->record(curProgram).name, kProgramNameSize);
    copyText(name, field, kVstMaxProgNameLen);
}

bool PianoEffect::getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) {
    (void)category;
    if (!bank->hasProgram(index)) {
        return false;
    }
    char field[kProgramNameSize + 1] = {};
    std::memcpy(field, bank->record(index).name, kProgramNameSize);
    copyText(text, field, kVstMaxProgNameLen);
    return true;
}

VstInt32 PianoEffect::getChunk(void** data, bool isPreset) {
    saveLiveValues();
    if (isPreset) {
        *data = engine->parameters().data();
        return kProgramChunkSize;
    }
    *data = bank->data();
    return bank->byteSize();
}

VstInt32 PianoEffect::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    if (data && isPreset && byteSize == kProgramChunkSize) {
        std::memcpy(bank->record(curProgram).values, data, kProgramChunkSize);
    } else if (data && byteSize == bank->byteSize()) {
        std::memcpy(bank->data(), data, static_cast<std::size_t>(bank->byteSize()));
    } else {
        updateDisplay();
        return 0;
    }
    loadLiveValues();
    refreshVoices();
    syncAllControls();
    return byteSize;
}

// A small instrument whose output tells a test exactly what reached it:
// the right channel carries a one-frame marker of note / 128 at the frame of
// every note-on, the left channel a steady level for every held note that
// falls away linearly after its note-off. Keys 0 and 1 make a NaN on the left
// and an infinity on the right, as a broken plug-in would. Built in three variants: programs as
// chunks (the default), programs as parameter lists, and as an effect.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "host/AudioEffectX.h"
#include "tests/render/ProbeLog.h"

namespace {

ProbeLog probeLog{};

constexpr VstInt32 kPrograms = 3;
constexpr VstInt32 kParams = 4;
constexpr VstInt32 kGain = 0;     // level of a held note, times 0.25
constexpr VstInt32 kRelease = 1;  // seconds a released note takes to fall silent
constexpr VstInt32 kShape = 2;    // only stored
constexpr VstInt32 kDrone = 3;    // above 0.5: a level that never stops
constexpr const char* kParamNames[kParams] = {"Gain", "Release", "Shape", "Drone"};
constexpr VstInt32 kProgramChunkSize = kParams * 4;
constexpr int kNameSize = 24;

struct Program {
    char name[kNameSize];
    float values[kParams];
};
constexpr VstInt32 kBankChunkSize = kPrograms * static_cast<VstInt32>(sizeof(Program));

struct Note {
    float level = 0.0f;
    float fall = 0.0f;  // level lost per frame once released
    bool held = false;
};

void record(VstInt32 opcode, VstIntPtr value) {
    if (probeLog.callCount < ProbeLog::kMaxCalls) probeLog.calls[probeLog.callCount] = {opcode, value};
    ++probeLog.callCount;
}

class ProbeSynth : public AudioEffectX {
public:
    explicit ProbeSynth(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, kPrograms, kParams) {
        std::memset(&probeLog, 0, sizeof probeLog);
        setNumInputs(0);
        setNumOutputs(2);
        setUniqueID(fourCharCode('P', 'r', 'b', 'e'));
#ifndef PROBE_AS_EFFECT
        isSynth(true);
#endif
#ifndef PROBE_WITHOUT_CHUNKS
        programsAreChunks(true);
#endif
        const Program factory[kPrograms] = {{"Init", {1.0f, 0.1f, 0.5f, 0.0f}},
                                            {"Soft", {0.5f, 0.2f, 0.25f, 0.0f}},
                                            {"Bright", {0.8f, 0.05f, 1.0f, 0.0f}}};
        std::memcpy(programs_, factory, sizeof programs_);
    }

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override {
        record(opcode, value);
        return AudioEffectX::dispatcher(opcode, index, value, ptr, opt);
    }

    void setSampleRate(float rate) override {
        AudioEffectX::setSampleRate(rate);
        probeLog.sampleRate = rate;
    }
    void setBlockSize(VstInt32 frames) override {
        AudioEffectX::setBlockSize(frames);
        probeLog.blockSize = frames;
    }

    void setParameter(VstInt32 index, float value) override {
        if (index >= 0 && index < kParams) current().values[index] = value;
    }
    float getParameter(VstInt32 index) override {
        return index >= 0 && index < kParams ? current().values[index] : 0.0f;
    }
    void getParameterName(VstInt32 index, char* text) override {
        std::strcpy(text, index >= 0 && index < kParams ? kParamNames[index] : "");
    }
    void setProgram(VstInt32 program) override {
        if (program >= 0 && program < kPrograms) curProgram = program;
    }
    void setProgramName(char* name) override { std::strncpy(current().name, name, kNameSize - 1); }
    void getProgramName(char* name) override { std::strcpy(name, current().name); }
    bool getProgramNameIndexed(VstInt32, VstInt32 index, char* text) override {
        if (index < 0 || index >= kPrograms) return false;
        std::strcpy(text, programs_[index].name);
        return true;
    }

    VstInt32 getChunk(void** data, bool isPreset) override {
        *data = isPreset ? static_cast<void*>(current().values) : static_cast<void*>(programs_);
        return isPreset ? kProgramChunkSize : kBankChunkSize;
    }
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override {
        if (isPreset && byteSize == kProgramChunkSize) {
            std::memcpy(current().values, data, kProgramChunkSize);
        } else if (!isPreset && byteSize == kBankChunkSize) {
            std::memcpy(programs_, data, kBankChunkSize);
        } else {
            return 0;
        }
        return byteSize;
    }

    VstInt32 processEvents(VstEvents* events) override {
        for (VstInt32 i = 0; i < events->numEvents; ++i) take(*events->events[i]);
        return 1;
    }

    void processReplacing(float**, float** outputs, VstInt32 frames) override {
        record(kProbeProcessCall, frames);
        askHost();
        ++probeLog.processCalls;
        probeLog.framesProcessed += frames;
        for (VstInt32 frame = 0; frame < frames; ++frame) {
            outputs[0][frame] = nextLevel();
            outputs[1][frame] = 0.0f;
        }
        for (int i = 0; i < pendingCount_; ++i) placeMarker(pending_[i], outputs);
        pendingCount_ = 0;
    }

private:
    struct Pending {
        VstInt32 frame;
        uint8_t note;
    };

    Program& current() { return programs_[curProgram]; }

    void askHost() {
        if (probeLog.processCalls >= ProbeLog::kMaxReports) return;
        const VstTimeInfo* time = getTimeInfo(0);
        probeLog.reportedPositions[probeLog.processCalls] = time ? time->samplePos : -1.0;
        probeLog.reportedTimeRate = time ? time->sampleRate : -1.0;
        probeLog.reportedRate = callHost(audioMasterGetSampleRate);
        probeLog.reportedBlockSize = callHost(audioMasterGetBlockSize);
    }

    void take(const VstEvent& event) {
        if (probeLog.eventCount < ProbeLog::kMaxEvents) {
            ProbeEvent& logged = probeLog.events[probeLog.eventCount];
            logged = {probeLog.processCalls, event.type, event.deltaFrames, {0, 0, 0}, 0};
            if (event.type == kVstMidiType) {
                std::memcpy(logged.bytes, reinterpret_cast<const VstMidiEvent&>(event).midiData, 3);
            } else if (event.type == kVstSysExType) {
                logged.sysexSize = reinterpret_cast<const VstMidiSysexEvent&>(event).dumpBytes;
            }
        }
        ++probeLog.eventCount;
        if (event.type == kVstMidiType) takeMidi(reinterpret_cast<const VstMidiEvent&>(event));
    }

    // Notes change at the start of the block; only the markers sit at their frames.
    void takeMidi(const VstMidiEvent& event) {
        const auto status = static_cast<uint8_t>(event.midiData[0] & 0xF0);
        const auto key = static_cast<uint8_t>(event.midiData[1] & 0x7F);
        const auto velocity = static_cast<uint8_t>(event.midiData[2] & 0x7F);
        if (status == 0x90 && velocity > 0) {
            notes_[key] = {current().values[kGain] * 0.25f * static_cast<float>(velocity) / 127.0f, 0.0f, true};
            if (pendingCount_ < kMaxPending) pending_[pendingCount_++] = {event.deltaFrames, key};
        } else if (status == 0x80 || status == 0x90) {
            const float frames = std::max(current().values[kRelease] * sampleRate, 1.0f);
            notes_[key].held = false;
            notes_[key].fall = notes_[key].level / frames;
        } else if (status == 0xB0 && event.midiData[1] == 123) {
            for (Note& note : notes_) note = Note{};
        }
    }

    float nextLevel() {
        float sum = current().values[kDrone] > 0.5f ? 0.1f : 0.0f;
        for (Note& note : notes_) {
            if (!note.held) note.level = std::max(note.level - note.fall, 0.0f);
            sum += note.level;
        }
        return sum;
    }

    void placeMarker(const Pending& pending, float** outputs) {
        outputs[1][pending.frame] += static_cast<float>(pending.note) / 128.0f;
        if (pending.note == 0) outputs[0][pending.frame] = std::numeric_limits<float>::quiet_NaN();
        if (pending.note == 1) outputs[1][pending.frame] = std::numeric_limits<float>::infinity();
    }

    static constexpr int kMaxPending = 256;
    Program programs_[kPrograms];
    Note notes_[128];
    Pending pending_[kMaxPending];
    int pendingCount_ = 0;
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new ProbeSynth(audioMaster); }

VST_EXPORT ProbeLog* probeLogOf() { return &probeLog; }

// An instrument with the faults a validator exists to catch, each one safe
// for the validator's own process (no write outside its guard zones, no
// crash), so that the validator's verdicts can be checked one by one:
//   - processReplacing allocates and takes a lock on every call;
//   - a block of more than 4096 frames leaves its second half unwritten;
//   - a call of zero or fewer frames still writes the first frame, and a
//     block of exactly 100 frames writes one frame past its end;
//   - parameter 0 set above 0.9 makes the output NaN;
//   - getParameter gives back whatever was written, NaN included;
//   - its parameter names are longer than the interface allows;
//   - a program name longer than 50 characters crashes it;
//   - asked whether it can "bypass", it never answers.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "host/AudioEffectX.h"

namespace {

constexpr VstInt32 kParams = 2;
constexpr VstInt32 kLongestGoodBlock = 4096;
constexpr VstInt32 kOverrunBlock = 100;

class FaultyInstrument : public AudioEffectX {
public:
    explicit FaultyInstrument(audioMasterCallback audioMaster) : AudioEffectX(audioMaster, 1, kParams) {
        setNumInputs(0);
        setNumOutputs(2);
        isSynth(true);
    }

    void setParameter(VstInt32 index, float value) override {
        if (index >= 0 && index < kParams) parameters_[index] = value;
    }
    float getParameter(VstInt32 index) override { return index >= 0 && index < kParams ? parameters_[index] : 0.0f; }
    void getParameterName(VstInt32 index, char* text) override {
        (void)index;
        std::strcpy(text, "A name far too long");
    }

    void setProgramName(char* name) override {
        if (std::strlen(name) > 50) std::abort();
    }

    VstInt32 canDo(char* text) override {
        while (std::strcmp(text, "bypass") == 0) std::this_thread::sleep_for(std::chrono::seconds(1));
        return -1;
    }

    // It sounds a constant while a note is held, so that it plays like an
    // instrument everywhere its faults do not show.
    VstInt32 processEvents(VstEvents* events) override {
        for (VstInt32 i = 0; i < events->numEvents; ++i) {
            const VstEvent* event = events->events[i];
            if (event->type != kVstMidiType) continue;
            const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
            const int kind = midi->midiData[0] & 0xF0;
            const bool noteOn = kind == 0x90 && midi->midiData[2] != 0;
            const bool noteOff = kind == 0x80 || (kind == 0x90 && midi->midiData[2] == 0);
            const bool allNotesOff = kind == 0xB0 && midi->midiData[1] == 123;
            if (noteOn) held_ = true;
            if (noteOff || allNotesOff) held_ = false;
        }
        return 1;
    }

    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override {
        (void)inputs;
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<float> scratch(16, 0.0f);
        if (sampleFrames <= 0) {
            outputs[0][0] = 0.0f;
            return;
        }
        const VstInt32 written = sampleFrames > kLongestGoodBlock ? sampleFrames / 2 : sampleFrames;
        const float value = parameters_[0] > 0.9f ? std::nanf("") : (held_ ? kLevel : scratch[0]);
        for (VstInt32 i = 0; i < written; ++i) {
            outputs[0][i] = value;
            outputs[1][i] = value;
        }
        if (sampleFrames == kOverrunBlock) outputs[1][sampleFrames] = 0.0f;
    }

private:
    static constexpr float kLevel = 0.25f;
    float parameters_[kParams] = {};
    bool held_ = false;
    std::mutex mutex_;
};

}  // namespace

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) { return new FaultyInstrument(audioMaster); }

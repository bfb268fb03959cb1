#include "tools/validate/ValidatorHost.h"

#include "tools/validate/RealtimeWatch.h"

namespace validate {

namespace {

constexpr const char* kHostName = "vst-validate";
constexpr VstIntPtr kEnglish = 1;
constexpr VstIntPtr kAutomationOff = 1;

VstIntPtr VSTCALLBACK watchedCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) {
    HostCallScope outsideAudioCall;
    return vsthost::Host::callback(effect, opcode, index, value, ptr, opt);
}

}  // namespace

ValidatorHost::ValidatorHost() : answers_(kHostName, kHostName, 1) {
    setAudioSettings(44100.0f, 512);
    host_.setHandler([this](const vsthost::HostRequest& request) -> std::optional<VstIntPtr> {
        switch (request.opcode) {
            case audioMasterGetLanguage:
                return kEnglish;
            case audioMasterGetAutomationState:
                return kAutomationOff;
            default:
                return answers_.answer(request);
        }
    });
}

audioMasterCallback ValidatorHost::callback() { return &watchedCallback; }

void ValidatorHost::setAudioSettings(float sampleRate, VstInt32 blockSize) {
    answers_.setAudioSettings(sampleRate, blockSize);
    // A playing transport at 120 beats per minute in 4/4.
    VstTimeInfo& time = answers_.timeInfo();
    time.tempo = 120.0;
    time.timeSigNumerator = 4;
    time.timeSigDenominator = 4;
    time.flags = kVstTransportPlaying | kVstTempoValid | kVstTimeSigValid;
}

}  // namespace validate

#include "tools/validate/ValidatorHost.h"

#include <cstring>

#include "tools/validate/RealtimeWatch.h"

namespace validate {

namespace {

constexpr const char* kHostName = "vst-validate";
constexpr VstInt32 kTransportPlaying = 1 << 1;
constexpr VstInt32 kTempoValid = 1 << 10;
constexpr VstInt32 kTimeSignatureValid = 1 << 13;
constexpr VstIntPtr kEnglish = 1;
constexpr VstIntPtr kAutomationOff = 1;

VstIntPtr VSTCALLBACK watchedCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) {
    HostCallScope outsideAudioCall;
    return vsthost::Host::callback(effect, opcode, index, value, ptr, opt);
}

}  // namespace

ValidatorHost::ValidatorHost() {
    setAudioSettings(44100.0f, 512);
    host_.setHandler([this](const vsthost::HostRequest& request) -> std::optional<VstIntPtr> {
        switch (request.opcode) {
            case audioMasterGetTime:
                return reinterpret_cast<VstIntPtr>(&timeInfo_);
            case audioMasterGetSampleRate:
                return static_cast<VstIntPtr>(timeInfo_.sampleRate);
            case audioMasterGetBlockSize:
                return blockSize_;
            case audioMasterGetVendorString:
            case audioMasterGetProductString:
                if (request.ptr) std::strcpy(static_cast<char*>(request.ptr), kHostName);
                return 1;
            case audioMasterGetVendorVersion:
                return 1;
            case audioMasterGetLanguage:
                return kEnglish;
            case audioMasterGetAutomationState:
                return kAutomationOff;
            default:
                return std::nullopt;
        }
    });
}

audioMasterCallback ValidatorHost::callback() { return &watchedCallback; }

void ValidatorHost::setAudioSettings(float sampleRate, VstInt32 blockSize) {
    timeInfo_ = VstTimeInfo{};
    timeInfo_.sampleRate = sampleRate;
    timeInfo_.tempo = 120.0;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    timeInfo_.flags = kTransportPlaying | kTempoValid | kTimeSignatureValid;
    blockSize_ = blockSize;
}

}  // namespace validate

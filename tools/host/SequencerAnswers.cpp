#include "tools/host/SequencerAnswers.h"

#include "host/TextCopy.h"

namespace vsthost {

namespace {

VstIntPtr copyHostText(void* destination, const std::string& text) {
    if (!destination) return 0;
    copyText(static_cast<char*>(destination), text.c_str(), kVstMaxVendorStrLen);
    return 1;
}

}  // namespace

SequencerAnswers::SequencerAnswers(std::string vendor, std::string product, VstIntPtr vendorVersion)
    : vendor_(std::move(vendor)), product_(std::move(product)), vendorVersion_(vendorVersion) {}

void SequencerAnswers::setAudioSettings(double sampleRate, VstInt32 blockSize) {
    timeInfo_ = VstTimeInfo{};
    timeInfo_.sampleRate = sampleRate;
    blockSize_ = blockSize;
}

std::optional<VstIntPtr> SequencerAnswers::answer(const HostRequest& request) {
    switch (request.opcode) {
        case audioMasterGetTime:
            return reinterpret_cast<VstIntPtr>(&timeInfo_);
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(timeInfo_.sampleRate);
        case audioMasterGetBlockSize:
            return blockSize_;
        case audioMasterGetVendorString:
            return copyHostText(request.ptr, vendor_);
        case audioMasterGetProductString:
            return copyHostText(request.ptr, product_);
        case audioMasterGetVendorVersion:
            return vendorVersion_;
        default:
            return std::nullopt;
    }
}

}  // namespace vsthost

#include "tools/render/RenderHost.h"

#include <cstring>
#include <string>

namespace render {

namespace {

constexpr const char* kHostVendor = "Orrelune";
constexpr const char* kHostProduct = "orrelune-render";
constexpr VstIntPtr kHostVersion = 1000;

VstIntPtr copyHostText(void* destination, const char* text) {
    if (!destination) return 0;
    std::strncpy(static_cast<char*>(destination), text, kVstMaxVendorStrLen);
    static_cast<char*>(destination)[kVstMaxVendorStrLen] = 0;
    return 1;
}

// What this host can do for a plug-in: deliver MIDI events and say where the
// transport is.
VstIntPtr hostCanDo(const void* text) {
    if (!text) return 0;
    const std::string capability(static_cast<const char*>(text));
    return (capability == "sendVstEvents" || capability == "sendVstMidiEvent" || capability == "sendVstTimeInfo")
               ? 1
               : 0;
}

}  // namespace

RenderHost::RenderHost(vsthost::Host& host) : host_(host) {
    host_.setRecording(false);
    host_.setHandler([this](const vsthost::HostRequest& request) { return answer(request); });
}

RenderHost::~RenderHost() { host_.setHandler(nullptr); }

void RenderHost::configure(uint32_t sampleRate, int32_t blockSize) {
    timeInfo_.sampleRate = sampleRate;
    blockSize_ = blockSize;
}

std::optional<VstIntPtr> RenderHost::answer(const vsthost::HostRequest& request) {
    switch (request.opcode) {
        case audioMasterGetTime:
            // The position and rate only: no flag claims a tempo or a bar position.
            return reinterpret_cast<VstIntPtr>(&timeInfo_);
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(timeInfo_.sampleRate);
        case audioMasterGetBlockSize:
            return blockSize_;
        case audioMasterGetVendorString:
            return copyHostText(request.ptr, kHostVendor);
        case audioMasterGetProductString:
            return copyHostText(request.ptr, kHostProduct);
        case audioMasterGetVendorVersion:
            return kHostVersion;
        case audioMasterCanDo:
            return hostCanDo(request.ptr);
        default:
            return std::nullopt;
    }
}

}  // namespace render

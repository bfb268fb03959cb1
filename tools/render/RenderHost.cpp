#include "tools/render/RenderHost.h"

#include <string>

namespace render {

namespace {

constexpr const char* kHostVendor = "Orrelune";
constexpr const char* kHostProduct = "orrelune-render";
constexpr VstIntPtr kHostVersion = 1000;

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

RenderHost::RenderHost(vsthost::Host& host) : host_(host), answers_(kHostVendor, kHostProduct, kHostVersion) {
    host_.setRecording(false);
    host_.setHandler([this](const vsthost::HostRequest& request) { return answer(request); });
}

RenderHost::~RenderHost() { host_.setHandler(nullptr); }

void RenderHost::configure(uint32_t sampleRate, int32_t blockSize) {
    // The position and rate only: no flag claims a tempo or a bar position.
    answers_.setAudioSettings(sampleRate, blockSize);
}

std::optional<VstIntPtr> RenderHost::answer(const vsthost::HostRequest& request) {
    if (request.opcode == audioMasterCanDo) {
        return hostCanDo(request.ptr);
    }
    return answers_.answer(request);
}

}  // namespace render

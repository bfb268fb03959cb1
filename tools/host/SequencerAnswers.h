// The answers a sequencer gives when a plug-in asks about the host and the
// transport: who the host is, the sample rate, the block size and the time
// info. Hosts built on this library route their requests through it first.
#pragma once

#include <optional>
#include <string>

#include "host/VstAbi.h"
#include "tools/host/Host.h"

namespace vsthost {

class SequencerAnswers {
public:
    SequencerAnswers(std::string vendor, std::string product, VstIntPtr vendorVersion);

    // The rate and block size reported from now on; the time info starts over
    // with the rate alone (no tempo, no position flags).
    void setAudioSettings(double sampleRate, VstInt32 blockSize);
    VstTimeInfo& timeInfo() { return timeInfo_; }

    // The answer to one of the requests above, or nothing for any other request.
    std::optional<VstIntPtr> answer(const HostRequest& request);

private:
    std::string vendor_;
    std::string product_;
    VstIntPtr vendorVersion_;
    VstTimeInfo timeInfo_{};
    VstInt32 blockSize_ = 0;
};

}  // namespace vsthost

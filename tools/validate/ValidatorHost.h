// The host the validator plays: it answers the requests a plug-in may make
// with sensible values (a transport position, a sample rate, texts), records
// them, and keeps what it does in its callback out of the real-time watch.
#pragma once

#include "host/VstAbi.h"
#include "tools/host/Host.h"
#include "tools/host/SequencerAnswers.h"

namespace validate {

class ValidatorHost {
public:
    ValidatorHost();

    vsthost::Host& host() { return host_; }
    // The callback to hand to an entry point: the host's, outside the watch.
    static audioMasterCallback callback();

    // What the host answers to the version probe from now on.
    void setVersionAnswer(VstIntPtr version) { host_.setAnswer(audioMasterVersion, version); }
    // What the host reports as its rate and block size when asked.
    void setAudioSettings(float sampleRate, VstInt32 blockSize);

private:
    vsthost::Host host_;
    vsthost::SequencerAnswers answers_;
};

}  // namespace validate

// The host side of the plug-in's requests during a render: who we are, the
// sample rate, the block size and the transport position, as a sequencer
// would answer them. Requests are not recorded, since a long render would
// pile them up for nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "tools/host/Host.h"
#include "tools/host/SequencerAnswers.h"

namespace render {

class RenderHost {
public:
    // Takes over `host`'s answers; `host` must outlive this object's use by a plug-in.
    explicit RenderHost(vsthost::Host& host);
    ~RenderHost();

    void configure(uint32_t sampleRate, int32_t blockSize);
    // The frame at which the next block starts.
    void setPosition(int64_t frame) { answers_.timeInfo().samplePos = static_cast<double>(frame); }

    RenderHost(const RenderHost&) = delete;
    RenderHost& operator=(const RenderHost&) = delete;

private:
    std::optional<VstIntPtr> answer(const vsthost::HostRequest& request);

    vsthost::Host& host_;
    vsthost::SequencerAnswers answers_;
};

}  // namespace render

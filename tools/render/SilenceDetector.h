// Tells when a sound has died away: every sample of every channel has stayed
// below -100 dBFS for a given number of frames in a row.
#pragma once

#include <cmath>
#include <cstdint>

namespace render {

class SilenceDetector {
public:
    // -100 dBFS: 10^(-100/20) of full scale.
    static constexpr float kThreshold = 1.0e-5f;

    explicit SilenceDetector(int64_t framesNeeded) : framesNeeded_(framesNeeded) {}

    // Feeds one frame's loudest absolute sample.
    void feed(float frameLevel) {
        quietFrames_ = (frameLevel < kThreshold) ? quietFrames_ + 1 : 0;
    }
    bool silent() const { return quietFrames_ >= framesNeeded_; }

private:
    int64_t framesNeeded_;
    int64_t quietFrames_ = 0;
};

}  // namespace render

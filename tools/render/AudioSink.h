// Where rendered audio goes, block by block: a file, or memory in the tests.
#pragma once

#include <cstdint>
#include <string>

namespace render {

class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Frames of interleaved samples, `channels` floats per frame. Returns
    // false with `error` set when the audio cannot be kept.
    virtual bool write(const float* interleaved, int64_t frames, std::string& error) = 0;
};

}  // namespace render

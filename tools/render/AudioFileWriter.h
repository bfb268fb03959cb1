// Writes audio through libsndfile into a temporary file beside the target,
// and renames it over the target only when everything has been written, so a
// failed or interrupted render never leaves a half-written file behind.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/render/AudioSink.h"
#include "tools/render/BufferedFile.h"
#include "tools/render/OutputFormat.h"

struct sf_private_tag;

namespace render {

class AudioFileWriter : public AudioSink {
public:
    // Opens the temporary file for at most `mostFrames` frames. Returns null
    // with `error` naming the target when it cannot be created there.
    static std::unique_ptr<AudioFileWriter> create(const std::string& path, OutputFormat format, int channels,
                                                   int sampleRate, int64_t mostFrames, std::string& error);
    // Removes the temporary file unless it was committed.
    ~AudioFileWriter() override;

    bool write(const float* interleaved, int64_t frames, std::string& error) override;
    // Finishes the file and puts it in place under the target's name.
    bool commit(std::string& error);

    const std::string& path() const { return path_; }
    // Time spent in the system's file writes, for the timing report.
    double fileSystemSeconds() const { return fileSystemSeconds_; }

    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

private:
    AudioFileWriter(std::unique_ptr<BufferedFile> output, std::string path, std::string tempPath)
        : output_(std::move(output)), path_(std::move(path)), tempPath_(std::move(tempPath)) {}
    void discard();
    std::string reason() const;

    std::unique_ptr<BufferedFile> output_;
    sf_private_tag* file_ = nullptr;
    int channels_ = 0;
    int integerBits_ = 0;  // 16 or 24 for integer formats, 0 for float
    bool flac_ = false;
    std::vector<int32_t> integers_;  // samples converted for FLAC
    std::vector<uint8_t> pcm_;       // samples converted for WAV
    std::string path_;
    std::string tempPath_;
    bool committed_ = false;
    double fileSystemSeconds_ = 0.0;
};

}  // namespace render

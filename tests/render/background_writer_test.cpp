#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "tools/render/BackgroundWriter.h"

using render::AudioSink;
using render::BackgroundWriter;

namespace {

// Keeps everything it is given; fails from a chosen frame on.
class MemorySink : public AudioSink {
public:
    explicit MemorySink(int channels, int64_t failAt = -1) : channels_(channels), failAt_(failAt) {}

    bool write(const float* interleaved, int64_t frames, std::string& error) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (failAt_ >= 0 && written() + frames > failAt_) {
            error = "disk full";
            return false;
        }
        samples_.insert(samples_.end(), interleaved, interleaved + frames * channels_);
        ++calls_;
        return true;
    }
    int64_t written() const { return static_cast<int64_t>(samples_.size()) / channels_; }

    int channels_;
    int64_t failAt_;
    std::mutex mutex_;
    std::vector<float> samples_;
    int calls_ = 0;
};

// Blocks of uneven length, each sample its own index.
std::vector<float> countingSamples(int64_t frames, int channels) {
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<float>(i);
    return samples;
}

}  // namespace

TEST(BackgroundWriter, PassesEverySampleOnInOrder) {
    // 100000 stereo frames in blocks of 333 and one odd block: several runs
    // of the writer, the last one partial.
    const int64_t frames = 100000;
    const std::vector<float> samples = countingSamples(frames, 2);
    MemorySink sink(2);
    BackgroundWriter writer(sink, 2);
    std::string error;
    for (int64_t at = 0; at < frames; at += 333) {
        const int64_t block = std::min<int64_t>(333, frames - at);
        ASSERT_TRUE(writer.write(samples.data() + at * 2, block, error)) << error;
    }
    ASSERT_TRUE(writer.finish(error)) << error;
    EXPECT_EQ(sink.samples_, samples);
    EXPECT_GT(sink.calls_, 1);
    EXPECT_LT(sink.calls_, 10);  // runs of many blocks, not one call per block
}

TEST(BackgroundWriter, ReportsTheTargetsFailure) {
    const int64_t frames = 200000;
    const std::vector<float> samples = countingSamples(frames, 1);
    MemorySink sink(1, 50000);
    BackgroundWriter writer(sink, 1);
    std::string error;
    bool failed = false;
    for (int64_t at = 0; at < frames && !failed; at += 500) failed = !writer.write(samples.data() + at, 500, error);
    std::string finishError;
    EXPECT_FALSE(writer.finish(finishError));
    EXPECT_EQ(finishError, "disk full");
    if (failed) {
        EXPECT_EQ(error, "disk full");  // a write after the failure says so at once
    }
    EXPECT_LE(sink.written(), 50000);
}

TEST(BackgroundWriter, AnAbandonedWriterStopsWithoutWritingTheRest) {
    MemorySink sink(1);
    const std::vector<float> samples = countingSamples(1000, 1);
    {
        BackgroundWriter writer(sink, 1);
        std::string error;
        ASSERT_TRUE(writer.write(samples.data(), 1000, error));
    }
    // Less than a run was handed over, so nothing reached the target.
    EXPECT_EQ(sink.written(), 0);
}

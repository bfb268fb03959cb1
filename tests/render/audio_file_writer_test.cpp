#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>

#include "tests/render/RenderFixture.h"
#include "tools/render/AudioFileWriter.h"

using render::AudioFileWriter;
using render::OutputFormat;

namespace {

// A ramp across full scale and beyond it, in stereo: the right channel mirrors the left.
std::vector<float> testSignal(int frames) {
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        const float value = -1.5f + 3.0f * static_cast<float>(i) / static_cast<float>(frames - 1);
        samples.push_back(value);
        samples.push_back(-value);
    }
    return samples;
}

}  // namespace

using AudioFileWriterTest = RenderFixture;

TEST_F(AudioFileWriterTest, WritesEveryFormatReadablyAndClipsInsteadOfWrapping) {
    struct Case {
        OutputFormat format;
        const char* name;
        int sndfileFormat;
        float step;  // the format's quantisation step
    };
    const Case cases[] = {{OutputFormat::Wav16, "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0f / 32768},
                          {OutputFormat::Wav24, "b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 1.0f / 8388608},
                          {OutputFormat::WavFloat, "c.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.0f},
                          {OutputFormat::Flac16, "d.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1.0f / 32768},
                          {OutputFormat::Flac24, "e.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1.0f / 8388608}};
    const int frames = 3001;
    const std::vector<float> signal = testSignal(frames);
    for (const Case& c : cases) {
        std::string error;
        auto writer = AudioFileWriter::create(path(c.name), c.format, 2, 48000, frames, error);
        ASSERT_TRUE(writer) << error;
        // Two writes, so that the second continues the first.
        ASSERT_TRUE(writer->write(signal.data(), 1000, error)) << error;
        ASSERT_TRUE(writer->write(signal.data() + 2000, frames - 1000, error)) << error;
        ASSERT_TRUE(writer->commit(error)) << error;

        const Audio audio = readAudio(path(c.name));
        EXPECT_EQ(audio.format, c.sndfileFormat) << c.name;
        EXPECT_EQ(audio.channels, 2);
        EXPECT_EQ(audio.sampleRate, 48000);
        ASSERT_EQ(audio.frames, frames);
        for (int64_t i = 0; i < frames; ++i) {
            const float original = signal[static_cast<std::size_t>(2 * i)];
            // Integer formats hold -1 to one step below +1; the float format holds everything.
            const float expected = c.step == 0.0f ? original : std::clamp(original, -1.0f, 1.0f - c.step);
            ASSERT_NEAR(audio.at(i, 0), expected, c.step / 2 + 1e-7f) << c.name << " frame " << i;
            ASSERT_EQ(audio.at(i, 1) < 0.0f, original > 0.0f) << c.name << " frame " << i;
        }
    }
}

TEST_F(AudioFileWriterTest, AudioThatMayOutgrowAWavFileGoesIntoRf64) {
    // Five hours of 24-bit stereo at 44100 Hz, 6 bytes a frame, pass the 4 GiB a WAV file can hold.
    const int64_t frames = int64_t{44100} * 3600 * 5;
    std::string error;
    auto writer = AudioFileWriter::create(path("long.wav"), OutputFormat::Wav24, 2, 44100, frames, error);
    ASSERT_TRUE(writer) << error;
    const float silence[2] = {};
    ASSERT_TRUE(writer->write(silence, 1, error));
    ASSERT_TRUE(writer->commit(error)) << error;
    EXPECT_EQ(readAudio(path("long.wav")).format, SF_FORMAT_RF64 | SF_FORMAT_PCM_24);
}

TEST_F(AudioFileWriterTest, LeavesNothingBehindUnlessCommitted) {
    const std::string target = path("out.wav");
    {
        std::ofstream(target) << "the old file";
        std::string error;
        auto writer = AudioFileWriter::create(target, OutputFormat::Wav16, 1, 44100, 64, error);
        ASSERT_TRUE(writer) << error;
        const float silence[64] = {};
        ASSERT_TRUE(writer->write(silence, 64, error));
        EXPECT_EQ(folderContents().size(), 2u);  // the target and the temporary file
    }
    // Abandoned: the temporary file is gone and the old file is untouched.
    EXPECT_EQ(folderContents(), std::vector<std::string>{"out.wav"});
    std::ifstream in(target);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "the old file");
}

TEST_F(AudioFileWriterTest, NamesTheTargetWhenItCannotWrite) {
    std::string error;
    EXPECT_FALSE(AudioFileWriter::create(path("missing/out.wav"), OutputFormat::Wav16, 2, 44100, 1, error));
    EXPECT_EQ(error.rfind(path("missing/out.wav") + ": cannot write in", 0), 0u) << error;
    EXPECT_FALSE(AudioFileWriter::create(folder.string(), OutputFormat::Wav16, 2, 44100, 1, error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
}

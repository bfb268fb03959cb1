// Shared by the renderer's command tests: a scratch folder per test, files
// written into it, the renderer run in-process with its output captured, the
// audio it wrote read back, and the probe instrument's log.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/render/MidiBytes.h"
#include "tests/render/ProbeLog.h"
#include "tools/host/PluginLibrary.h"
#include "tools/render/RenderCommand.h"

struct CommandResult {
    int exitCode;
    std::string out;
    std::string err;
};

struct Audio {
    int channels = 0;
    int sampleRate = 0;
    int format = 0;
    int64_t frames = 0;
    std::vector<float> samples;  // interleaved

    float at(int64_t frame, int channel) const {
        return samples[static_cast<std::size_t>(frame * channels + channel)];
    }
};

inline CommandResult runRender(const std::vector<std::string>& arguments,
                               const volatile std::sig_atomic_t* stopFlag = nullptr) {
    std::ostringstream out;
    std::ostringstream err;
    const render::CommandContext context{out, err, false, stopFlag};
    const int exitCode = render::runRenderCommand(arguments, context);
    return {exitCode, out.str(), err.str()};
}

inline Audio readAudio(const std::string& path) {
    Audio audio;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!file) return audio;
    audio.channels = info.channels;
    audio.sampleRate = info.samplerate;
    audio.format = info.format;
    audio.frames = info.frames;
    audio.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, audio.samples.data(), info.frames);
    sf_close(file);
    return audio;
}

class RenderFixture : public ::testing::Test {
public:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("orrelune-render-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    std::string writeFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }

    // Files in the scratch folder: a failed render must leave nothing behind.
    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    // The probe library stays loaded while the test holds it, so its log
    // outlives the renderer's instance.
    ProbeLog& probeLog(const std::string& libraryPath = PROBE_SYNTH_PATH) {
        std::string error;
        probeLibraries.push_back(vsthost::PluginLibrary::open(libraryPath, error));
        EXPECT_TRUE(probeLibraries.back()) << error;
        auto proc = reinterpret_cast<ProbeLogProc>(probeLibraries.back()->symbol("probeLogOf"));
        return *proc();
    }

    std::filesystem::path folder;
    std::vector<std::unique_ptr<vsthost::PluginLibrary>> probeLibraries;
};

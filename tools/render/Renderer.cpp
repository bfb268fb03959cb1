#include "tools/render/Renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "tools/render/SilenceDetector.h"

namespace render {

namespace {

constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kAllNotesOff = 123;
constexpr int kMidiChannels = 16;

using Clock = std::chrono::steady_clock;

int64_t framesFor(double seconds, uint32_t sampleRate) { return std::llround(seconds * sampleRate); }

// The loops below go over every sample of a render. They work in runs of a
// fixed length without branches, which the compiler turns into vector code.
constexpr std::size_t kRun = 8;

void interleaveStereo(const float* __restrict left, const float* __restrict right, float* __restrict out,
                      std::size_t count) {
    const std::size_t whole = count / kRun * kRun;
    for (std::size_t i = 0; i < whole; i += kRun) {
        for (std::size_t j = 0; j < kRun; ++j) {
            out[2 * (i + j)] = left[i + j];
            out[2 * (i + j) + 1] = right[i + j];
        }
    }
    for (std::size_t i = whole; i < count; ++i) {
        out[2 * i] = left[i];
        out[2 * i + 1] = right[i];
    }
}

// 1 when either sample is NaN or infinite: their sum is then NaN or
// infinite too, and only such a sum fails the comparison. (Two samples near
// the largest float also fail it; they are looked at again one by one.)
int32_t unplayable(float left, float right) {
    return std::fabs(left) + std::fabs(right) <= std::numeric_limits<float>::max() ? 0 : 1;
}

// Each frame's louder channel into `levels`, and the loudest of all into
// `peak`. Returns false when a sample is NaN or infinite; `peak` is then
// left for the caller to work out again.
bool measureLevels(const float* __restrict left, const float* __restrict right, float* __restrict levels,
                   std::size_t count, float& peak) {
    float lanePeaks[kRun] = {};
    int32_t laneUnplayable[kRun] = {};
    const std::size_t whole = count / kRun * kRun;
    for (std::size_t i = 0; i < whole; i += kRun) {
        for (std::size_t j = 0; j < kRun; ++j) {
            const float level = std::max(std::fabs(left[i + j]), std::fabs(right[i + j]));
            levels[i + j] = level;
            lanePeaks[j] = std::max(lanePeaks[j], level);
            laneUnplayable[j] |= unplayable(left[i + j], right[i + j]);
        }
    }
    for (std::size_t i = whole; i < count; ++i) {
        const float level = std::max(std::fabs(left[i]), std::fabs(right[i]));
        levels[i] = level;
        lanePeaks[0] = std::max(lanePeaks[0], level);
        laneUnplayable[0] |= unplayable(left[i], right[i]);
    }
    int32_t unplayable = 0;
    for (std::size_t j = 0; j < kRun; ++j) {
        peak = std::max(peak, lanePeaks[j]);
        unplayable |= laneUnplayable[j];
    }
    return unplayable == 0;
}

}  // namespace

Renderer::Renderer(vsthost::Plugin& plugin, RenderHost& host, const RenderSettings& settings)
    : plugin_(plugin), host_(host), settings_(settings) {
    const AEffect& effect = *plugin.effect();
    channels_ = effect.numOutputs >= 2 ? 2 : 1;
    const auto blockSize = static_cast<std::size_t>(settings.blockSize);
    // An instrument with inputs hears silence on them.
    inputs_.assign(static_cast<std::size_t>(std::max(effect.numInputs, 0)), std::vector<float>(blockSize, 0.0f));
    outputs_.assign(static_cast<std::size_t>(std::max(effect.numOutputs, 1)), std::vector<float>(blockSize, 0.0f));
    for (auto& input : inputs_) inputPointers_.push_back(input.data());
    for (auto& output : outputs_) outputPointers_.push_back(output.data());
    interleaved_.resize(blockSize * static_cast<std::size_t>(channels_));
    frameLevels_.resize(blockSize);
}

void Renderer::prepare() {
    host_.configure(settings_.sampleRate, settings_.blockSize);
    plugin_.setSampleRate(static_cast<float>(settings_.sampleRate));
    plugin_.setBlockSize(settings_.blockSize);
}

int64_t Renderer::mostFrames(const EventSchedule& schedule) const {
    return schedule.endFrame() +
           framesFor(settings_.tailSeconds.value_or(kLongestTailSeconds), settings_.sampleRate);
}

std::optional<RenderResult> Renderer::run(EventSchedule& schedule, AudioSink& sink, RenderObserver* observer,
                                          std::string& error) {
    RenderResult result;
    result.pieceFrames = schedule.endFrame();
    const int64_t end = mostFrames(schedule);
    SilenceDetector silence(framesFor(kSilentMomentSeconds, settings_.sampleRate));
    const bool untilSilent = !settings_.tailSeconds;

    plugin_.resume();
    plugin_.dispatch(effStartProcess);
    bool ok = true;
    int64_t position = 0;
    while (position < end) {
        const auto frames = static_cast<int32_t>(std::min<int64_t>(settings_.blockSize, end - position));
        if (!renderBlock(schedule, position, frames, sink, result, error)) {
            ok = false;
            break;
        }
        // Only the audio after the piece's end counts towards its dying away.
        for (int64_t frame = std::max<int64_t>(result.pieceFrames - position, 0); frame < frames; ++frame) {
            silence.feed(frameLevels_[static_cast<std::size_t>(frame)]);
        }
        position += frames;
        if (observer) observer->blockDone(position, result.pieceFrames);
        if (observer && observer->stopRequested()) {
            error = "interrupted";
            ok = false;
            break;
        }
        if (untilSilent && position >= result.pieceFrames && silence.silent()) break;
    }
    result.frames = position;
    result.tailCut = ok && untilSilent && position >= end;
    sendStopMessages();
    plugin_.dispatch(effStopProcess);
    plugin_.suspend();
    if (!ok) return std::nullopt;
    return result;
}

bool Renderer::renderBlock(EventSchedule& schedule, int64_t position, int32_t frames, AudioSink& sink,
                           RenderResult& result, std::string& error) {
    const Clock::time_point scheduling = Clock::now();
    schedule.fillBlock(position, frames, events_);
    host_.setPosition(position);
    // A plug-in that leaves an output untouched leaves silence, not the last block.
    for (auto& output : outputs_) std::fill(output.begin(), output.begin() + frames, 0.0f);

    const Clock::time_point playing = Clock::now();
    plugin_.sendEvents(events_);
    plugin_.processReplacing(inputPointers_.data(), outputPointers_.data(), frames);

    const Clock::time_point writing = Clock::now();
    interleave(frames, result);
    const bool written = sink.write(interleaved_.data(), frames, error);
    const Clock::time_point done = Clock::now();

    result.schedulingSeconds += std::chrono::duration<double>(playing - scheduling).count();
    result.pluginSeconds += std::chrono::duration<double>(writing - playing).count();
    result.writingSeconds += std::chrono::duration<double>(done - writing).count();
    return written;
}

void Renderer::interleave(int32_t frames, RenderResult& result) {
    const auto count = static_cast<std::size_t>(frames);
    const float* left = outputs_[0].data();
    const float* right = outputs_[channels_ == 2 ? 1 : 0].data();
    if (channels_ == 2) {
        interleaveStereo(left, right, interleaved_.data(), count);
    } else {
        std::copy(left, left + count, interleaved_.data());
    }
    const float peakBefore = result.peak;
    if (!measureLevels(left, right, frameLevels_.data(), count, result.peak)) [[unlikely]] {
        // NaN or infinity: no sound any file format can hold, so written as silence.
        replaceNonFinite(frames, peakBefore, result);
    }
}

void Renderer::replaceNonFinite(int32_t frames, float peakBefore, RenderResult& result) {
    const std::size_t stride = static_cast<std::size_t>(channels_);
    float peak = 0.0f;
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(frames); ++frame) {
        float level = 0.0f;
        for (std::size_t channel = 0; channel < stride; ++channel) {
            float& sample = interleaved_[frame * stride + channel];
            if (!std::isfinite(sample)) {
                sample = 0.0f;
                ++result.nonFiniteSamples;
            }
            level = std::max(level, std::fabs(sample));
        }
        frameLevels_[frame] = level;
        peak = std::max(peak, level);
    }
    result.peak = std::max(peakBefore, peak);
}

void Renderer::sendStopMessages() {
    events_.clear();
    for (uint8_t channel = 0; channel < kMidiChannels; ++channel) {
        events_.addMidi(0, static_cast<uint8_t>(kControlChange | channel), kAllNotesOff, 0);
        events_.addMidi(0, static_cast<uint8_t>(kControlChange | channel), kResetAllControllers, 0);
    }
    plugin_.sendEvents(events_);
}

}  // namespace render

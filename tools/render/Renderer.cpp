#include "tools/render/Renderer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "tools/render/SilenceDetector.h"

namespace render {

namespace {

constexpr uint8_t kControlChange = 0xB0;
constexpr uint8_t kResetAllControllers = 121;
constexpr uint8_t kAllNotesOff = 123;
constexpr int kMidiChannels = 16;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int64_t framesFor(double seconds, uint32_t sampleRate) { return std::llround(seconds * sampleRate); }

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
    Clock::time_point start = Clock::now();
    schedule.fillBlock(position, frames, events_);
    host_.setPosition(position);
    result.schedulingSeconds += secondsSince(start);

    // A plug-in that leaves an output untouched leaves silence, not the last block.
    for (auto& output : outputs_) std::fill(output.begin(), output.begin() + frames, 0.0f);
    start = Clock::now();
    plugin_.sendEvents(events_);
    plugin_.processReplacing(inputPointers_.data(), outputPointers_.data(), frames);
    result.pluginSeconds += secondsSince(start);

    start = Clock::now();
    interleave(frames, result);
    const bool written = sink.write(interleaved_.data(), frames, error);
    result.writingSeconds += secondsSince(start);
    return written;
}

void Renderer::interleave(int32_t frames, RenderResult& result) {
    const float* left = outputs_[0].data();
    const float* right = outputs_[channels_ == 2 ? 1 : 0].data();
    float* out = interleaved_.data();
    float* levels = frameLevels_.data();
    const std::size_t stride = static_cast<std::size_t>(channels_);
    float peak = result.peak;
    for (int32_t frame = 0; frame < frames; ++frame) {
        float a = left[frame];
        float b = right[frame];
        // NaN or infinity is not a sound any file format can hold; keep the file playable.
        if (!std::isfinite(a) || !std::isfinite(b)) [[unlikely]] {
            result.nonFiniteSamples += (std::isfinite(a) ? 0 : 1) + (channels_ == 2 && !std::isfinite(b) ? 1 : 0);
            a = std::isfinite(a) ? a : 0.0f;
            b = std::isfinite(b) ? b : 0.0f;
        }
        out[0] = a;
        out[stride - 1] = b;  // the same place as `a` for mono
        out += stride;
        const float level = std::max(std::fabs(a), std::fabs(b));
        levels[frame] = level;
        peak = std::max(peak, level);
    }
    result.peak = peak;
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

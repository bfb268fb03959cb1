// Plays a schedule of events through a plug-in the way a sequencer does:
// sample rate and block size first, then resume, then for every block the
// block's events (an empty list when it has none) followed by the audio call,
// and when the music is over, the notes-off and controller-reset messages of
// a stopping transport on all sixteen channels before the plug-in is suspended.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/host/Plugin.h"
#include "tools/render/AudioSink.h"
#include "tools/render/EventSchedule.h"
#include "tools/render/RenderHost.h"

namespace render {

struct RenderSettings {
    uint32_t sampleRate = 44100;
    int32_t blockSize = 512;
    // Audio after the piece's end: exactly this many seconds, or, when not
    // set, until the sound has died away (with a limit).
    std::optional<double> tailSeconds;
};

struct RenderResult {
    int64_t frames = 0;           // written
    int64_t pieceFrames = 0;      // up to the end of the piece; the rest is tail
    float peak = 0.0f;            // loudest absolute sample written
    bool tailCut = false;         // the sound had not died away at the tail limit
    int64_t nonFiniteSamples = 0;  // NaN or infinite samples, written as 0
    double pluginSeconds = 0.0;    // inside the plug-in's event and audio calls
    double schedulingSeconds = 0.0;  // building the blocks' event lists
    double writingSeconds = 0.0;     // handing audio to the sink
};

// Told about progress once per block; may stop the render.
class RenderObserver {
public:
    virtual ~RenderObserver() = default;
    virtual void blockDone(int64_t framesDone, int64_t pieceFrames) = 0;
    virtual bool stopRequested() = 0;
};

class Renderer {
public:
    // The sound must have died away for this long before the tail ends...
    static constexpr double kSilentMomentSeconds = 0.1;
    // ...and the tail never runs longer than this.
    static constexpr double kLongestTailSeconds = 30.0;

    Renderer(vsthost::Plugin& plugin, RenderHost& host, const RenderSettings& settings);

    // Sends the sample rate and the block size; the sound is chosen after this.
    void prepare();
    // Renders the whole schedule into `sink`.
    std::optional<RenderResult> run(EventSchedule& schedule, AudioSink& sink, RenderObserver* observer,
                                     std::string& error);

    // Channels in the written audio: the plug-in's first two outputs, or one.
    int outputChannels() const { return channels_; }
    // The most frames a render of the schedule can write.
    int64_t mostFrames(const EventSchedule& schedule) const;

private:
    bool renderBlock(EventSchedule& schedule, int64_t position, int32_t frames, AudioSink& sink, RenderResult& result,
                     std::string& error);
    void interleave(int32_t frames, RenderResult& result);
    // Writes NaN and infinite samples as silence and measures the block again.
    void replaceNonFinite(int32_t frames, float peakBefore, RenderResult& result);
    void sendStopMessages();

    vsthost::Plugin& plugin_;
    RenderHost& host_;
    RenderSettings settings_;
    int channels_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
    std::vector<float> interleaved_;
    vsthost::EventList events_;
    std::vector<float> frameLevels_;  // the loudest sample of each frame of the block
};

}  // namespace render

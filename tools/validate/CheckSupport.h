// Building blocks shared by the checks: event lists, phrases, chunks, and
// turning audio reports into findings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "tools/validate/Check.h"
#include "tools/validate/Context.h"

namespace validate {

// The rates hosts run at, from telephone quality to eight times 48 kHz.
inline constexpr float kHostSampleRates[] = {8000.0f,  11025.0f, 16000.0f,  22050.0f,  32000.0f,
                                             44100.0f, 48000.0f, 64000.0f,  88200.0f,  96000.0f,
                                             176400.0f, 192000.0f, 352800.0f, 384000.0f};

// Note-ons (velocity > 0) or note-offs (velocity 0) on channel 1 at one offset.
vsthost::EventList notes(std::initializer_list<int> keys, int velocity, VstInt32 offset = 0);

// A short phrase for the first blocks of a check: a chord, a bend, a release.
// `frames` is the length the phrase is spread over.
vsthost::EventList phraseStart(VstInt32 frames);
vsthost::EventList phraseEnd(VstInt32 frames);

// Problems in `report` become one finding named after `where`.
void addAudioProblems(Findings& findings, const AudioReport& report, const std::string& where);

// Opens and starts an instance; adds a finding and returns null when refused.
std::unique_ptr<Instance> openStarted(Context& context, Findings& findings, float sampleRate = 44100.0f,
                                      VstInt32 blockSize = 512);

// Renders blocks until `quietFrames` frames in a row are exactly zero on every
// output. Returns the frames rendered, or -1 when `limitFrames` pass first.
int64_t renderUntilSilent(Instance& instance, VstInt32 blockFrames, int64_t quietFrames, int64_t limitFrames,
                          AudioReport& report);

// The plug-in's chunk, copied out of its memory at once.
std::vector<uint8_t> saveChunk(Instance& instance, bool programOnly);
VstIntPtr loadChunk(Instance& instance, std::vector<uint8_t> bytes, bool programOnly);

// Every parameter value, as getParameter answers.
std::vector<float> parameterValues(Instance& instance);
// False when any value is not a number or lies outside 0..1.
bool parametersPlayable(const std::vector<float>& values);

// Calls `opcode` with a buffer filled with a marker and tells how many bytes
// it wrote up to and including the terminating zero (or the whole buffer
// when no zero was written inside it), and whether anything was written.
struct TextAnswer {
    VstIntPtr result = 0;
    bool wrote = false;
    std::size_t length = 0;      // characters before the terminating zero
    std::size_t touched = 0;     // bytes from the start up to the last one changed
    std::string text;
};
TextAnswer askText(Instance& instance, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);

std::string describeFloat(float value);

}  // namespace validate

#include "tools/validate/CheckSupport.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace validate {

namespace {

constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kPitchBend = 0xE0;
constexpr unsigned char kTextMarker = 0xA5;
constexpr std::size_t kTextBufferSize = 1024;  // far beyond what any text may need

}  // namespace

vsthost::EventList notes(std::initializer_list<int> keys, int velocity, VstInt32 offset) {
    vsthost::EventList events;
    for (int key : keys) {
        events.addMidi(offset, kNoteOn, static_cast<uint8_t>(key), static_cast<uint8_t>(velocity));
    }
    return events;
}

vsthost::EventList phraseStart(VstInt32 frames) {
    vsthost::EventList events;
    const VstInt32 step = frames > 8 ? frames / 8 : 0;
    events.addMidi(0, kNoteOn, 48, 100);
    events.addMidi(step, kNoteOn, 60, 80);
    events.addMidi(2 * step, kNoteOn, 64, 127);
    events.addMidi(3 * step, kNoteOn, 67, 40);
    events.addMidi(4 * step, kPitchBend, 0x00, 0x50);
    events.addMidi(5 * step, kPitchBend, 0x00, 0x40);
    events.addMidi(6 * step, kNoteOn, 72, 1);
    return events;
}

vsthost::EventList phraseEnd(VstInt32 frames) {
    vsthost::EventList events;
    const VstInt32 step = frames > 8 ? frames / 8 : 0;
    int count = 0;
    for (int key : {48, 60, 64, 67, 72}) {
        events.addMidi(step * count++, kNoteOn, static_cast<uint8_t>(key), 0);
    }
    return events;
}

void addAudioProblems(Findings& findings, const AudioReport& report, const std::string& where) {
    if (!report.clean()) findings.add(where + ": " + report.problems());
}

std::unique_ptr<Instance> openStarted(Context& context, Findings& findings, float sampleRate, VstInt32 blockSize) {
    auto instance = context.open();
    if (!instance) {
        findings.add("no instance: " + context.lastError());
        return nullptr;
    }
    context.host().setAudioSettings(sampleRate, blockSize);
    instance->start(sampleRate, blockSize);
    return instance;
}

int64_t renderUntilSilent(Instance& instance, VstInt32 blockFrames, int64_t quietFrames, int64_t limitFrames,
                          AudioReport& report) {
    int64_t rendered = 0;
    int64_t quiet = 0;
    while (rendered < limitFrames) {
        const AudioReport block = instance.render(blockFrames);
        report += block;
        rendered += blockFrames;
        quiet = block.nonSilentFrames == 0 ? quiet + blockFrames : 0;
        if (quiet >= quietFrames) return rendered;
    }
    return -1;
}

std::vector<uint8_t> saveChunk(Instance& instance, bool programOnly) {
    void* data = nullptr;
    const VstIntPtr size = instance.dispatch(effGetChunk, programOnly ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr loadChunk(Instance& instance, std::vector<uint8_t> bytes, bool programOnly) {
    // The host's copy: the plug-in may not keep a pointer into it.
    return instance.dispatch(effSetChunk, programOnly ? 1 : 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

std::vector<float> parameterValues(Instance& instance) {
    std::vector<float> values;
    for (VstInt32 i = 0; i < instance.record().numParams; ++i) values.push_back(instance.plugin().getParameter(i));
    return values;
}

bool parametersPlayable(const std::vector<float>& values) {
    for (float value : values) {
        if (!(value >= 0.0f && value <= 1.0f)) return false;
    }
    return true;
}

TextAnswer askText(Instance& instance, VstInt32 opcode, VstInt32 index, VstIntPtr value) {
    std::vector<unsigned char> buffer(kTextBufferSize, kTextMarker);
    TextAnswer answer;
    answer.result = instance.dispatch(opcode, index, value, buffer.data());
    for (std::size_t i = buffer.size(); i-- > 0;) {
        if (buffer[i] != kTextMarker) {
            answer.touched = i + 1;
            answer.wrote = true;
            break;
        }
    }
    const void* zero = std::memchr(buffer.data(), 0, buffer.size());
    answer.length = zero ? static_cast<std::size_t>(static_cast<unsigned char*>(const_cast<void*>(zero)) - buffer.data())
                         : buffer.size();
    answer.text.assign(reinterpret_cast<const char*>(buffer.data()), std::min(answer.length, std::size_t{64}));
    return answer;
}

std::string describeFloat(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

}  // namespace validate

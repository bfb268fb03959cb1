#include "tests/windows/ReferencePerformance.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tools/host/EventList.h"
#include "tools/host/Plugin.h"

namespace reference {

namespace {

using Kind = PerformanceStep::Kind;

PerformanceStep midi(int frame, uint8_t status, uint8_t data1, uint8_t data2) {
    return {Kind::Midi, frame, status, data1, data2};
}
PerformanceStep noteOn(int frame, uint8_t note, uint8_t velocity, uint8_t channel = 0) {
    return midi(frame, static_cast<uint8_t>(0x90 | channel), note, velocity);
}
PerformanceStep noteOff(int frame, uint8_t note, uint8_t channel = 0) {
    return midi(frame, static_cast<uint8_t>(0x80 | channel), note, 64);
}
// `amount` is the 14-bit bend value; 8192 is the centre.
PerformanceStep bend(int frame, int amount) {
    return midi(frame, 0xE0, static_cast<uint8_t>(amount & 0x7F), static_cast<uint8_t>((amount >> 7) & 0x7F));
}
PerformanceStep parameter(int frame, VstInt32 index, float value) {
    PerformanceStep step{Kind::Parameter, frame};
    step.index = index;
    step.value = value;
    return step;
}
PerformanceStep program(int frame, VstInt32 index) {
    PerformanceStep step{Kind::Program, frame};
    step.index = index;
    return step;
}

// Parameter indices, in the instrument's order.
enum : VstInt32 { kAMode, kATone, kADecay, kAVel, kBMode, kBTone, kBDecay, kBVel, kDecay, kVelocity, kVolume, kChorus };

// One note of the first program: the plainest thing a host does.
Performance singleNote() {
    return {"single-note", 44100.0f, 512, 44100, {noteOn(5, 69, 127), noteOff(33075, 69)}};
}

// A chord in a non-power-of-two block size, swept by pitch bend within
// blocks, with a note-on of velocity 0 as note-off and an all-notes-off.
Performance chordWithBend() {
    return {"chord-with-bend",
            48000.0f,
            300,
            96000,
            {program(0, 6), noteOn(0, 48, 90), noteOn(150, 55, 70), noteOn(301, 64, 110, 3), noteOn(7000, 72, 127),
             bend(12000, 16383), bend(20017, 0), bend(30001, 8192), noteOff(40000, 55),
             noteOn(45000, 64, 0, 3), midi(80000, 0xB0, 123, 0), noteOn(85000, 60, 100)}};
}

// Every parameter away from its program value, the low-cut filter on and off,
// and more notes than there are voices, so voices are stolen and faded.
Performance editedSoundManyNotes() {
    Performance performance{"edited-sound-many-notes", 22050.0f, 64, 44100, {program(0, 3)}};
    const float values[12] = {1.0f, 0.9f, 0.2f, 0.7f, 1.0f, 0.1f, 0.8f, 0.3f, 0.6f, 0.4f, 0.8f, 1.0f};
    for (VstInt32 i = 0; i < 12; ++i) performance.steps.push_back(parameter(0, i, values[i]));
    for (int n = 0; n < 14; ++n) {
        const int frame = 10 + n * 1103;  // about 50 ms apart
        performance.steps.push_back(noteOn(frame, static_cast<uint8_t>(40 + 3 * n), static_cast<uint8_t>(30 + 7 * n),
                                           static_cast<uint8_t>(n % 16)));
    }
    performance.steps.push_back(parameter(22000, kDecay, 0.1f));
    performance.steps.push_back(parameter(22000, kBMode, 0.0f));
    performance.steps.push_back(parameter(22000, kAMode, 0.0f));
    performance.steps.push_back(midi(30000, 0xB5, 126, 0));
    performance.steps.push_back(noteOn(33000, 84, 127));
    return performance;
}

// Each factory program in turn, at a high sample rate with large blocks.
Performance everyProgram() {
    Performance performance{"every-program", 96000.0f, 1024, 8 * 19200, {}};
    for (VstInt32 p = 0; p < 8; ++p) {
        const int start = p * 19200;  // 0.2 s per program
        performance.steps.push_back(program(start, p));
        performance.steps.push_back(noteOn(start + 100, static_cast<uint8_t>(36 + 6 * p), 100));
        performance.steps.push_back(noteOff(start + 12000, static_cast<uint8_t>(36 + 6 * p)));
    }
    return performance;
}

void applyBetweenBlocks(vsthost::Plugin& plugin, const PerformanceStep& step) {
    if (step.kind == Kind::Parameter) plugin.setParameter(step.index, step.value);
    if (step.kind == Kind::Program) plugin.dispatch(effSetProgram, 0, step.index);
}

std::unique_ptr<vsthost::Plugin> newInstance(const vsthost::PluginLibrary& library, vsthost::Host& host,
                                             std::string& error) {
    return vsthost::Plugin::create(library, host, error);
}

std::vector<uint8_t> chunk(vsthost::Plugin& plugin, bool program) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (!data || size <= 0) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

}  // namespace

const std::vector<Performance>& performances() {
    static const std::vector<Performance> all = {singleNote(), chordWithBend(), editedSoundManyNotes(),
                                                 everyProgram()};
    return all;
}

std::vector<float> render(const vsthost::PluginLibrary& library, const Performance& performance, std::string& error) {
    vsthost::Host host;
    auto plugin = newInstance(library, host, error);
    if (!plugin) return {};
    plugin->setSampleRate(performance.sampleRate);
    plugin->setBlockSize(performance.blockSize);
    plugin->resume();

    std::vector<float> interleaved;
    interleaved.reserve(static_cast<std::size_t>(performance.frames) * 2);
    std::vector<float> left(static_cast<std::size_t>(performance.blockSize));
    std::vector<float> right(left.size());
    std::size_t next = 0;
    vsthost::EventList events;
    for (int start = 0; start < performance.frames; start += performance.blockSize) {
        const int frames = std::min(performance.blockSize, performance.frames - start);
        events.clear();
        for (; next < performance.steps.size() && performance.steps[next].frame < start + frames; ++next) {
            const PerformanceStep& step = performance.steps[next];
            if (step.kind == Kind::Midi) {
                events.addMidi(step.frame - start, step.status, step.data1, step.data2);
            } else {
                applyBetweenBlocks(*plugin, step);
            }
        }
        if (!events.empty()) plugin->sendEvents(events);
        float* outputs[2] = {left.data(), right.data()};
        plugin->processReplacing(nullptr, outputs, frames);
        for (int i = 0; i < frames; ++i) {
            interleaved.push_back(left[static_cast<std::size_t>(i)]);
            interleaved.push_back(right[static_cast<std::size_t>(i)]);
        }
    }
    plugin->suspend();
    return interleaved;
}

const std::vector<ProgramEdit>& stateEdits() {
    static const std::vector<ProgramEdit> edits = {
        {2, "Stage Piano", {{kATone, 0.25f}, {kChorus, 0.75f}, {kBMode, 1.0f}}},
        {5, nullptr, {{kDecay, 0.33f}, {kVolume, 0.6f}}},
    };
    return edits;
}

SavedState saveEditedState(const vsthost::PluginLibrary& library, std::string& error) {
    vsthost::Host host;
    auto plugin = newInstance(library, host, error);
    if (!plugin) return {};
    for (const ProgramEdit& edit : stateEdits()) {
        plugin->dispatch(effSetProgram, 0, edit.program);
        if (edit.name) {
            char name[kVstMaxProgNameLen + 1] = {};
            std::strncpy(name, edit.name, kVstMaxProgNameLen);
            plugin->dispatch(effSetProgramName, 0, 0, name);
        }
        for (const auto& [index, value] : edit.parameters) plugin->setParameter(index, value);
    }
    return {chunk(*plugin, false), chunk(*plugin, true)};
}

std::string audioFileName(const Performance& performance) { return performance.name + ".f32"; }

bool writeFile(const std::string& path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    uint8_t buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace reference

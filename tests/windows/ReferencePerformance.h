// The performances that every build of the plug-in must play identically.
// The Linux library renders them into reference files; the Windows test host
// renders them through each DLL and compares the results bit for bit. Both
// sides share this code, so any difference comes from the library under test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/host/PluginLibrary.h"

namespace reference {

// Something the host does at an absolute frame of the performance. MIDI lands
// at its frame inside a block; parameter and program changes are made between
// blocks, before the block that holds their frame, as a host's automation does.
struct PerformanceStep {
    enum class Kind { Midi, Parameter, Program };
    Kind kind;
    int frame;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    VstInt32 index = 0;  // parameter or program
    float value = 0.0f;  // parameter value
};

struct Performance {
    std::string name;  // also the reference file's name
    float sampleRate;
    VstInt32 blockSize;
    int frames;
    std::vector<PerformanceStep> steps;  // in frame order
};

const std::vector<Performance>& performances();

// Plays `performance` on a fresh instance and returns the two outputs
// interleaved frame by frame (left, right). Empty with `error` set on failure.
std::vector<float> render(const vsthost::PluginLibrary& library, const Performance& performance, std::string& error);

// The state a host saves after a user edited two programs: the bank chunk and
// the program chunk of the current program.
struct SavedState {
    std::vector<uint8_t> bank;
    std::vector<uint8_t> program;
};
SavedState saveEditedState(const vsthost::PluginLibrary& library, std::string& error);

// The edits saveEditedState makes, for checking a restored instance.
struct ProgramEdit {
    VstInt32 program;
    const char* name;  // null keeps the factory name
    std::vector<std::pair<VstInt32, float>> parameters;
};
const std::vector<ProgramEdit>& stateEdits();

// Reference files: raw bytes, little-endian floats for audio.
std::string audioFileName(const Performance& performance);
inline constexpr const char* kBankChunkFile = "bank.chunk";
inline constexpr const char* kProgramChunkFile = "program.chunk";
bool writeFile(const std::string& path, const void* data, std::size_t size);
bool readFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace reference

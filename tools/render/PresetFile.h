// The standard preset files of VST 2.4 hosts: a program file (.fxp) holds one
// program, a bank file (.fxb) all of them. Both begin with a 'CcnK' header and
// store every number big-endian. Each comes in two forms: a list of parameter
// values ('FxCk' program, 'FxBk' bank made of 'FxCk' programs) or an opaque
// chunk the plug-in produced itself ('FPCh' program, 'FBCh' bank).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace render {

enum class PresetKind { Program, Bank };
enum class PresetForm { Parameters, Chunk };

struct ProgramPreset {
    std::string name;           // at most 27 characters are stored
    std::vector<float> values;  // the Parameters form only
};

struct PresetFile {
    PresetKind kind = PresetKind::Program;
    PresetForm form = PresetForm::Parameters;
    int32_t pluginId = 0;        // the plug-in's unique ID
    int32_t pluginVersion = 0;   // the plug-in's version when the file was written
    int32_t formatVersion = 1;   // 2 for a bank that records its current program
    int32_t currentProgram = 0;  // banks of format version 2
    int32_t programCount = 0;    // banks: the plug-in's number of programs
    int32_t parameterCount = 0;  // programs: the plug-in's number of parameters
    // One program for a program file; for a bank of the Parameters form, every
    // program. A chunk program keeps its name here too.
    std::vector<ProgramPreset> programs;
    std::vector<uint8_t> chunk;  // the Chunk form only
};

// Parses a preset file's bytes; on failure returns nothing and sets `error`.
std::optional<PresetFile> parsePresetFile(const uint8_t* data, std::size_t size, std::string& error);

// The file's bytes for a preset.
std::vector<uint8_t> serializePresetFile(const PresetFile& preset);

// A four-character code as text, for messages: 'QVOR'.
std::string fourCharText(int32_t code);

}  // namespace render

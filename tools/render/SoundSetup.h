// Chooses the sound before a render: a preset file, a program by number or
// name, and single parameters by the names the plug-in reports, applied in
// that order of scope (a bank, then the program within it, then a program
// file into that program, then single values).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/host/Plugin.h"
#include "tools/render/PresetFile.h"

namespace render {

struct ParameterSetting {
    std::string name;
    float value = 0.0f;
};

struct SoundOptions {
    std::optional<std::string> program;       // a number, or a name as the plug-in reports it
    std::vector<ParameterSetting> parameters;  // applied in the order given
    std::optional<std::string> presetPath;     // .fxp or .fxb
};

// "NAME=VALUE" with a value from 0 to 1; the name may hold spaces.
std::optional<ParameterSetting> parseParameterSetting(const std::string& text, std::string& error);

// The program a user means by "3" or "Ballad": numbers count from 0, names
// match exactly or, failing that, without regard to case.
std::optional<VstInt32> findProgram(vsthost::Plugin& plugin, const std::string& wanted, std::string& error);
std::optional<VstInt32> findParameter(vsthost::Plugin& plugin, const std::string& wanted, std::string& error);

// Applies the options. Fails with `error` naming the file or the option.
bool applySoundOptions(vsthost::Plugin& plugin, const SoundOptions& options, std::string& error);

// The plug-in rebuilt from its own program chunk, so that it plays exactly
// the state that a saved program file brings back: a plug-in may reach the
// same values by different roads that do not sound alike.
void settleFromProgramChunk(vsthost::Plugin& plugin);

// Reads a preset file; the error names it.
std::optional<PresetFile> readPresetFile(const std::string& path, std::string& error);

// Writes the plug-in's state: a bank for a path ending in .fxb, a program
// for one ending in .fxp.
bool savePresetFile(vsthost::Plugin& plugin, const std::string& path, std::string& error);

}  // namespace render

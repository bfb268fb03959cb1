// Moves presets between a preset file and a running plug-in, the way hosts
// do it: chunks through effSetChunk and effGetChunk, parameter lists through
// the parameter entries, program by program for a bank.
#pragma once

#include <optional>
#include <string>

#include "tools/host/Plugin.h"
#include "tools/render/PresetFile.h"

namespace render {

// Loads a program into the current program, or a whole bank. Fails, with
// `error` set, for a preset of another plug-in, a preset whose size or form
// the plug-in cannot take, and a chunk the plug-in refuses.
bool loadPreset(vsthost::Plugin& plugin, const PresetFile& preset, std::string& error);

// The plug-in's current program, or its whole bank, in the form the plug-in
// prefers: a chunk when it keeps its programs as chunks, parameter values
// otherwise.
std::optional<PresetFile> capturePreset(vsthost::Plugin& plugin, PresetKind kind, std::string& error);

}  // namespace render

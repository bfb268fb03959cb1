// The renderer's command line: what it reads, what it plays, what it writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/render/OutputFormat.h"
#include "tools/render/SoundSetup.h"

namespace render {

struct CommandLine {
    std::optional<std::string> pluginPath;
    SoundOptions sound;
    std::optional<std::string> savePresetPath;
    bool list = false;
    uint32_t sampleRate = 44100;
    int32_t blockSize = 512;
    std::optional<OutputFormat> format;
    std::optional<double> tailSeconds;
    bool quiet = false;
    bool stats = false;
    bool help = false;
    std::optional<std::string> midiPath;
    std::optional<std::string> outputPath;

    bool renders() const { return midiPath.has_value(); }
};

// Parses the arguments after the program's name. Returns nothing with
// `error` set for an unknown option, a missing or bad value, or files that do
// not fit the options.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

std::string usageText();

}  // namespace render

#include "tools/render/OutputFormat.h"

#include <array>
#include <cctype>

namespace render {

namespace {

struct FormatEntry {
    OutputFormat format;
    const char* name;
    const char* description;
};

constexpr std::array<FormatEntry, 5> kFormats{{
    {OutputFormat::Wav16, "wav16", "16-bit WAV"},
    {OutputFormat::Wav24, "wav24", "24-bit WAV"},
    {OutputFormat::WavFloat, "wav32f", "32-bit float WAV"},
    {OutputFormat::Flac16, "flac16", "16-bit FLAC"},
    {OutputFormat::Flac24, "flac24", "24-bit FLAC"},
}};

const FormatEntry& entryOf(OutputFormat format) {
    for (const FormatEntry& entry : kFormats) {
        if (entry.format == format) return entry;
    }
    return kFormats[1];
}

}  // namespace

std::optional<OutputFormat> outputFormatNamed(const std::string& name) {
    for (const FormatEntry& entry : kFormats) {
        if (name == entry.name) return entry.format;
    }
    return std::nullopt;
}

std::string outputFormatName(OutputFormat format) { return entryOf(format).name; }
std::string outputFormatDescription(OutputFormat format) { return entryOf(format).description; }

OutputFormat outputFormatForPath(const std::string& path) {
    std::string ending = path.size() >= 5 ? path.substr(path.size() - 5) : path;
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".flac" ? OutputFormat::Flac24 : OutputFormat::Wav24;
}

std::string outputFormatNames() {
    std::string names;
    for (const FormatEntry& entry : kFormats) names += (names.empty() ? "" : ", ") + std::string(entry.name);
    return names;
}

}  // namespace render

// The audio file formats the renderer writes, by the names the command line uses.
#pragma once

#include <optional>
#include <string>

namespace render {

enum class OutputFormat { Wav16, Wav24, WavFloat, Flac16, Flac24 };

// "wav16", "wav24", "wav32f", "flac16" or "flac24".
std::optional<OutputFormat> outputFormatNamed(const std::string& name);
std::string outputFormatName(OutputFormat format);
// What the file name asks for: 24-bit FLAC for ".flac", 24-bit WAV otherwise.
OutputFormat outputFormatForPath(const std::string& path);
// Words for the summary line: "24-bit WAV".
std::string outputFormatDescription(OutputFormat format);
// The names, for messages and help.
std::string outputFormatNames();

}  // namespace render

// Reads Standard MIDI Files of format 0 and 1. The reader trusts nothing in
// the file: every length is checked against the bytes that are really there,
// and any problem ends the read with a sentence that says where it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "tools/render/MidiFile.h"

namespace render {

// Parses a whole file held in memory. On failure returns nothing and sets
// `error` to the problem, with its track and byte offset where it has one.
std::optional<MidiFile> parseMidiFile(const uint8_t* data, std::size_t size, std::string& error);

// Reads the file at `path` and parses it; the error names the file.
std::optional<MidiFile> readMidiFile(const std::string& path, std::string& error);

}  // namespace render

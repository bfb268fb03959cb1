// Writes pictures as uncompressed, bottom-up BMP files: 24-bit colour, or
// 8-bit with a palette for pictures of few colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artwork/Canvas.h"

namespace artwork {

std::vector<std::uint8_t> encodeBmp24(const Canvas& canvas);
// Every pixel of the canvas must be one of the palette's colours.
std::vector<std::uint8_t> encodeBmp8(const Canvas& canvas, const std::vector<Rgb>& palette);

// Writes the bytes to `path`; false (with `error` set) when the file cannot be written.
bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

}  // namespace artwork

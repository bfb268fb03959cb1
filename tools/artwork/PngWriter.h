// Writes a picture as a PNG file: 8-bit RGB, the image data in stored
// (uncompressed) deflate blocks, which every reader accepts and which needs
// no compression library.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/artwork/Canvas.h"

namespace artwork {

std::vector<std::uint8_t> encodePng(const Canvas& canvas);

}  // namespace artwork

// Reads the BMP files that the editor's pictures are stored as: uncompressed
// 24-bit colour and 8-bit paletted pictures, bottom-up (the usual order) or
// top-down. Anything else, and any file whose headers promise more than it
// holds, is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "gui/platform/raster/RasterImage.h"

namespace gui {

// The picture converted to 24-bit colour (a palette index becomes its palette
// colour, as a screen-compatible bitmap would hold it), or null when the file
// cannot be read.
std::unique_ptr<RasterImage> decodeBmp(const std::uint8_t* data, std::size_t size);

}  // namespace gui

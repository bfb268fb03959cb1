#include "gui/platform/raster/RasterImage.h"

#include <algorithm>

namespace gui {

RasterImage::RasterImage(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bytes_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3, 0) {}

Color RasterImage::pixel(int x, int y) const {
    const std::uint8_t* bgr = bytesAt(x, y);
    return rgb(bgr[2], bgr[1], bgr[0]);
}

void RasterImage::setPixel(int x, int y, Color color) {
    std::uint8_t* bgr = bytesAt(x, y);
    bgr[0] = static_cast<std::uint8_t>(color >> 16);
    bgr[1] = static_cast<std::uint8_t>(color >> 8);
    bgr[2] = static_cast<std::uint8_t>(color);
}

}  // namespace gui

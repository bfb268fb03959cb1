// A 24-bit picture in memory, the raster backend's bitmap and window face.
// Pixels are three bytes in blue, green, red order, rows top to bottom, the
// layout of the platform's 24-bit device-independent bitmaps (without their
// row padding), so that the raster operations act on the same bits.
#pragma once

#include <cstdint>
#include <vector>

#include "gui/platform/platform.h"

namespace gui {

class RasterImage : public Bitmap {
public:
    // A black picture; sizes below zero count as zero.
    RasterImage(int width, int height);

    int width() const override { return width_; }
    int height() const override { return height_; }

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // The colour at (x, y), which must lie inside.
    Color pixel(int x, int y) const;
    void setPixel(int x, int y, Color color);

    // The three bytes (blue, green, red) of the pixel at (x, y), which must lie inside.
    std::uint8_t* bytesAt(int x, int y) { return &bytes_[offsetOf(x, y)]; }
    const std::uint8_t* bytesAt(int x, int y) const { return &bytes_[offsetOf(x, y)]; }

private:
    std::size_t offsetOf(int x, int y) const {
        return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)) * 3;
    }

    int width_;
    int height_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace gui

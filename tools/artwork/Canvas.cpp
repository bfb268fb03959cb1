#include "tools/artwork/Canvas.h"

#include <cmath>

namespace artwork {

namespace {
std::uint8_t mixChannel(std::uint8_t a, std::uint8_t b, double amount) {
    return static_cast<std::uint8_t>(std::lround(a + (static_cast<double>(b) - a) * amount));
}
}  // namespace

Rgb mix(Rgb a, Rgb b, double amount) {
    return {mixChannel(a.red, b.red, amount), mixChannel(a.green, b.green, amount), mixChannel(a.blue, b.blue, amount)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Canvas::set(int x, int y, Rgb color) {
    if (contains(x, y)) pixels_[index(x, y)] = color;
}

void Canvas::paste(const Canvas& source, int x, int y) {
    for (int row = 0; row < source.height(); ++row) {
        for (int column = 0; column < source.width(); ++column) set(x + column, y + row, source.at(column, row));
    }
}

Canvas Canvas::rows(int sourceY, int sourceHeight) const {
    Canvas part(width_, sourceHeight);
    for (int row = 0; row < sourceHeight; ++row) {
        for (int x = 0; x < width_; ++x) part.set(x, row, at(x, sourceY + row));
    }
    return part;
}

}  // namespace artwork

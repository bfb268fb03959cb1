#include "gui/platform/raster/RasterSurface.h"

#include <algorithm>

namespace gui {
namespace {

void combine(std::uint8_t* destination, const std::uint8_t* source, RasterOp op) {
    for (int channel = 0; channel < 3; ++channel) {
        switch (op) {
            case RasterOp::Copy:
                destination[channel] = source[channel];
                break;
            case RasterOp::And:
                destination[channel] &= source[channel];
                break;
            case RasterOp::Or:
                destination[channel] |= source[channel];
                break;
        }
    }
}

// The part [start, start + length) of one axis that stays inside both the
// source (from sourceStart, sourceSize long) and the destination (from
// destStart, destSize long), as an offset range into the copied area.
struct Span {
    int first;
    int last;  // exclusive
};

Span clippedSpan(int length, int sourceStart, int sourceSize, int destStart, int destSize) {
    const long long first = std::max({0LL, -static_cast<long long>(sourceStart), -static_cast<long long>(destStart)});
    const long long last = std::min({static_cast<long long>(length), static_cast<long long>(sourceSize) - sourceStart,
                                     static_cast<long long>(destSize) - destStart});
    if (last <= first) return {0, 0};
    return {static_cast<int>(first), static_cast<int>(last)};
}

}  // namespace

void RasterSurface::copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height, int destX,
                               int destY, RasterOp op) {
    const auto* source = dynamic_cast<const RasterImage*>(&bitmap);
    if (source == nullptr) return;
    const Span columns = clippedSpan(width, sourceX, source->width(), destX, target_.width());
    const Span rows = clippedSpan(height, sourceY, source->height(), destY, target_.height());
    for (int row = rows.first; row < rows.last; ++row) {
        for (int column = columns.first; column < columns.last; ++column) {
            combine(target_.bytesAt(destX + column, destY + row), source->bytesAt(sourceX + column, sourceY + row), op);
        }
    }
}

void RasterSurface::fillRect(const Rect& rect, Color color) {
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, target_.width());
    const int bottom = std::min(rect.bottom, target_.height());
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) target_.setPixel(x, y, color);
    }
}

}  // namespace gui

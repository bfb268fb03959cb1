// A picture being drawn: 24-bit colour, rows top to bottom.
#pragma once

#include <cstdint>
#include <vector>

namespace artwork {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// `a` moved toward `b` by `amount` (0 keeps a, 1 gives b), rounded to the nearest level.
Rgb mix(Rgb a, Rgb b, double amount);

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgb at(int x, int y) const { return pixels_[index(x, y)]; }
    // Points outside the canvas are ignored.
    void set(int x, int y, Rgb color);
    // Copies `source` (or the part of it that fits) with its top left at (x, y).
    void paste(const Canvas& source, int x, int y);
    // The sourceHeight rows of this canvas that start at sourceY, as a new canvas.
    Canvas rows(int sourceY, int sourceHeight) const;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

}  // namespace artwork

#include "gui/platform/raster/BmpDecoder.h"

#include <array>

namespace gui {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;  // the oldest header; later ones only add fields
constexpr std::uint32_t kUncompressed = 0;
// Larger than any editor picture, small enough that a corrupt size cannot ask for gigabytes.
constexpr std::int64_t kMaxSide = 1 << 15;

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t readU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::int32_t readS32(const std::uint8_t* p) { return static_cast<std::int32_t>(readU32(p)); }

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // always positive here
    bool bottomUp = true;
    int bitCount = 0;
    std::uint64_t pixelOffset = 0;
    std::uint64_t rowStride = 0;  // rows are padded to whole 32-bit words
    std::uint64_t paletteOffset = 0;
    std::uint64_t paletteCount = 0;
};

bool readLayout(const std::uint8_t* data, std::size_t size, BmpLayout& layout) {
    if (size < kFileHeaderSize + kInfoHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
    const std::uint8_t* info = data + kFileHeaderSize;
    const std::uint32_t infoSize = readU32(info);
    const std::int32_t height = readS32(info + 8);
    layout.width = readS32(info + 4);
    layout.height = height < 0 ? -static_cast<std::int64_t>(height) : height;
    layout.bottomUp = height > 0;
    layout.bitCount = readU16(info + 14);
    const std::uint32_t compression = readU32(info + 16);
    const std::uint32_t colorsUsed = readU32(info + 32);
    if (infoSize < kInfoHeaderSize || readU16(info + 12) != 1 || compression != kUncompressed) return false;
    if (layout.bitCount != 24 && layout.bitCount != 8) return false;
    if (layout.width < 1 || layout.height < 1 || layout.width > kMaxSide || layout.height > kMaxSide) return false;
    if (layout.bitCount == 8 && colorsUsed > 256) return false;

    layout.pixelOffset = readU32(data + 10);
    layout.rowStride = ((static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32) * 4;
    layout.paletteOffset = kFileHeaderSize + static_cast<std::uint64_t>(infoSize);
    layout.paletteCount = layout.bitCount == 8 ? (colorsUsed == 0 ? 256 : colorsUsed) : 0;

    const std::uint64_t paletteEnd = layout.paletteOffset + layout.paletteCount * 4;
    const std::uint64_t pixelEnd = layout.pixelOffset + layout.rowStride * static_cast<std::uint64_t>(layout.height);
    return paletteEnd <= size && pixelEnd <= size;
}

// Palette entries are blue, green, red and a reserved byte. Indices past the
// palette's end show black.
std::array<Color, 256> readPalette(const std::uint8_t* data, const BmpLayout& layout) {
    std::array<Color, 256> palette{};
    for (std::uint64_t i = 0; i < layout.paletteCount; ++i) {
        const std::uint8_t* entry = data + layout.paletteOffset + i * 4;
        palette[i] = rgb(entry[2], entry[1], entry[0]);
    }
    return palette;
}

}  // namespace

std::unique_ptr<RasterImage> decodeBmp(const std::uint8_t* data, std::size_t size) {
    BmpLayout layout;
    if (data == nullptr || !readLayout(data, size, layout)) return nullptr;

    const int width = static_cast<int>(layout.width);
    const int height = static_cast<int>(layout.height);
    auto image = std::make_unique<RasterImage>(width, height);
    const std::array<Color, 256> palette = readPalette(data, layout);
    for (int y = 0; y < height; ++y) {
        const int storedRow = layout.bottomUp ? height - 1 - y : y;
        const std::uint8_t* row = data + layout.pixelOffset + layout.rowStride * static_cast<std::uint64_t>(storedRow);
        for (int x = 0; x < width; ++x) {
            if (layout.bitCount == 24) {
                const std::uint8_t* bgr = row + static_cast<std::size_t>(x) * 3;
                image->setPixel(x, y, rgb(bgr[2], bgr[1], bgr[0]));
            } else {
                image->setPixel(x, y, palette[row[x]]);
            }
        }
    }
    return image;
}

}  // namespace gui

#include "tools/artwork/BmpWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace artwork {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

void putU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    putU16(out, v & 0xFFFFu);
    putU16(out, v >> 16);
}

std::uint32_t rowStride(int width, int bitCount) {
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitCount) + 31) / 32) * 4;
}

std::vector<std::uint8_t> headers(const Canvas& canvas, int bitCount, std::uint32_t paletteCount) {
    const std::uint32_t imageSize = rowStride(canvas.width(), bitCount) * static_cast<std::uint32_t>(canvas.height());
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + paletteCount * 4;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, pixelOffset + imageSize);
    putU32(out, 0);  // two reserved words
    putU32(out, pixelOffset);
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<std::uint32_t>(canvas.width()));
    putU32(out, static_cast<std::uint32_t>(canvas.height()));  // positive: bottom-up
    putU16(out, 1);                                            // planes
    putU16(out, static_cast<std::uint32_t>(bitCount));
    putU32(out, 0);  // uncompressed
    putU32(out, imageSize);
    putU32(out, kPixelsPerMetre);
    putU32(out, kPixelsPerMetre);
    putU32(out, paletteCount);
    putU32(out, 0);  // all colours important
    return out;
}

void padRow(std::vector<std::uint8_t>& out, std::size_t rowStart, std::uint32_t stride) {
    while (out.size() - rowStart < stride) out.push_back(0);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp24(const Canvas& canvas) {
    std::vector<std::uint8_t> out = headers(canvas, 24, 0);
    const std::uint32_t stride = rowStride(canvas.width(), 24);
    for (int y = canvas.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb c = canvas.at(x, y);
            out.push_back(c.blue);
            out.push_back(c.green);
            out.push_back(c.red);
        }
        padRow(out, rowStart, stride);
    }
    return out;
}

std::vector<std::uint8_t> encodeBmp8(const Canvas& canvas, const std::vector<Rgb>& palette) {
    std::vector<std::uint8_t> out = headers(canvas, 8, static_cast<std::uint32_t>(palette.size()));
    for (const Rgb& c : palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    const std::uint32_t stride = rowStride(canvas.width(), 8);
    for (int y = canvas.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < canvas.width(); ++x) {
            const auto found = std::find(palette.begin(), palette.end(), canvas.at(x, y));
            out.push_back(static_cast<std::uint8_t>(found == palette.end() ? 0 : found - palette.begin()));
        }
        padRow(out, rowStart, stride);
    }
    return out;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace artwork

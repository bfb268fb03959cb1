// The in-memory platform: BMP decoding, the three raster operations and fills
// as the platform performs them on 24-bit surfaces, and clipping.
#include <gtest/gtest.h>

#include <cstring>

#include "gui/platform/PointerPosition.h"
#include "gui/platform/raster/BmpDecoder.h"
#include "gui/platform/raster/RasterSurface.h"

namespace {

using gui::rgb;

void putU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP file of the given size and depth with its pixel bytes zero; rows are
// padded to whole 32-bit words.
std::vector<std::uint8_t> bmpFile(int width, int height, int bitCount, const std::vector<gui::Color>& palette = {}) {
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    const std::uint32_t pixelOffset = 54 + 4 * static_cast<std::uint32_t>(palette.size());
    std::vector<std::uint8_t> file(pixelOffset + stride * rows, 0);
    file[0] = 'B';
    file[1] = 'M';
    putU32(file, 2, static_cast<std::uint32_t>(file.size()));
    putU32(file, 10, pixelOffset);
    putU32(file, 14, 40);
    putU32(file, 18, static_cast<std::uint32_t>(width));
    putU32(file, 22, static_cast<std::uint32_t>(height));
    file[26] = 1;
    file[28] = static_cast<std::uint8_t>(bitCount);
    putU32(file, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        file[54 + 4 * i] = static_cast<std::uint8_t>(palette[i] >> 16);
        file[55 + 4 * i] = static_cast<std::uint8_t>(palette[i] >> 8);
        file[56 + 4 * i] = static_cast<std::uint8_t>(palette[i]);
    }
    return file;
}

std::unique_ptr<gui::RasterImage> decode(const std::vector<std::uint8_t>& file) {
    return gui::decodeBmp(file.data(), file.size());
}

// Stored bottom-up: the first stored row is the picture's last. Bytes are blue, green, red.
TEST(BmpDecoderTest, TwentyFourBitBottomUp) {
    std::vector<std::uint8_t> file = bmpFile(2, 2, 24);  // rows of 6 bytes padded to 8
    const std::uint8_t bottomRow[] = {1, 2, 3, 4, 5, 6};
    const std::uint8_t topRow[] = {7, 8, 9, 10, 11, 12};
    std::memcpy(&file[54], bottomRow, 6);
    std::memcpy(&file[62], topRow, 6);
    auto image = decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 2);
    EXPECT_EQ(image->height(), 2);
    EXPECT_EQ(image->pixel(0, 0), rgb(9, 8, 7));
    EXPECT_EQ(image->pixel(1, 0), rgb(12, 11, 10));
    EXPECT_EQ(image->pixel(0, 1), rgb(3, 2, 1));
    EXPECT_EQ(image->pixel(1, 1), rgb(6, 5, 4));
}

TEST(BmpDecoderTest, EightBitIndicesBecomeTheirPaletteColours) {
    std::vector<std::uint8_t> file = bmpFile(3, 1, 8, {rgb(0, 0, 0), rgb(255, 255, 255), rgb(10, 20, 30)});
    const std::size_t pixels = 54 + 12;
    file[pixels] = 2;
    file[pixels + 1] = 1;
    file[pixels + 2] = 200;  // past the palette's end
    auto image = decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(image->pixel(1, 0), rgb(255, 255, 255));
    EXPECT_EQ(image->pixel(2, 0), rgb(0, 0, 0));
}

TEST(BmpDecoderTest, NegativeHeightIsTopDown) {
    std::vector<std::uint8_t> file = bmpFile(1, -2, 24);
    file[54 + 2] = 200;  // first stored row: the top one, red
    auto image = decode(file);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixel(0, 0), rgb(200, 0, 0));
    EXPECT_EQ(image->pixel(0, 1), rgb(0, 0, 0));
}

// Files that would make the decoder read past their end, or that it does not
// understand, are refused rather than half read.
TEST(BmpDecoderTest, RefusesWhatItCannotReadSafely) {
    const std::vector<std::uint8_t> good = bmpFile(4, 4, 24);
    ASSERT_TRUE(decode(good));
    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
    };
    const Damage damages[] = {
        {"magic", 0, 0x4141},          {"pixel offset past the end", 10, 0x7FFFFFF0},
        {"width 0", 18, 0},            {"huge width", 18, 0x40000000},
        {"16 bits per pixel", 28, 16}, {"run-length compressed", 30, 1},
        {"short header", 14, 12},
    };
    for (const Damage& d : damages) {
        std::vector<std::uint8_t> file = good;
        if (d.offset == 28) {
            file[28] = static_cast<std::uint8_t>(d.value);
        } else if (d.offset == 0) {
            file[0] = 'A';
        } else {
            putU32(file, d.offset, d.value);
        }
        EXPECT_FALSE(decode(file)) << d.what;
    }
    std::vector<std::uint8_t> paletted = bmpFile(4, 1, 8, {rgb(0, 0, 0), rgb(255, 255, 255)});
    putU32(paletted, 46, 250);  // a palette longer than the file
    EXPECT_FALSE(decode(paletted));
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 1);
    EXPECT_FALSE(decode(truncated));
    EXPECT_FALSE(gui::decodeBmp(nullptr, 0));
}

class RasterSurfaceTest : public ::testing::Test {
protected:
    RasterSurfaceTest() : target(4, 4), source(2, 2), surface(target) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) target.setPixel(x, y, rgb(0xF0, 0x0F, 0x55));
        }
        source.setPixel(0, 0, rgb(0x3C, 0xFF, 0x00));
        source.setPixel(1, 0, rgb(0x00, 0x00, 0x00));
        source.setPixel(0, 1, rgb(0xFF, 0xFF, 0xFF));
        source.setPixel(1, 1, rgb(0x81, 0x18, 0xAA));
    }
    gui::RasterImage target;
    gui::RasterImage source;
    gui::RasterSurface surface;
};

struct OpCase {
    gui::RasterOp op;
    gui::Color expected;  // at (1, 1), where source pixel (0, 0) lands
};

// Each channel combines bit for bit: 0xF0 and 0x3C give 0x30 (AND), 0xFC (OR).
TEST_F(RasterSurfaceTest, RasterOperationsCombineEveryBit) {
    const OpCase cases[] = {
        {gui::RasterOp::Copy, rgb(0x3C, 0xFF, 0x00)},
        {gui::RasterOp::And, rgb(0x30, 0x0F, 0x00)},
        {gui::RasterOp::Or, rgb(0xFC, 0xFF, 0x55)},
    };
    for (const OpCase& c : cases) {
        target.setPixel(1, 1, rgb(0xF0, 0x0F, 0x55));
        surface.copyBitmap(source, 0, 0, 1, 1, 1, 1, c.op);
        EXPECT_EQ(target.pixel(1, 1), c.expected);
    }
    EXPECT_EQ(target.pixel(2, 2), rgb(0xF0, 0x0F, 0x55));  // outside the copied area
}

// White leaves the destination under AND; black leaves it under OR.
TEST_F(RasterSurfaceTest, MaskColoursLeaveTheDestination) {
    surface.copyBitmap(source, 0, 1, 1, 1, 0, 0, gui::RasterOp::And);
    surface.copyBitmap(source, 1, 0, 1, 1, 1, 0, gui::RasterOp::Or);
    EXPECT_EQ(target.pixel(0, 0), rgb(0xF0, 0x0F, 0x55));
    EXPECT_EQ(target.pixel(1, 0), rgb(0xF0, 0x0F, 0x55));
}

// Parts that fall outside the destination or outside the source are skipped;
// nothing is written out of bounds.
TEST_F(RasterSurfaceTest, CopiesAreClippedToBothBitmaps) {
    surface.copyBitmap(source, 0, 0, 2, 2, 3, 3, gui::RasterOp::Copy);
    EXPECT_EQ(target.pixel(3, 3), rgb(0x3C, 0xFF, 0x00));
    surface.copyBitmap(source, 1, 1, 5, 5, -1, -1, gui::RasterOp::Copy);
    EXPECT_EQ(target.pixel(0, 0), rgb(0xF0, 0x0F, 0x55));  // source (2, 2) is past the source's end
    surface.copyBitmap(source, 0, 0, 2, 2, -1, 0, gui::RasterOp::Copy);
    EXPECT_EQ(target.pixel(0, 0), rgb(0x00, 0x00, 0x00));  // source (1, 0)
    surface.copyBitmap(source, -5, 0, 2, 2, 0, 0, gui::RasterOp::Copy);
    surface.copyBitmap(source, 0, 0, -2, 2, 0, 0, gui::RasterOp::Copy);
    EXPECT_EQ(target.pixel(0, 0), rgb(0x00, 0x00, 0x00));
}

// The right and bottom edges are exclusive, and the fill is clipped.
TEST_F(RasterSurfaceTest, FillCoversLeftTopUpToRightBottom) {
    surface.fillRect({-3, 1, 2, 3}, rgb(150, 150, 150));
    EXPECT_EQ(target.pixel(0, 1), rgb(150, 150, 150));
    EXPECT_EQ(target.pixel(1, 2), rgb(150, 150, 150));
    EXPECT_EQ(target.pixel(2, 2), rgb(0xF0, 0x0F, 0x55));
    EXPECT_EQ(target.pixel(1, 3), rgb(0xF0, 0x0F, 0x55));
    EXPECT_EQ(target.pixel(0, 0), rgb(0xF0, 0x0F, 0x55));
}

struct PositionCase {
    std::uint32_t packed;
    int x;
    int y;
};

// Each 16-bit half is a signed value: positions left of or above the window are negative.
TEST(PointerPositionTest, HalvesAreSignedSixteenBitValues) {
    const PositionCase cases[] = {
        {0x00000000u, 0, 0},          {0x00520311u, 785, 82},       {0xFFFFFFFFu, -1, -1},
        {0x7FFF7FFFu, 32767, 32767}, {0x80008000u, -32768, -32768}, {0xFFF60028u, 40, -10},
    };
    for (const PositionCase& c : cases) {
        const gui::PointerPosition p = gui::splitPointerPosition(c.packed);
        EXPECT_EQ(p.x, c.x) << std::hex << c.packed;
        EXPECT_EQ(p.y, c.y) << std::hex << c.packed;
    }
}

}  // namespace

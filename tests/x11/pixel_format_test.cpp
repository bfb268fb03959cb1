// Colours packed into the pixel values of the visuals a host's window can
// have: the usual 24-bit one, 32-bit with alpha, 16-bit and 30-bit ones, and
// channels in the other order.
#include <gtest/gtest.h>

#include "gui/platform/x11/X11PixelFormat.h"

namespace {

struct PackingCase {
    const char* visual;
    unsigned long red;
    unsigned long green;
    unsigned long blue;
    int depth;
    gui::Color color;
    unsigned long pixel;
};

class PixelPacking : public ::testing::TestWithParam<PackingCase> {};

TEST_P(PixelPacking, ColourLandsInTheChannelBits) {
    const PackingCase& c = GetParam();
    const gui::X11PixelFormat format(c.red, c.green, c.blue, c.depth);
    ASSERT_TRUE(format.usable());
    EXPECT_EQ(format.pixelFor(c.color), c.pixel);
}

INSTANTIATE_TEST_SUITE_P(
    Visuals, PixelPacking,
    ::testing::Values(
        // The panel's top-left gradient colour, byte for byte.
        PackingCase{"rgb24", 0xFF0000, 0x00FF00, 0x0000FF, 24, gui::rgb(89, 180, 196), 0x59B4C4},
        // The eight bits outside the colours are alpha: set, so the panel is opaque.
        PackingCase{"argb32", 0xFF0000, 0x00FF00, 0x0000FF, 32, gui::rgb(89, 180, 196), 0xFF59B4C4},
        // 5-6-5: the top 5, 6 and 5 bits of 255, 128 and 8.
        PackingCase{"rgb565", 0xF800, 0x07E0, 0x001F, 16, gui::rgb(255, 128, 8), (31ul << 11) | (32ul << 5) | 1ul},
        // 10 bits a channel: 255 fills all ten, 128 becomes 128 * 4 + 128 / 64.
        PackingCase{"rgb30", 0x3FF00000, 0x000FFC00, 0x000003FF, 30, gui::rgb(255, 0, 128), (0x3FFul << 20) | 514ul},
        PackingCase{"bgr24", 0x0000FF, 0x00FF00, 0xFF0000, 24, gui::rgb(1, 2, 3), 0x030201}),
    [](const auto& info) { return std::string(info.param.visual); });

TEST(PixelFormat, MasksThatCannotHoldAColourAreRefused) {
    EXPECT_FALSE(gui::X11PixelFormat(0, 0x00FF00, 0x0000FF, 24).usable());
    EXPECT_FALSE(gui::X11PixelFormat(0xF0F000, 0x000F0F, 0x0000F0, 24).usable());
}

}  // namespace

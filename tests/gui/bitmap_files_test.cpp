// The committed pictures themselves: sizes, depths and storage order, and
// the rules their drawing depends on.
#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <iterator>
#include <string>

#include "gui/PanelLayout.h"
#include "gui/platform/raster/BmpDecoder.h"
#include "tests/gui/CommittedFiles.h"

namespace {


std::uint32_t u32At(const std::vector<std::uint8_t>& file, std::size_t at) {
    return file[at] | (file[at + 1] << 8) | (file[at + 2] << 16) | (static_cast<std::uint32_t>(file[at + 3]) << 24);
}

struct FileCase {
    const char* name;
    int width;
    int height;
    int bitCount;
};

const FileCase kFiles[] = {
    {"101_panel.bmp", 785, 82, 24},
    {"102_switch.bmp", 25, 34, 24},
    {"103_knob_strip.bmp", 26, 1664, 24},
    {"104_knob_mask.bmp", 26, 26, 8},
};

// Positive heights: stored bottom-up; compression 0: uncompressed.
TEST(BitmapFilesTest, SizesDepthsAndStorage) {
    for (const FileCase& c : kFiles) {
        const std::vector<std::uint8_t> file = readCommitted(c.name);
        ASSERT_GT(file.size(), 54u) << c.name;
        EXPECT_EQ(u32At(file, 18), static_cast<std::uint32_t>(c.width)) << c.name;
        EXPECT_EQ(u32At(file, 22), static_cast<std::uint32_t>(c.height)) << c.name;
        EXPECT_EQ(file[28], c.bitCount) << c.name;
        EXPECT_EQ(u32At(file, 30), 0u) << c.name;
        EXPECT_TRUE(gui::decodeBmp(file.data(), file.size())) << c.name;
    }
}

std::unique_ptr<gui::RasterImage> committed(const char* name) {
    const std::vector<std::uint8_t> file = readCommitted(name);
    return gui::decodeBmp(file.data(), file.size());
}

int maxChannel(gui::Color c) { return std::max({c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF}); }

// The mask uses black and white only: a black disc 24 pixels across that
// touches no edge of its 26-by-26 frame.
TEST(BitmapFilesTest, MaskIsABlackDiscOfTwentyFourPixels) {
    auto mask = committed("104_knob_mask.bmp");
    ASSERT_TRUE(mask);
    int left = 26, right = -1, top = 26, bottom = -1;
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 26; ++x) {
            const gui::Color c = mask->pixel(x, y);
            ASSERT_TRUE(c == gui::rgb(0, 0, 0) || c == gui::rgb(255, 255, 255)) << x << "," << y;
            if (c != 0) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    EXPECT_EQ(right - left + 1, 24);
    EXPECT_EQ(bottom - top + 1, 24);
    EXPECT_GT(left, 0);
    EXPECT_GT(top, 0);
    EXPECT_LT(right, 25);
    EXPECT_LT(bottom, 25);
}

// Every frame is OR-ed onto the panel where the mask is white; there it must
// be black or nearly so (no channel above 17), or it would tint the panel.
// On the disc it must show something.
TEST(BitmapFilesTest, StripIsBlackOutsideTheMaskDisc) {
    auto strip = committed("103_knob_strip.bmp");
    auto mask = committed("104_knob_mask.bmp");
    ASSERT_TRUE(strip && mask);
    for (int frame = 0; frame < panel::kKnobFrameCount; ++frame) {
        for (int y = 0; y < 26; ++y) {
            for (int x = 0; x < 26; ++x) {
                const gui::Color c = strip->pixel(x, frame * 26 + y);
                if (mask->pixel(x, y) != 0) {
                    ASSERT_LE(maxChannel(c), 17) << "frame " << frame << " at " << x << "," << y;
                } else {
                    ASSERT_GT(maxChannel(c), 17) << "frame " << frame << " at " << x << "," << y;
                }
            }
        }
    }
}

// The pointer turns clockwise: frame 0 at the lower left, frames 31 and 32 on
// either side of straight up, frame 63 at the lower right. The pointer is the
// frame's whitest pixel.
TEST(BitmapFilesTest, KnobPointerTurnsClockwiseFromLowerLeftToLowerRight) {
    auto strip = committed("103_knob_strip.bmp");
    ASSERT_TRUE(strip);
    auto brightestAt = [&](int frame) {
        std::pair<int, int> best{0, 0};
        int bestSum = -1;
        for (int y = 0; y < 26; ++y) {
            for (int x = 0; x < 26; ++x) {
                const gui::Color c = strip->pixel(x, frame * 26 + y);
                const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
                const int distance = (2 * x + 1 - 26) * (2 * x + 1 - 26) + (2 * y + 1 - 26) * (2 * y + 1 - 26);
                // Far from the centre, where the pointer and nothing else is white.
                if (sum > bestSum && distance > 4 * 36) bestSum = sum, best = {x, y};
            }
        }
        return best;
    };
    const auto [x0, y0] = brightestAt(0);
    EXPECT_LT(x0, 13);
    EXPECT_GT(y0, 13);
    const auto [x31, y31] = brightestAt(31);
    EXPECT_LE(x31, 13);
    EXPECT_LT(y31, 8);
    const auto [x32, y32] = brightestAt(32);
    EXPECT_GE(x32, 12);
    EXPECT_LT(y32, 8);
    const auto [x63, y63] = brightestAt(63);
    EXPECT_GT(x63, 12);
    EXPECT_GT(y63, 13);
}

// The switch frames: a near-black outline all round and a lamp of 13 by 6 at
// the top centre, lit (warm: more red than blue) above and dark (grey) below.
TEST(BitmapFilesTest, SwitchFramesHaveOutlineAndLamp) {
    auto switches = committed("102_switch.bmp");
    ASSERT_TRUE(switches);
    for (int frameTop : {0, 17}) {
        for (int x = 0; x < 25; ++x) {
            EXPECT_LE(maxChannel(switches->pixel(x, frameTop)), 40);
            EXPECT_LE(maxChannel(switches->pixel(x, frameTop + 16)), 40);
        }
    }
    const gui::Color lit = switches->pixel(12, 5);
    const gui::Color dark = switches->pixel(12, 17 + 5);
    EXPECT_GT(lit & 0xFF, (lit >> 16) & 0xFF);
    EXPECT_LE(maxChannel(dark) - std::min({dark & 0xFF, (dark >> 8) & 0xFF, (dark >> 16) & 0xFF}), 10u);
}

// The panel shows each control at rest exactly as the editor draws it: the
// lit switch frame, and the minimum knob frame through the mask.
TEST(BitmapFilesTest, PanelHoldsTheControlsAtRest) {
    auto panelPicture = committed("101_panel.bmp");
    auto switches = committed("102_switch.bmp");
    auto strip = committed("103_knob_strip.bmp");
    auto mask = committed("104_knob_mask.bmp");
    ASSERT_TRUE(panelPicture && switches && strip && mask);
    for (const panel::ControlPlace& place : panel::kControls) {
        const bool isSwitch = place.kind == panel::ControlKind::Switch;
        const int width = isSwitch ? panel::kSwitchWidth : panel::kKnobSize;
        const int height = isSwitch ? panel::kSwitchHeight : panel::kKnobSize;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const gui::Color shown = panelPicture->pixel(place.left + x, place.top + y);
                if (isSwitch) {
                    ASSERT_EQ(shown, switches->pixel(x, y));
                } else if (mask->pixel(x, y) == 0) {
                    ASSERT_EQ(shown, strip->pixel(x, y));
                }
            }
        }
    }
}

// The gradient's corners, where no lettering stands.
TEST(BitmapFilesTest, PanelGradientRunsFromCyanToTeal) {
    auto panelPicture = committed("101_panel.bmp");
    ASSERT_TRUE(panelPicture);
    EXPECT_EQ(panelPicture->pixel(0, 0), gui::rgb(89, 180, 196));
    EXPECT_EQ(panelPicture->pixel(784, 81), gui::rgb(45, 126, 148));
}

// White lettering stands only where the panel has room for it: the titles
// (rows 9 to 15), the brackets (row 21, ticks to row 31 at both ends), the
// captions (rows 65 to 70) and the label (x 653 to 759, rows 28 to 55).
TEST(BitmapFilesTest, PanelLetteringStaysInItsPlaces) {
    auto panelPicture = committed("101_panel.bmp");
    ASSERT_TRUE(panelPicture);
    const int bracketEnds[] = {12, 208, 230, 422, 445, 633};
    for (int x : bracketEnds) {
        EXPECT_EQ(panelPicture->pixel(x, 21), gui::rgb(255, 255, 255));
        EXPECT_EQ(panelPicture->pixel(x, 31), gui::rgb(255, 255, 255));
    }
    auto isBracketTick = [&](int x, int y) {
        return y >= 21 && y <= 31 && std::find(std::begin(bracketEnds), std::end(bracketEnds), x) != std::end(bracketEnds);
    };
    auto inControl = [](int x, int y) {
        for (const panel::ControlPlace& place : panel::kControls) {
            const int size = place.kind == panel::ControlKind::Switch ? panel::kSwitchWidth : panel::kKnobSize;
            if (x >= place.left && x < place.left + size && y >= place.top && y < place.top + size) return true;
        }
        return false;
    };
    int whitePixels = 0;
    for (int y = 0; y < panel::kHeight; ++y) {
        for (int x = 0; x < panel::kWidth; ++x) {
            if (panelPicture->pixel(x, y) != gui::rgb(255, 255, 255) || inControl(x, y)) continue;
            ++whitePixels;
            const bool placed = (y >= 9 && y <= 15) || y == 21 || isBracketTick(x, y) || (y >= 65 && y <= 70) ||
                                (x >= 653 && x <= 759 && y >= 28 && y <= 55);
            EXPECT_TRUE(placed) << "white at " << x << "," << y;
        }
    }
    EXPECT_GT(whitePixels, 0);
}

}  // namespace

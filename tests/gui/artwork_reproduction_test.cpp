// The committed pictures are the generator's output, byte for byte, so that
// they can be drawn again after any change to the artwork.
#include <gtest/gtest.h>

#include "tests/gui/CommittedFiles.h"
#include "tools/artwork/Artwork.h"
#include "tools/artwork/BmpWriter.h"

namespace {

TEST(BitmapFilesTest, GeneratorReproducesTheCommittedFiles) {
    const std::vector<artwork::Rgb> blackAndWhite = {artwork::kBlack, artwork::kWhite};
    EXPECT_EQ(artwork::encodeBmp24(artwork::drawPanel()), readCommitted("101_panel.bmp"));
    EXPECT_EQ(artwork::encodeBmp24(artwork::drawSwitch()), readCommitted("102_switch.bmp"));
    EXPECT_EQ(artwork::encodeBmp24(artwork::drawKnobStrip()), readCommitted("103_knob_strip.bmp"));
    EXPECT_EQ(artwork::encodeBmp8(artwork::drawKnobMask(), blackAndWhite), readCommitted("104_knob_mask.bmp"));
}

}  // namespace

// Only the part of the face that was drawn on is sent to the X server.
#include <gtest/gtest.h>

#include <tuple>

#include "gui/platform/x11/DamageTrackingSurface.h"

namespace {

std::tuple<int, int, int, int> asTuple(const gui::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

class DamageTracking : public ::testing::Test {
protected:
    // The panel's size; a knob's 26-by-26 frame for the copies.
    gui::RasterImage face{785, 82};
    gui::RasterImage knob{26, 26};
    gui::DamageTrackingSurface surface{face};
};

TEST_F(DamageTracking, NothingDrawnIsNoDamage) { EXPECT_FALSE(surface.damaged()); }

TEST_F(DamageTracking, CopiesAndFillsAddUp) {
    surface.copyBitmap(knob, 0, 0, 26, 26, 551, 34, gui::RasterOp::Or);
    EXPECT_EQ(asTuple(surface.damage()), std::tuple(551, 34, 577, 60));
    surface.fillRect({24, 39, 49, 56}, gui::rgb(1, 2, 3));
    EXPECT_EQ(asTuple(surface.damage()), std::tuple(24, 34, 577, 60));
}

TEST_F(DamageTracking, DrawsLikeTheRasterSurface) {
    surface.fillRect({10, 10, 12, 12}, gui::rgb(200, 100, 50));
    EXPECT_EQ(face.pixel(11, 11), gui::rgb(200, 100, 50));
    EXPECT_EQ(face.pixel(12, 12), 0u);
}

TEST_F(DamageTracking, OnlyThePartInsideTheFaceCounts) {
    surface.copyBitmap(knob, 0, 0, 26, 26, 770, -10, gui::RasterOp::Copy);
    EXPECT_EQ(asTuple(surface.damage()), std::tuple(770, 0, 785, 16));
}

TEST_F(DamageTracking, DrawingWhollyOutsideIsNoDamage) {
    surface.copyBitmap(knob, 0, 0, 26, 26, 800, 0, gui::RasterOp::Copy);
    surface.fillRect({-30, -30, 0, 0}, gui::rgb(1, 1, 1));
    EXPECT_FALSE(surface.damaged());
}

}  // namespace

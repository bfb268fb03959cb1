// Draws onto the window's in-memory face and remembers the smallest
// rectangle that holds everything drawn, so that only that part of the face
// travels to the X server.
#pragma once

#include "gui/platform/raster/RasterImage.h"
#include "gui/platform/raster/RasterSurface.h"

namespace gui {

class DamageTrackingSurface : public Surface {
public:
    explicit DamageTrackingSurface(RasterImage& face) : face_(face), drawing_(face) {}

    void copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height, int destX, int destY,
                    RasterOp op) override;
    void fillRect(const Rect& rect, Color color) override;

    bool damaged() const { return damage_.left < damage_.right && damage_.top < damage_.bottom; }
    // The drawn area within the face; empty (left == right) when nothing was drawn.
    const Rect& damage() const { return damage_; }

private:
    void addDamage(const Rect& area);

    RasterImage& face_;
    RasterSurface drawing_;
    Rect damage_{0, 0, 0, 0};
};

}  // namespace gui

// Drawing onto a RasterImage with the platform's rules: a bitmap copy combines
// source and destination bytes with the raster operation, a fill writes one
// colour, and whatever falls outside the destination or outside the source
// bitmap leaves the destination untouched.
#pragma once

#include "gui/platform/platform.h"
#include "gui/platform/raster/RasterImage.h"

namespace gui {

class RasterSurface : public Surface {
public:
    explicit RasterSurface(RasterImage& target) : target_(target) {}

    // The source must be a RasterImage (the only bitmap this backend makes);
    // any other bitmap draws nothing.
    void copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height, int destX, int destY,
                    RasterOp op) override;
    void fillRect(const Rect& rect, Color color) override;

private:
    RasterImage& target_;
};

}  // namespace gui

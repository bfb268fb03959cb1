#include "gui/platform/x11/DamageTrackingSurface.h"

#include <algorithm>

namespace gui {

void DamageTrackingSurface::copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height,
                                       int destX, int destY, RasterOp op) {
    drawing_.copyBitmap(bitmap, sourceX, sourceY, width, height, destX, destY, op);
    addDamage({destX, destY, destX + width, destY + height});
}

void DamageTrackingSurface::fillRect(const Rect& rect, Color color) {
    drawing_.fillRect(rect, color);
    addDamage(rect);
}

// Only the part inside the face can have changed.
void DamageTrackingSurface::addDamage(const Rect& area) {
    const Rect clipped{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, face_.width()),
                       std::min(area.bottom, face_.height())};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return;
    if (!damaged()) {
        damage_ = clipped;
        return;
    }
    damage_ = {std::min(damage_.left, clipped.left), std::min(damage_.top, clipped.top),
               std::max(damage_.right, clipped.right), std::max(damage_.bottom, clipped.bottom)};
}

}  // namespace gui

// Builds without the Windows user interface draw in memory from the pictures
// compiled into the library.
#include "gui/platform/raster/RasterPlatform.h"

namespace gui {

Platform& defaultPlatform() {
    static RasterPlatform platform(embeddedResources());
    return platform;
}

}  // namespace gui

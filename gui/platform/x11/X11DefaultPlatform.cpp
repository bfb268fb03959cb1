// The Linux plug-in library opens its editor in the host's X11 window. This
// file is linked into that library alone; everything else that links the
// toolkit keeps the in-memory default.
#include "gui/platform/x11/X11Platform.h"

namespace gui {

Platform& defaultPlatform() {
    static X11Platform platform(embeddedResources());
    return platform;
}

}  // namespace gui

// How a TrueColor visual packs a colour into a pixel value: where each of
// red, green and blue sits and how many bits it has. Bits of the depth that
// no colour uses (the alpha of a 32-bit visual) are set, so that a
// compositing server shows the panel opaque.
#pragma once

#include "gui/platform/platform.h"

namespace gui {

class X11PixelFormat {
public:
    X11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask, int depth);

    // False when a mask is empty or not one run of bits: such a visual
    // cannot show the panel's colours.
    bool usable() const { return usable_; }
    unsigned long pixelFor(Color color) const;

private:
    struct Channel {
        int shift = 0;  // position of the lowest bit
        int bits = 0;   // width of the run
    };
    static Channel channelOf(unsigned long mask, bool& usable);
    static unsigned long scale(unsigned value, const Channel& channel);

    bool usable_ = true;  // first: reading the masks clears it
    Channel red_;
    Channel green_;
    Channel blue_;
    unsigned long unusedBits_ = 0;
};

}  // namespace gui

#include "gui/platform/x11/X11PixelFormat.h"

namespace gui {
namespace {

constexpr int kMaxChannelBits = 16;
constexpr int kLongBits = static_cast<int>(sizeof(unsigned long) * 8);

unsigned long depthMask(int depth) {
    if (depth <= 0) return 0;
    if (depth >= kLongBits) return ~0ul;
    return (1ul << depth) - 1;
}

}  // namespace

X11PixelFormat::X11PixelFormat(unsigned long redMask, unsigned long greenMask, unsigned long blueMask, int depth)
    : red_(channelOf(redMask, usable_)),
      green_(channelOf(greenMask, usable_)),
      blue_(channelOf(blueMask, usable_)),
      unusedBits_(depthMask(depth) & ~(redMask | greenMask | blueMask)) {}

X11PixelFormat::Channel X11PixelFormat::channelOf(unsigned long mask, bool& usable) {
    Channel channel;
    if (mask == 0) {
        usable = false;
        return channel;
    }
    while ((mask & 1ul) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    while ((mask & 1ul) != 0) {
        mask >>= 1;
        ++channel.bits;
    }
    // A second run of bits, or a channel wider than any colour we could fill.
    if (mask != 0 || channel.bits > kMaxChannelBits) usable = false;
    return channel;
}

// An 8-bit value keeps its top bits in a narrower channel; in a wider one its
// bits repeat, so that 255 stays the full intensity.
unsigned long X11PixelFormat::scale(unsigned value, const Channel& channel) {
    unsigned long scaled = 0;
    if (channel.bits <= 8) {
        scaled = value >> (8 - channel.bits);
    } else {
        scaled = (static_cast<unsigned long>(value) << (channel.bits - 8)) |
                 (static_cast<unsigned long>(value) >> (16 - channel.bits));
    }
    return scaled << channel.shift;
}

unsigned long X11PixelFormat::pixelFor(Color color) const {
    const unsigned red = color & 0xFFu;
    const unsigned green = (color >> 8) & 0xFFu;
    const unsigned blue = (color >> 16) & 0xFFu;
    return scale(red, red_) | scale(green, green_) | scale(blue, blue_) | unusedBits_;
}

}  // namespace gui

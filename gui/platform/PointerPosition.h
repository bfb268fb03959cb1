// Mouse messages pack the pointer position into one 32-bit word: x in the low
// half, y in the high half, each a signed 16-bit value, so that positions left
// of or above the window (reported while the mouse is captured) come out
// negative.
#pragma once

#include <cstdint>

namespace gui {

struct PointerPosition {
    int x;
    int y;
};

constexpr int signedHalf(std::uint32_t half) { return half >= 0x8000u ? static_cast<int>(half) - 0x10000 : static_cast<int>(half); }

constexpr PointerPosition splitPointerPosition(std::uint32_t packed) {
    return {signedHalf(packed & 0xFFFFu), signedHalf((packed >> 16) & 0xFFFFu)};
}

}  // namespace gui

// Text handed to a host buffer: at most maxChars characters, zero-filled up to
// maxChars bytes, then a terminating zero at position maxChars, so the buffer
// always receives exactly maxChars + 1 bytes.
#pragma once

#include <cstring>

inline void copyText(char* destination, const char* source, int maxChars) {
    if (maxChars < 0) {
        return;
    }
    const std::size_t limit = static_cast<std::size_t>(maxChars);
    const std::size_t length = strnlen(source, limit);
    std::memcpy(destination, source, length);
    std::memset(destination + length, 0, limit - length + 1);
}

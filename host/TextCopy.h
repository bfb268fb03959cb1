// Text handed to a host buffer: at most maxChars characters, zero-filled up to
// maxChars bytes, then a terminating zero at position maxChars, so the buffer
// always receives exactly maxChars + 1 bytes.
#pragma once

#include <cstring>

inline void copyText(char* destination, const char* source, int maxChars) {
    if (maxChars < 0) {
        return;
    }
    std::strncpy(destination, source, static_cast<std::size_t>(maxChars));
    destination[maxChars] = 0;
}

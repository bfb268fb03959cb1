// A host's own top-level window for an editor to live in, with what a test
// needs around it: running the message loop until nothing is pending and
// reading back what a window shows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

class HostWindow {
public:
    // A visible top-level window whose client area is `width` by `height`.
    HostWindow(int width, int height);
    ~HostWindow();

    HWND handle() const { return handle_; }
    // The first child window of the given class, or null.
    HWND child(const char* className) const;

    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

private:
    HWND handle_ = nullptr;
};

// Dispatches every message waiting for this thread, until none is left.
void pumpMessages();

// Paints `window` and its children now, as the system does after showing it.
void paintNow(HWND window);

// What `window` shows: `width` by `height` pixels from its top-left corner, rows
// top to bottom, blue, green, red bytes per pixel.
std::vector<uint8_t> readPixels(HWND window, int width, int height);

#include "tests/windows/host/HostWindow.h"

#include <cstring>

namespace {

constexpr const char* kHostClassName = "OrreluneChecksHost";

void registerHostClass() {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kHostClassName, &windowClass)) return;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kHostClassName;
    RegisterClassA(&windowClass);
}

}  // namespace

HostWindow::HostWindow(int width, int height) {
    registerHostClass();
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    handle_ = CreateWindowExA(0, kHostClassName, "Orrelune checks", style, 0, 0, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (handle_) {
        ShowWindow(handle_, SW_SHOW);
        paintNow(handle_);
    }
}

HostWindow::~HostWindow() {
    if (handle_) DestroyWindow(handle_);
    pumpMessages();
}

HWND HostWindow::child(const char* className) const { return FindWindowExA(handle_, nullptr, className, nullptr); }

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void paintNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages();
}

std::vector<uint8_t> readPixels(HWND window, int width, int height) {
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint8_t> pixels;
    if (picture && bits) {
        HGDIOBJ previous = SelectObject(memoryDc, picture);
        BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        // Rows of a 24-bit device-independent bitmap are padded to four bytes.
        const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
        const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
        pixels.resize(rowBytes * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            std::memcpy(&pixels[rowBytes * static_cast<std::size_t>(y)],
                        static_cast<const uint8_t*>(bits) + stride * static_cast<std::size_t>(y), rowBytes);
        }
        SelectObject(memoryDc, previous);
        DeleteObject(picture);
    }
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return pixels;
}

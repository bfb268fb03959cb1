#include "gui/platform/win32/Win32Platform.h"

#include <windows.h>

#include "gui/platform/PointerPosition.h"

namespace gui {
namespace {

HINSTANCE moduleOf(void* instance) { return static_cast<HINSTANCE>(instance); }

class Win32Bitmap : public Bitmap {
public:
    explicit Win32Bitmap(HBITMAP handle) : handle_(handle) {
        BITMAP info{};
        if (GetObjectA(handle_, sizeof info, &info) != 0) {
            width_ = info.bmWidth;
            height_ = info.bmHeight;
        }
    }
    ~Win32Bitmap() override { DeleteObject(handle_); }

    int width() const override { return width_; }
    int height() const override { return height_; }
    HBITMAP handle() const { return handle_; }

    Win32Bitmap(const Win32Bitmap&) = delete;
    Win32Bitmap& operator=(const Win32Bitmap&) = delete;

private:
    HBITMAP handle_;
    int width_ = 0;
    int height_ = 0;
};

DWORD rasterOperation(RasterOp op) {
    switch (op) {
        case RasterOp::And:
            return SRCAND;
        case RasterOp::Or:
            return SRCPAINT;
        case RasterOp::Copy:
            break;
    }
    return SRCCOPY;
}

// A device context to draw on, from a paint request or for immediate drawing.
class Win32Surface : public Surface {
public:
    explicit Win32Surface(HDC dc) : dc_(dc) {}

    // A bitmap can be the source of a transfer only while it is selected into
    // a memory context, made for this one copy.
    void copyBitmap(const Bitmap& bitmap, int sourceX, int sourceY, int width, int height, int destX, int destY,
                    RasterOp op) override {
        const auto* source = dynamic_cast<const Win32Bitmap*>(&bitmap);
        if (source == nullptr) return;
        HDC memory = CreateCompatibleDC(dc_);
        if (memory == nullptr) return;
        HGDIOBJ previous = SelectObject(memory, source->handle());
        BitBlt(dc_, destX, destY, width, height, memory, sourceX, sourceY, rasterOperation(op));
        SelectObject(memory, previous);
        DeleteDC(memory);
    }

    void fillRect(const Rect& rect, Color color) override {
        HBRUSH brush = CreateSolidBrush(color);
        if (brush == nullptr) return;
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        FillRect(dc_, &area, brush);
        DeleteObject(brush);
    }

private:
    HDC dc_;
};

class Win32Window : public NativeWindow {
public:
    Win32Window(HWND handle, WindowEventSink& sink) : handle_(handle), sink_(sink) {
        // The pointer-sized slot: a 32-bit slot would cut a 64-bit pointer in half.
        SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    // Messages sent while the window is destroyed go to the default procedure,
    // not to an owner that is going away.
    ~Win32Window() override {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }

    void captureMouse() override { SetCapture(handle_); }
    void releaseMouse() override { ReleaseCapture(); }
    void takeFocus() override { SetFocus(handle_); }

    // Draws at once on the calling thread, straight onto the window.
    void redrawChanges() override {
        HDC dc = GetDC(handle_);
        if (dc == nullptr) return;
        Win32Surface surface(dc);
        sink_.drawChanges(surface);
        ReleaseDC(handle_, dc);
    }

    static LRESULT CALLBACK windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
        if (window == nullptr) return DefWindowProcA(handle, message, wParam, lParam);
        return window->handleMessage(message, wParam, lParam);
    }

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

private:
    // Mouse messages are consumed whether or not they reach a control; in
    // particular the wheel never goes on to the host's window.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        const PointerPosition position = splitPointerPosition(static_cast<std::uint32_t>(lParam));
        switch (message) {
            case WM_PAINT:
                paint();
                return 0;
            case WM_MOUSEACTIVATE:
                sink_.handleEvent({WindowEventKind::MouseActivate});
                return 0;
            case WM_MOUSEMOVE:
                sink_.handleEvent({WindowEventKind::MouseMove, position.x, position.y});
                return 0;
            case WM_LBUTTONDOWN:
                sink_.handleEvent({WindowEventKind::ButtonDown, position.x, position.y});
                return 0;
            case WM_LBUTTONUP:
                sink_.handleEvent({WindowEventKind::ButtonUp, position.x, position.y});
                return 0;
            case WM_MOUSEWHEEL:
                turnWheel(position, wParam);
                return 0;
            default:
                return DefWindowProcA(handle_, message, wParam, lParam);
        }
    }

    // Ending the paint marks the window as painted, so the request is not repeated.
    void paint() {
        PAINTSTRUCT paintInfo{};
        HDC dc = BeginPaint(handle_, &paintInfo);
        if (dc != nullptr) {
            Win32Surface surface(dc);
            sink_.paint(surface);
        }
        EndPaint(handle_, &paintInfo);
    }

    // The wheel message carries a screen position and, in the high half of
    // wParam, the signed turn: positive when turned forward.
    void turnWheel(PointerPosition screenPosition, WPARAM wParam) {
        POINT point{screenPosition.x, screenPosition.y};
        ScreenToClient(handle_, &point);
        const auto delta = static_cast<short>(HIWORD(wParam));
        sink_.handleEvent({WindowEventKind::Wheel, point.x, point.y, delta > 0 ? 1 : -1});
    }

    HWND handle_;
    WindowEventSink& sink_;
};

}  // namespace

// The class draws every pixel itself on each paint, so it has no background
// brush and the system never erases the window first.
void Win32Platform::registerWindowClass(void* instance) {
    WNDCLASSA windowClass{};
    if (GetClassInfoA(moduleOf(instance), kWindowClassName, &windowClass)) return;
    windowClass.style = 0;
    windowClass.lpfnWndProc = Win32Window::windowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = moduleOf(instance);
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = nullptr;
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kWindowClassName;
    RegisterClassA(&windowClass);
}

void Win32Platform::unregisterWindowClass(void* instance) { UnregisterClassA(kWindowClassName, moduleOf(instance)); }

std::unique_ptr<Bitmap> Win32Platform::loadBitmap(void* instance, int resourceId) {
    HBITMAP handle = LoadBitmapA(moduleOf(instance), MAKEINTRESOURCEA(resourceId));
    if (handle == nullptr) return nullptr;
    return std::make_unique<Win32Bitmap>(handle);
}

std::unique_ptr<NativeWindow> Win32Platform::createChildWindow(void* instance, void* parent, int width, int height,
                                                               WindowEventSink& sink) {
    HWND handle = CreateWindowExA(0, kWindowClassName, nullptr, WS_CHILD, 0, 0, width, height,
                                  static_cast<HWND>(parent), nullptr, moduleOf(instance), nullptr);
    if (handle == nullptr) return nullptr;
    auto window = std::make_unique<Win32Window>(handle, sink);
    ShowWindow(handle, SW_SHOW);
    return window;
}

Platform& defaultPlatform() {
    static Win32Platform platform;
    return platform;
}

}  // namespace gui

// The window a host offers an editor to open in.
//
// On an X display the validator makes a real top-level window and offers its
// id, as Linux hosts do; libX11 is loaded at run time, so the validator runs
// where there is none. Without a display it offers plain memory, which is
// all an editor that draws into memory needs.
#pragma once

#include <memory>
#include <string>

namespace validate {

class EditorParent {
public:
    // A window of the given size, on the display when there is one.
    static std::unique_ptr<EditorParent> create(int width, int height);
    virtual ~EditorParent() = default;

    // What effEditOpen receives.
    virtual void* handle() = 0;
    // Whether the offer is a real window of a window system.
    virtual bool isWindow() const = 0;
    // Lets the window system deliver what the editor asked for.
    virtual void flush() {}
    // Sends a button press, pointer motion and release at (x, y) in the
    // editor's window, the first child of this one; false without a window system.
    virtual bool sendMouse(int x, int y) {
        (void)x;
        (void)y;
        return false;
    }
    // Why there is no real window, for the verdicts.
    static std::string whyNoWindow();
};

}  // namespace validate

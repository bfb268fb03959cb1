// The editor in a real window, driven by window messages as the system sends
// them: its rectangle, opening into a host's top-level window, its painted
// pixels against the in-memory window's picture of the same panel, mouse input
// reported to the host as automation, closing, and two editors at once.
#include <cstdio>
#include <sstream>

#include "tests/windows/PanelSession.h"
#include "tests/windows/ReferencePerformance.h"
#include "tests/windows/host/HostWindow.h"
#include "tests/windows/host/LibraryFixture.h"

namespace {

using reference::kPanelHeight;
using reference::kPanelWidth;
constexpr const char* kEditorClassName = "QVGui";

LPARAM pointAt(int x, int y) {
    // Each half carries a signed 16-bit coordinate, as the system packs them.
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

// Differing pixels between two pictures, described for a failure message;
// empty when they are identical.
std::string pictureDifference(const std::vector<uint8_t>& shown, const std::vector<uint8_t>& expected) {
    if (shown.size() != expected.size()) {
        return "sizes differ: " + std::to_string(shown.size()) + " bytes shown, " + std::to_string(expected.size()) +
               " expected";
    }
    std::size_t differing = 0;
    std::ostringstream first;
    for (std::size_t pixel = 0; pixel < shown.size() / 3; ++pixel) {
        const uint8_t* a = &shown[pixel * 3];
        const uint8_t* b = &expected[pixel * 3];
        if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) continue;
        if (differing++ == 0) {
            char text[128];
            std::snprintf(text, sizeof text, "first at (%d, %d): shown %02x%02x%02x, expected %02x%02x%02x (RGB)",
                          static_cast<int>(pixel % kPanelWidth), static_cast<int>(pixel / kPanelWidth), a[2], a[1],
                          a[0], b[2], b[1], b[0]);
            first << text;
        }
    }
    return differing == 0 ? "" : std::to_string(differing) + " pixels differ, " + first.str();
}

std::vector<uint8_t> referencePicture(const reference::PanelStage& stage) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(reference::readFile(checkSettings().referenceFolder + "/" + reference::pictureFileName(stage), bytes))
        << stage.name;
    return bytes;
}

bool classRegistered(HMODULE module) {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(module, kEditorClassName, &info) != 0;
}

}  // namespace

class EditorTest : public LibraryFixture {
protected:
    // Opens the instance's editor in `parent` and returns the child window it made.
    HWND openEditor(vsthost::Plugin& plugin, HostWindow& parent) {
        EXPECT_NE(plugin.dispatch(effEditOpen, 0, 0, parent.handle()), 0);
        HWND editor = parent.child(kEditorClassName);
        if (editor) paintNow(parent.handle());
        return editor;
    }

    // Sends one pointer action the way the system delivers it to the window.
    void perform(HWND editor, const reference::PointerAction& action) {
        using Kind = reference::PointerAction::Kind;
        switch (action.kind) {
            case Kind::Activate:
                SendMessageA(editor, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(GetAncestor(editor, GA_ROOT)),
                             MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
                EXPECT_EQ(GetFocus(), editor) << "a click gives the editor the keyboard focus";
                break;
            case Kind::Press:
                SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, pointAt(action.x, action.y));
                buttonHeld = true;
                break;
            case Kind::Move:
                SendMessageA(editor, WM_MOUSEMOVE, buttonHeld ? MK_LBUTTON : 0, pointAt(action.x, action.y));
                break;
            case Kind::Release:
                SendMessageA(editor, WM_LBUTTONUP, 0, pointAt(action.x, action.y));
                buttonHeld = false;
                EXPECT_EQ(GetCapture(), nullptr) << "the mouse is given back";
                break;
            case Kind::WheelForward: {
                POINT screen{action.x, action.y};  // wheel messages carry screen positions
                ClientToScreen(editor, &screen);
                SendMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), pointAt(screen.x, screen.y));
                break;
            }
        }
        pumpMessages();
    }

    std::vector<reference::AutomationReport> automationHeard(const vsthost::Plugin& plugin) const {
        std::vector<reference::AutomationReport> reports;
        for (const vsthost::HostRequest& request : host.requestsWith(audioMasterAutomate)) {
            EXPECT_EQ(request.effect, plugin.effect());
            reports.push_back({request.index, request.opt});
        }
        return reports;
    }

    bool buttonHeld = false;
};

TEST_F(EditorTest, AnswersItsRectangleBeforeOpening) {
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    ERect* rect = nullptr;
    ASSERT_NE(plugin->dispatch(effEditGetRect, 0, 0, &rect), 0);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, kPanelHeight);
    EXPECT_EQ(rect->right, kPanelWidth);
}

TEST_F(EditorTest, OpensAChildWindowFillingTheRectangle) {
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    HostWindow parent(kPanelWidth, kPanelHeight);
    HWND editor = openEditor(*plugin, parent);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(editor, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(editor));
    RECT client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, kPanelWidth);
    EXPECT_EQ(client.bottom, kPanelHeight);
    POINT origin{0, 0};
    MapWindowPoints(editor, parent.handle(), &origin, 1);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    plugin->dispatch(effEditClose);
    pumpMessages();
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(parent.child(kEditorClassName), nullptr);
}

// Every stage of the session shows exactly the picture the in-memory window
// drew on Linux, and the host hears the same automation.
TEST_F(EditorTest, ShowsAndReportsWhatTheLinuxPanelDoes) {
    auto plugin = newInstance();
    ASSERT_TRUE(plugin);
    HostWindow parent(kPanelWidth, kPanelHeight);
    HWND editor = openEditor(*plugin, parent);
    ASSERT_NE(editor, nullptr);
    for (const reference::PanelStage& stage : reference::panelStages()) {
        SCOPED_TRACE(stage.name);
        for (const reference::PointerAction& action : stage.actions) {
            perform(editor, action);
            if (action.kind == reference::PointerAction::Kind::Press) {
                EXPECT_EQ(GetCapture(), editor) << "a pressed control holds the mouse";
            }
        }
        EXPECT_EQ(pictureDifference(readPixels(editor, kPanelWidth, kPanelHeight), referencePicture(stage)), "");
    }
    std::vector<uint8_t> expected;
    ASSERT_TRUE(reference::readFile(checkSettings().referenceFolder + "/" + reference::kAutomationFile, expected));
    EXPECT_EQ(automationHeard(*plugin), reference::decodeAutomation(expected));

    // A fresh paint of the whole window shows the same final picture.
    paintNow(parent.handle());
    EXPECT_EQ(pictureDifference(readPixels(editor, kPanelWidth, kPanelHeight),
                                referencePicture(reference::panelStages().back())),
              "");
    plugin->dispatch(effEditClose);
    pumpMessages();
    EXPECT_FALSE(IsWindow(editor));
}

// The window class is registered once for both and lives until the last
// editor goes with its instance.
TEST_F(EditorTest, TwoEditorsShareOneWindowClass) {
    auto first = newInstance();
    auto second = newInstance();
    ASSERT_TRUE(first && second);
    HostWindow firstParent(kPanelWidth, kPanelHeight);
    HostWindow secondParent(kPanelWidth, kPanelHeight);
    HWND firstEditor = openEditor(*first, firstParent);
    HWND secondEditor = openEditor(*second, secondParent);
    ASSERT_TRUE(firstEditor && secondEditor);
    EXPECT_NE(firstEditor, secondEditor);
    EXPECT_EQ(GetClassLongPtrA(firstEditor, GCW_ATOM), GetClassLongPtrA(secondEditor, GCW_ATOM));
    const auto& opened = reference::panelStages().front();
    EXPECT_EQ(pictureDifference(readPixels(firstEditor, kPanelWidth, kPanelHeight), referencePicture(opened)), "");
    EXPECT_EQ(pictureDifference(readPixels(secondEditor, kPanelWidth, kPanelHeight), referencePicture(opened)), "");

    first->dispatch(effEditClose);
    first->close();
    pumpMessages();
    EXPECT_TRUE(classRegistered(module));

    // The second editor still works: a click on a switch reaches its own instance.
    const auto& clicked = reference::panelStages()[1];
    for (const auto& action : clicked.actions) perform(secondEditor, action);
    const auto reports = automationHeard(*second);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].index, 0);  // "A Mode"
    EXPECT_EQ(pictureDifference(readPixels(secondEditor, kPanelWidth, kPanelHeight), referencePicture(clicked)), "");

    second->dispatch(effEditClose);
    second->close();
    pumpMessages();
    EXPECT_FALSE(classRegistered(module));
}

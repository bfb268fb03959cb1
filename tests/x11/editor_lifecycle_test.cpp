// The editor's life in a host: opened and closed many times without leaving
// anything behind, two at once, a host window that goes away first, a window
// id that names nothing, and no display at all.
#include <dirent.h>
#include <malloc.h>

#include <cstdlib>

#include "tests/x11/EditorFixture.h"

namespace x11test {
namespace {

int openFileDescriptors() {
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder) != nullptr) ++count;
        closedir(folder);
    }
    return count;
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

// Each cycle opens, shows the whole panel and closes. A connection left open
// would leave a file descriptor, a window would stay in the host's window,
// and a picture (785 by 82 pixels, some 250 KiB) would grow the heap.
TEST_F(EditorInX11, FiftyOpenCloseCyclesLeaveNothingBehind) {
    const auto cycle = [&] {
        ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
        ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
        plugin->dispatch(effEditClose);
        ASSERT_EQ(screen->childCount(hostWindow), 0);
    };
    cycle();  // Xlib keeps a few things for the process after the first connection
    const int descriptors = openFileDescriptors();
    const std::size_t heap = heapInUse();
    for (int round = 0; round < 50 && !HasFatalFailure(); ++round) cycle();
    EXPECT_EQ(openFileDescriptors(), descriptors);
    EXPECT_LT(heapInUse(), heap + 64 * 1024);
}

// Each editor has its own connection and its own window; a click in one
// reaches only its instance, and the second lives on when the first instance
// is gone.
TEST_F(EditorInX11, TwoEditorsOfTwoInstancesAtOnce) {
    vsthost::Host secondHost;
    auto second = createPlugin(secondHost);
    ASSERT_TRUE(second);
    second->dispatch(effSetProgram, 0, 3);
    const int secondTop = kHostY + 200;
    const Window secondWindow = screen->createHostWindow(kHostX, secondTop, kPanelWidth, kPanelHeight);

    ASSERT_EQ(openEditor(*plugin, hostWindow), 1);
    ASSERT_EQ(openEditor(*second, secondWindow), 1);
    ASSERT_EQ(waitForPanel(*plugin, hostWindow), "");
    ASSERT_EQ(waitForPanel(*second, secondWindow), "");
    const std::vector<gui::Color> secondBefore = shownIn(secondWindow);

    clickAt(kSwitchX, kSwitchY);
    ASSERT_TRUE(idleUntilAutomation(*plugin, host, 1));
    second->dispatch(effEditIdle);
    EXPECT_EQ(waitForPanel(*plugin, hostWindow), "");
    EXPECT_TRUE(secondHost.requestsWith(audioMasterAutomate).empty());
    EXPECT_EQ(pictureDifference(shownIn(secondWindow), secondBefore, kPanelWidth), "");

    plugin->dispatch(effEditClose);
    plugin.reset();
    screen->movePointer(kHostX + kSwitchX, secondTop + kSwitchY);
    screen->pressButton(Button1);
    screen->releaseButton(Button1);
    ASSERT_TRUE(idleUntilAutomation(*second, secondHost, 1));
    EXPECT_EQ(secondHost.requestsWith(audioMasterAutomate)[0].index, kSwitchParam);
    EXPECT_EQ(waitForPanel(*second, secondWindow), "");
    second->dispatch(effEditClose);
}

int hostErrors = 0;
int countHostError(Display*, XErrorEvent*) {
    ++hostErrors;
    return 0;
}

// Some hosts destroy their window before they close the editor. The editor's
// requests on its vanished window fail quietly, and the host's own error
// handler neither hears of them nor is replaced.
TEST_F(EditorInX11, HostWindowDestroyedBeforeClose) {
    hostErrors = 0;
    XSetErrorHandler(&countHostError);
    for (bool idleInBetween : {true, false}) {
        SCOPED_TRACE(idleInBetween ? "idled after the window went" : "closed at once");
        const Window doomed = screen->createHostWindow(kHostX, kHostY + 200, kPanelWidth, kPanelHeight);
        ASSERT_EQ(openEditor(*plugin, doomed), 1);
        ASSERT_EQ(waitForPanel(*plugin, doomed), "");
        plugin->setParameter(kVolumeParam, idleInBetween ? 0.2f : 0.8f);
        screen->destroyWindow(doomed);
        if (idleInBetween) plugin->dispatch(effEditIdle);
        plugin->dispatch(effEditClose);
    }
    EXPECT_EQ(hostErrors, 0);
    EXPECT_EQ(XSetErrorHandler(nullptr), &countHostError);
}

// A resource id that no client holds (the last of the 256th client's), a
// pointer to memory and no pointer at all: the editor answers that it could
// not make its window, and keeps no connection.
TEST_F(EditorInX11, WindowIdThatNamesNothingIsRefused) {
    const int descriptors = openFileDescriptors();
    int memory = 0;
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{0x1FFFFFFE})), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, &memory), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(openFileDescriptors(), descriptors);
}

// Without a display the library loads, plays and answers the editor requests;
// opening answers as if the window could not be made. No Xvfb needed.
TEST(EditorWithoutX11Display, OpenIsRefusedAndTheRestCarriesOn) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    std::string error;
    auto library = vsthost::PluginLibrary::open(ORRELUNE_PATH, error);
    ASSERT_TRUE(library) << error;
    vsthost::Host host;
    auto plugin = vsthost::Plugin::create(*library, host, error);
    ASSERT_TRUE(plugin) << error;
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{0x200001})), 0);
    plugin->dispatch(effEditIdle);
    plugin->setParameter(kVolumeParam, 0.3f);
    EXPECT_EQ(plugin->getParameter(kVolumeParam), 0.3f);
    plugin->dispatch(effEditClose);
    plugin.reset();
    if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace x11test

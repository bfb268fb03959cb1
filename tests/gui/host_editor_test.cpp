// The editor as a host sees it through the built library: the record's
// flags and the editor requests.
#include <gtest/gtest.h>

#include <tuple>

#include "tools/host/Plugin.h"

namespace {

class HostEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        library = vsthost::PluginLibrary::open(ORRELUNE_PATH, error);
        ASSERT_TRUE(library) << error;
        plugin = vsthost::Plugin::create(*library, host, error);
        ASSERT_TRUE(plugin) << error;
    }

    vsthost::Host host;
    std::unique_ptr<vsthost::PluginLibrary> library;
    std::unique_ptr<vsthost::Plugin> plugin;
};

TEST_F(HostEditorTest, RecordAnnouncesTheEditor) { EXPECT_EQ(plugin->effect()->flags, 0x131); }

// The Linux library opens its panel only in a host's X11 window (tests/x11
// open it in one); a pointer to memory is refused like a window that could
// not be made, and the rectangle stays what it was.
TEST_F(HostEditorTest, RectangleIs785By82BeforeAndAfterAnOpen) {
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::tuple(rect->top, rect->left, rect->bottom, rect->right), std::tuple(0, 0, 82, 785));

    int hostWindow = 0;
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, &hostWindow), 0);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
    ERect* openRect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &openRect), 1);
    EXPECT_EQ(openRect, rect);
    EXPECT_EQ(plugin->dispatch(effEditClose), 0);
}

// The editor's keys and knob mode are not taken.
TEST_F(HostEditorTest, KeysAndKnobModeAreDeclined) {
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 65, 0x41, nullptr, 0.0f), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyUp, 65, 0x41, nullptr, 0.0f), 0);
    EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 0);
}

// Two instances each with an editor, closed in either order.
TEST_F(HostEditorTest, TwoInstancesCloseInEitherOrder) {
    std::string error;
    auto second = vsthost::Plugin::create(*library, host, error);
    ASSERT_TRUE(second) << error;
    int hostWindow = 0;
    EXPECT_EQ(second->dispatch(effEditOpen, 0, 0, &hostWindow), 0);
    plugin.reset();
    EXPECT_EQ(second->dispatch(effEditClose), 0);
}

}  // namespace

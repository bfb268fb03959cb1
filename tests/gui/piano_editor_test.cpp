// The instrument's panel as a whole: its rectangle, its controls in their
// order and places, what a missing picture leaves out, opening and closing,
// and the shared window class.
#include <tuple>

#include "gui/GuiKnob.h"
#include "gui/GuiSwitch.h"
#include "host/ModuleHandle.h"
#include "tests/gui/PanelFixture.h"

namespace {

using PianoEditorTest = PanelFixture;

std::vector<int> paramOrder(const GuiWindow& window) {
    std::vector<int> order;
    for (const auto& c : window.getControls()) order.push_back(c->paramIndex);
    return order;
}

const std::vector<int> kSwitchParams = {0, 4};
const std::vector<int> kKnobParams = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11};

TEST_F(PianoEditorTest, RectangleIs785By82BeforeOpening) {
    ERect* rect = nullptr;
    ASSERT_TRUE(editor->getRect(&rect));
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::tuple(rect->top, rect->left, rect->bottom, rect->right), std::tuple(0, 0, 82, 785));
    EXPECT_FALSE(editor->isOpen());
}

// Switches first, then the knobs left to right, each where the panel shows it.
TEST_F(PianoEditorTest, TwelveControlsInListOrderAtTheirPlaces) {
    const auto& controls = editor->getControls();
    ASSERT_EQ(controls.size(), 12u);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const panel::ControlPlace& place = panel::kControls[i];
        const GuiControl& c = *controls[i];
        EXPECT_EQ(std::tuple(c.left, c.top, c.paramIndex), std::tuple(place.left, place.top, place.paramIndex));
        EXPECT_EQ(c.owner, editor);
        if (i < 2) {
            EXPECT_NE(dynamic_cast<const GuiSwitch*>(&c), nullptr);
            EXPECT_EQ(std::tuple(c.width, c.height, c.getValue()), std::tuple(25, 17, 0.0f));
        } else {
            EXPECT_NE(dynamic_cast<const GuiKnob*>(&c), nullptr);
            EXPECT_EQ(std::tuple(c.width, c.height, c.getValue()), std::tuple(26, 26, 0.5f));
        }
    }
    // Within a section the knobs stand 48 pixels apart.
    EXPECT_EQ(controls[3]->left - controls[2]->left, 48);
    EXPECT_EQ(controls[11]->left - controls[10]->left, 48);
}

TEST_F(PianoEditorTest, ClicksOnTheSwitchEdgeAndOnLetteringChangeNothing) {
    EXPECT_EQ(editor->controlAt(36, 47), editor->getControls()[0].get());
    EXPECT_EQ(editor->controlAt(24, 47), nullptr);  // its left edge
    // A title, a caption, a bracket and the label.
    for (const auto& [x, y] : {std::pair{110, 12}, {84, 67}, {12, 25}, {700, 45}}) {
        press(x, y);
        release(x, y);
        EXPECT_EQ(editor->controlAt(x, y), nullptr);
    }
    EXPECT_TRUE(callLog().empty());
}

struct MissingCase {
    int resource;
    std::vector<int> expectedParams;
};

class MissingPictureTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(MissingPictureTest, LeavesOutOnlyTheControlsThatNeedIt) {
    gui::RasterPlatform platform(gui::embeddedResources().without(GetParam().resource));
    PanelTestEffect effect;
    auto* editor = new PianoEditor(&effect, platform);
    effect.attach(editor);
    EXPECT_EQ(paramOrder(*editor), GetParam().expectedParams);
    ERect* rect = nullptr;
    EXPECT_TRUE(editor->getRect(&rect));
    EXPECT_EQ(effect.getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
}

INSTANTIATE_TEST_SUITE_P(Bitmaps, MissingPictureTest,
                         ::testing::Values(MissingCase{panel::kSwitchResource, kKnobParams},
                                           MissingCase{panel::kKnobStripResource, kSwitchParams},
                                           MissingCase{panel::kKnobMaskResource, kSwitchParams}));

TEST(CorruptPictureTest, ACorruptPictureCountsAsMissing) {
    static const std::uint8_t truncated[] = {'B', 'M', 0, 0};
    gui::ResourceSet resources = gui::embeddedResources();
    resources.add(panel::kSwitchResource, truncated, sizeof truncated);
    gui::RasterPlatform platform(resources);
    PanelTestEffect effect;
    PianoEditor editor(&effect, platform);
    EXPECT_EQ(paramOrder(editor), kKnobParams);
}

TEST_F(PianoEditorTest, OpenCloseAndOpenAgain) {
    open();
    EXPECT_TRUE(editor->isOpen());
    auto& first = window();
    EXPECT_EQ(first.parent(), &hostWindow);
    EXPECT_EQ(first.image().width(), 785);
    EXPECT_EQ(first.image().height(), 82);
    editor->close();
    EXPECT_FALSE(editor->isOpen());
    editor->close();  // a second close finds nothing to do
    EXPECT_FALSE(editor->isOpen());

    int otherHostWindow = 0;
    EXPECT_TRUE(editor->open(&otherHostWindow));
    EXPECT_EQ(window().parent(), &otherHostWindow);
}

// A second open without a close replaces the first window rather than leaving it behind.
TEST_F(PianoEditorTest, SecondOpenKeepsOnlyTheNewWindow) {
    open();
    int otherHostWindow = 0;
    EXPECT_TRUE(editor->open(&otherHostWindow));
    EXPECT_EQ(window().parent(), &otherHostWindow);
    editor->close();
    EXPECT_EQ(editor->getNativeWindow(), nullptr);
}

// With no window the editor is not open and draws nothing, and it says so.
TEST_F(PianoEditorTest, AWindowThatCannotBeCreatedLeavesTheEditorClosed) {
    platform.setWindowCreationFails(true);
    EXPECT_FALSE(editor->open(&hostWindow));
    EXPECT_FALSE(editor->isOpen());
    effect.setParameter(1, 1.0f);
    EXPECT_TRUE(control(1).dirty);
    EXPECT_FALSE(editor->open(nullptr));
}

// Every editor in the process shares the class: the first registers it, the
// last one destroyed releases it.
TEST(WindowClassTest, RegisteredOnceAndReleasedWithTheLastEditor) {
    gui::RasterPlatform platform(gui::embeddedResources());
    ASSERT_EQ(GuiWindow::getClassUseCount(), 0);
    PanelTestEffect firstEffect, secondEffect;
    auto first = std::make_unique<PianoEditor>(&firstEffect, platform);
    auto second = std::make_unique<PianoEditor>(&secondEffect, platform);
    EXPECT_EQ(GuiWindow::getClassUseCount(), 2);
    EXPECT_EQ(platform.registrationCount(), 1);
    first.reset();
    EXPECT_TRUE(platform.isClassRegistered(moduleInstance));
    second.reset();
    EXPECT_FALSE(platform.isClassRegistered(moduleInstance));
    EXPECT_EQ(GuiWindow::getClassUseCount(), 0);
}

}  // namespace

// Bringing controls into line with parameter values set elsewhere: the
// tolerance, every matching control, no report back to the effect, and
// nothing drawn until the window draws.
#include "tests/gui/PanelFixture.h"

namespace {

constexpr int kAToneParam = 1;
constexpr int kAModeParam = 0;

using SyncTest = PanelFixture;

struct ToleranceCase {
    float offset;
    bool changes;
};

// A control within 0.0001 of the new value is left alone: that is how a
// control's own report, echoed back by the effect, costs nothing.
TEST_F(SyncTest, ControlsWithinATenThousandthAreLeftAlone) {
    const ToleranceCase cases[] = {{0.00005f, false}, {-0.00005f, false}, {0.0002f, true}, {-0.0002f, true}};
    for (const ToleranceCase& c : cases) {
        control(kAToneParam).setValue(0.3f, false);
        editor->syncControl(kAToneParam, 0.3f + c.offset);
        EXPECT_EQ(control(kAToneParam).getValue() != 0.3f, c.changes) << "offset " << c.offset;
    }
}

TEST_F(SyncTest, SyncNeverReportsToTheEffect) {
    editor->syncControl(kAToneParam, 0.9f);
    editor->syncControl(kAModeParam, 1.0f);
    effect.values.fill(0.25f);
    editor->syncAllControls();
    EXPECT_TRUE(callLog().empty());
}

TEST_F(SyncTest, SyncAllTakesEveryParameterWithoutTolerance) {
    for (int i = 0; i < PanelTestEffect::kParameterCount; ++i) effect.values[i] = 0.5f + 0.00001f * i;
    editor->syncAllControls();
    for (const auto& c : editor->getControls()) EXPECT_EQ(c->getValue(), effect.values[c->paramIndex]);
}

TEST_F(SyncTest, SyncOfAnUnknownParameterTouchesNothing) {
    for (const auto& c : editor->getControls()) c->dirty = false;
    editor->syncControl(12, 1.0f);
    editor->syncControl(-1, 1.0f);
    for (const auto& c : editor->getControls()) EXPECT_FALSE(c->dirty);
}

// While closed nothing is drawn; the flags wait for the next paint, which draws everything.
TEST_F(SyncTest, WhileClosedValuesChangeAndFlagsWait) {
    for (const auto& c : editor->getControls()) c->dirty = false;
    effect.setParameter(kAToneParam, 0.9f);
    EXPECT_EQ(control(kAToneParam).getValue(), 0.9f);
    EXPECT_TRUE(control(kAToneParam).dirty);

    open();
    window().paint();
    for (const auto& c : editor->getControls()) EXPECT_FALSE(c->dirty);
}

// An open editor draws a parameter change at once, from the caller's thread.
TEST_F(SyncTest, ParameterChangeDrawsAtOnceWhenOpen) {
    open();
    window().paint();
    effect.setParameter(kAToneParam, 0.9f);
    EXPECT_FALSE(control(kAToneParam).dirty);
}

}  // namespace

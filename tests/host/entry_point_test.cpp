// The library's entry point and the effect record, seen from a host.
#include <cstring>

#include "tests/host/TestEffectFixture.h"

using EntryPointTest = TestEffectFixture;

TEST_F(EntryPointTest, ExportsTheSameFunctionUnderBothNames) {
    void* modern = library->symbol("VSTPluginMain");
    void* legacy = library->symbol("main");
    ASSERT_NE(modern, nullptr);
    EXPECT_EQ(modern, legacy);
}

TEST_F(EntryPointTest, VersionProbeDecidesWhetherAnInstanceIsMade) {
    struct Case {
        VstIntPtr answer;
        bool created;
    };
    // 0 is the only answer that refuses: the version the host names is not kept.
    for (Case c : {Case{0, false}, Case{1, true}, Case{2300, true}, Case{2400, true}}) {
        host.setAnswer(audioMasterVersion, c.answer);
        host.clearRequests();
        std::string error;
        auto plugin = vsthost::Plugin::create(*library, host, error);
        EXPECT_EQ(static_cast<bool>(plugin), c.created) << "answer " << c.answer;
        EXPECT_EQ(state->liveInstances, c.created ? 1 : 0) << "answer " << c.answer;
        auto probes = host.requestsWith(audioMasterVersion);
        ASSERT_EQ(probes.size(), 1u);
        EXPECT_EQ(probes[0].effect, nullptr);  // asked before any record exists
    }
    EXPECT_EQ(state->constructed, 3);
}

TEST_F(EntryPointTest, RecordHoldsTheBaseValues) {
    auto plugin = create();
    const AEffect& effect = *plugin->effect();
    EXPECT_EQ(effect.magic, 0x56737450);  // 'VstP'
    EXPECT_EQ(effect.numPrograms, 3);
    EXPECT_EQ(effect.numParams, 4);
    EXPECT_EQ(effect.numInputs, 1);
    EXPECT_EQ(effect.numOutputs, 2);
    EXPECT_EQ(effect.flags, effFlagsCanReplacing | effFlagsHasEditor);
    EXPECT_EQ(effect.resvd1, 0);
    EXPECT_EQ(effect.resvd2, 0);
    EXPECT_EQ(effect.initialDelay, 0);
    EXPECT_EQ(effect.realQualities, 0);
    EXPECT_EQ(effect.offQualities, 0);
    EXPECT_EQ(effect.ioRatio, 1.0f);
    EXPECT_EQ(effect.user, nullptr);
    EXPECT_EQ(effect.uniqueID, 0x4E6F4566);  // 'NoEf'
    EXPECT_EQ(effect.version, 1);
    EXPECT_NE(effect.object, nullptr);
    EXPECT_NE(effect.processReplacing, nullptr);
    EXPECT_NE(effect.processDoubleReplacing, nullptr);
    const char zeros[sizeof effect.future] = {};
    EXPECT_EQ(std::memcmp(effect.future, zeros, sizeof zeros), 0);
}

TEST_F(EntryPointTest, RecordWithoutEditorClearsTheEditorFlag) {
    state->withEditor = false;
    auto plugin = create();
    EXPECT_EQ(plugin->effect()->flags, effFlagsCanReplacing);
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 65, 0x141, nullptr, 2.7f), 0);
}

TEST_F(EntryPointTest, CloseAnswersOneAndDestroysInstanceAndEditor) {
    auto plugin = create();
    ASSERT_EQ(state->liveInstances, 1);
    ASSERT_EQ(state->liveEditors, 1);
    EXPECT_EQ(plugin->close(), 1);
    EXPECT_EQ(state->closes, 1);
    EXPECT_EQ(state->liveInstances, 0);
    EXPECT_EQ(state->liveEditors, 0);
}

TEST_F(EntryPointTest, InstancesAreIndependent) {
    auto first = create();
    auto second = create();
    EXPECT_NE(first->effect(), second->effect());
    EXPECT_NE(first->effect()->object, second->effect()->object);
    first->close();
    EXPECT_EQ(state->liveInstances, 1);
    second->dispatch(effSetProgram, 0, 2);
    EXPECT_EQ(second->dispatch(effGetProgram), 2);
}

TEST_F(EntryPointTest, OnlyTheReplacingEntryWritesTheOutputs) {
    auto plugin = create();
    float left[4] = {7, 7, 7, 7};
    float right[4] = {7, 7, 7, 7};
    float* outputs[2] = {left, right};
    plugin->effect()->process(plugin->effect(), nullptr, outputs, 4);
    double leftD[4] = {7, 7, 7, 7};
    double rightD[4] = {7, 7, 7, 7};
    double* outputsD[2] = {leftD, rightD};
    plugin->effect()->processDoubleReplacing(plugin->effect(), nullptr, outputsD, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(left[i], 7.0f);
        EXPECT_EQ(right[i], 7.0f);
        EXPECT_EQ(leftD[i], 7.0);
        EXPECT_EQ(rightD[i], 7.0);
    }
    plugin->processReplacing(nullptr, outputs, 4);
    EXPECT_EQ(left[3], 3.0f);
    EXPECT_EQ(right[3], -3.0f);
}

TEST_F(EntryPointTest, NullHostCallbackStillCreatesAnInstanceThatNeverCallsBack) {
    std::string error;
    auto plugin = vsthost::Plugin::create(*library, host, nullptr, error);
    ASSERT_TRUE(plugin) << error;
    plugin->dispatch(effVendorSpecific, 3, 0, nullptr, 0.25f);  // setParameterAutomated(3, 0.25)
    EXPECT_EQ(plugin->getParameter(3), 0.25f);
    EXPECT_TRUE(host.requests().empty());
}

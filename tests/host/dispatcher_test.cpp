// The base dispatchers' answers and the requests the base classes send back.
#include <cstring>

#include "tests/host/TestEffectFixture.h"

class DispatcherTest : public TestEffectFixture {
protected:
    void SetUp() override {
        TestEffectFixture::SetUp();
        plugin = create();
        ASSERT_TRUE(plugin);
        host.clearRequests();
    }
    std::unique_ptr<vsthost::Plugin> plugin;
};

TEST_F(DispatcherTest, FixedAnswersOfTheBase) {
    struct Case {
        VstInt32 opcode;
        VstIntPtr value;
        VstIntPtr expected;
    };
    const Case cases[] = {
        {effIdentify, 0, 0x4E764566},  // 'NvEf'
        {effGetVstVersion, 0, 2400},
        {effGetPlugCategory, 0, kPlugCategUnknown},  // the test effect is no synth
        {effGetCurrentMidiProgram, 0, -1},
        {effSetTotalSampleToProcess, 12345, 12345},  // echoes its value
        {effGetVendorVersion, 0, 0},
        {effGetTailSize, 0, 0},
        {effCanBeAutomated, 0, 0},
        {effString2Parameter, 0, 0},
        {effGetNumMidiInputChannels, 0, 0},
        {effGetNumMidiOutputChannels, 0, 0},
        {effStartProcess, 0, 0},
        {effStopProcess, 0, 0},
        {effBeginSetProgram, 0, 0},
        {effEndSetProgram, 0, 0},
        {effSetBypass, 1, 0},
        {effSetProcessPrecision, 1, 0},
        {effProcessVarIo, 0, 0},
        {effShellGetNextPlugin, 0, 0},
        {effHasMidiProgramsChanged, 0, 0},
        {effGetMidiKeyName, 0, 0},
        // Unhandled numbers, deprecated ones, negative and future opcodes.
        {effGetVu, 0, 0},
        {effEditDraw, 0, 0},
        {effEditMouse, 0, 0},
        {effEditKey, 0, 0},
        {effEditTop, 0, 0},
        {effEditSleep, 0, 0},
        {effGetNumProgramCategories, 0, 0},
        {effCopyProgram, 0, 0},
        {effConnectInput, 0, 0},
        {effConnectOutput, 0, 0},
        {effGetCurrentPosition, 0, 0},
        {effGetDestinationBuffer, 0, 0},
        {effSetBlockSizeAndSampleRate, 0, 0},
        {effGetErrorText, 0, 0},
        {effIdle, 0, 0},
        {effGetIcon, 0, 0},
        {effSetViewPosition, 0, 0},
        {effKeysRequired, 0, 0},
        {80, 0, 0},
        {-1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plugin->dispatch(c.opcode, 0, c.value), c.expected) << "opcode " << c.opcode;
    }
    EXPECT_TRUE(host.requests().empty());
}

TEST_F(DispatcherTest, TextOperationsOfTheBaseWriteEmptyTexts) {
    for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        char buffer[16];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, buffer), 0);
        EXPECT_EQ(buffer[0], 0) << "opcode " << opcode;
        EXPECT_EQ(buffer[1], 'x') << "opcode " << opcode;  // a single zero byte, nothing more
    }
}

TEST_F(DispatcherTest, ProgramNumbersOutsideTheBankAreIgnored) {
    plugin->dispatch(effSetProgram, 0, 2);
    for (VstIntPtr outside : {VstIntPtr{3}, VstIntPtr{-1}, VstIntPtr{1} << 40}) {
        plugin->dispatch(effSetProgram, 0, outside);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 2) << outside;
    }
    EXPECT_EQ(state->lastProgram, 2);
}

TEST_F(DispatcherTest, ConfigurationReachesTheEffect) {
    plugin->setSampleRate(48000.0f);
    plugin->setBlockSize(256);
    EXPECT_EQ(state->lastSampleRate, 48000.0f);
    EXPECT_EQ(state->lastBlockSize, 256);
    // Any non-zero value switches the effect on.
    plugin->dispatch(effMainsChanged, 0, 2);
    plugin->dispatch(effMainsChanged, 0, 1);
    plugin->dispatch(effMainsChanged, 0, 0);
    EXPECT_EQ(state->resumes, 2);
    EXPECT_EQ(state->suspends, 1);
    plugin->dispatch(effOpen);
    EXPECT_EQ(state->opens, 1);
}

TEST_F(DispatcherTest, EditorKeysArriveAsKeyRecords) {
    // character from index, virt from the low byte of value, modifier from opt truncated.
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 65, 0x141, nullptr, 2.7f), 0);
    EXPECT_EQ(state->lastKeyDown.character, 65);
    EXPECT_EQ(state->lastKeyDown.virt, 0x41);
    EXPECT_EQ(state->lastKeyDown.modifier, 2);
    EXPECT_EQ(plugin->dispatch(effEditKeyUp, 66, 0x2FF, nullptr, 1.0f), 0);
    EXPECT_EQ(state->lastKeyUp.character, 66);
    EXPECT_EQ(state->lastKeyUp.virt, 0xFF);
    EXPECT_EQ(state->lastKeyUp.modifier, 1);
    // A modifier far outside the integer range must not be undefined behaviour.
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 1, 0, nullptr, 1e30f), 0);
    EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 0);
}

TEST_F(DispatcherTest, EditorRectAndOpenClose) {
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right, 40);
    EXPECT_EQ(rect->bottom, 20);
    int parent = 0;
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, &parent), 1);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
    EXPECT_EQ(plugin->dispatch(effEditClose), 0);
}

TEST_F(DispatcherTest, SpeakerArrangementAnswersNullsAndZero) {
    int dummy = 0;
    auto* input = reinterpret_cast<VstSpeakerArrangement*>(&dummy);
    auto* output = reinterpret_cast<VstSpeakerArrangement*>(&dummy);
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&input), &output), 0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(plugin->dispatch(effSetSpeakerArrangement, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, ChunksOfTheBaseAreEmpty) {
    void* data = &data;
    EXPECT_EQ(plugin->dispatch(effGetChunk, 0, 0, &data), 0);
    char bytes[8] = {};
    EXPECT_EQ(plugin->dispatch(effSetChunk, 1, sizeof bytes, bytes), 0);
}

TEST_F(DispatcherTest, AutomationSetsTheValueThenReportsIt) {
    plugin->dispatch(effVendorSpecific, 2, 0, nullptr, 0.75f);  // setParameterAutomated(2, 0.75)
    EXPECT_EQ(plugin->getParameter(2), 0.75f);
    auto reports = host.requestsWith(audioMasterAutomate);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].effect, plugin->effect());
    EXPECT_EQ(reports[0].index, 2);
    EXPECT_EQ(reports[0].value, 0);
    EXPECT_EQ(reports[0].ptr, nullptr);
    EXPECT_EQ(reports[0].opt, 0.75f);
}

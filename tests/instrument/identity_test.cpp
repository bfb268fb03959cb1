// What a host learns of the instrument before it plays a note.
#include "tests/instrument/OrreluneFixture.h"

using IdentityTest = OrreluneFixture;

namespace {
// Ballad, program 0, as bit patterns: the values a new instance starts with.
constexpr uint32_t kBalladBits[12] = {0x3C23D70A, 0x3EA8F5B8, 0x3F5D7098, 0x3F55C282, 0x00000000, 0x3E147AD8,
                                      0x3F800000, 0x3F30A3DC, 0x3F800000, 0x3EF0A3C8, 0x3EB33328, 0x3F7AE138};
constexpr char kMarker = '#';
}  // namespace

TEST_F(IdentityTest, RecordDescribesAStereoSynthWithChunks) {
    const AEffect& effect = *plugin->effect();
    EXPECT_EQ(effect.magic, 0x56737450);
    EXPECT_EQ(effect.numPrograms, 8);
    EXPECT_EQ(effect.numParams, 12);
    EXPECT_EQ(effect.numInputs, 0);
    EXPECT_EQ(effect.numOutputs, 2);
    EXPECT_EQ(effect.flags & ~effFlagsHasEditor, 0x130);
    EXPECT_EQ(effect.initialDelay, 0);
    EXPECT_EQ(effect.ioRatio, 1.0f);
    EXPECT_EQ(effect.uniqueID, 0x51564F52);  // 'QVOR'
    EXPECT_EQ(effect.version, 1);
    EXPECT_EQ(effect.user, nullptr);
}

TEST_F(IdentityTest, FixedAnswers) {
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
    for (VstInt32 index : {0, 11, 12, -1, 1000}) {
        EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), 1) << index;
    }
}

TEST_F(IdentityTest, StartsOnProgramZero) {
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(bitsOf(plugin->getParameter(i)), kBalladBits[i]) << "parameter " << i;
    }
}

TEST_F(IdentityTest, TextsFillExactlyTheirLengthPlusAZero) {
    struct Case {
        VstInt32 opcode;
        VstInt32 index;
        const char* text;
        int length;  // characters the host's buffer receives before the final zero
    };
    const Case cases[] = {
        {effGetEffectName, 0, "Orrelune", 32},
        {effGetProductString, 0, "QV's Orrelune", 64},
        {effGetVendorString, 0, "Quorvel", 64},
        {effGetParamName, 0, "A Mode", 8},
        {effGetParamName, 9, "Velocity", 8},  // exactly 8 letters
        {effGetParamName, 11, "Chorus", 8},
        {effGetParamLabel, 3, "Ynk", 8},
        {effGetParamLabel, 99, "Ynk", 8},
        {effGetParamDisplay, 5, "A few", 8},
        {effGetParamDisplay, -4, "A few", 8},
        {effGetProgramName, 0, "Ballad", 24},
    };
    for (const Case& c : cases) {
        char buffer[100];
        std::memset(buffer, kMarker, sizeof buffer);
        plugin->dispatch(c.opcode, c.index, 0, buffer);
        EXPECT_STREQ(buffer, c.text) << "opcode " << c.opcode;
        for (int i = static_cast<int>(std::strlen(c.text)); i <= c.length; ++i) {
            EXPECT_EQ(buffer[i], 0) << "opcode " << c.opcode << " byte " << i;
        }
        EXPECT_EQ(buffer[c.length + 1], kMarker) << "opcode " << c.opcode << " wrote too far";
    }
}

TEST_F(IdentityTest, NamesOutsideTheTablesLeaveTheBufferAlone) {
    char buffer[32];
    std::memset(buffer, kMarker, sizeof buffer);
    plugin->dispatch(effGetParamName, 12, 0, buffer);
    plugin->dispatch(effGetParamName, -1, 0, buffer);
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, 8, 0, buffer), 0);
    EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, -1, 0, buffer), 0);
    for (char c : buffer) EXPECT_EQ(c, kMarker);
}

TEST_F(IdentityTest, ProgramNamesByIndexIgnoreTheCategory) {
    const char* names[8] = {"Ballad", "Intimate", "Compact", "Plucky", "Bad Grand", "Softy", "Better Grand", "Jazzy"};
    for (int p = 0; p < 8; ++p) {
        char buffer[32] = {};
        EXPECT_EQ(plugin->dispatch(effGetProgramNameIndexed, p, 7, buffer), 1);
        EXPECT_STREQ(buffer, names[p]);
    }
}

TEST_F(IdentityTest, CanDoAnswersOnlyItsExactTexts) {
    struct Case {
        const char* text;
        VstIntPtr answer;
    };
    const Case cases[] = {
        {"receiveVstEvents", 1},      {"receiveVstMidiEvent", 1}, {"receiveVstTimeInfo", 1},
        {"sendVstEvents", -1},        {"", -1},                   {"receiveVstEventsX", -1},
        {"receivevstevents", -1},     {"bypass", -1},
    };
    for (const Case& c : cases) {
        char text[64];
        std::strcpy(text, c.text);
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, text), c.answer) << c.text;
    }
}

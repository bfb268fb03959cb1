// A sound saved with --save-preset and loaded with --preset renders the same
// audio, sample for sample, in both preset forms and both file kinds.
#include "tests/render/RenderFixture.h"
#include "tools/render/PresetFile.h"

using midibytes::Track;

namespace {

std::vector<uint8_t> chord() {
    Track track;
    track.event(0, {0x90, 60, 100}).event(0, {64, 80}).event(240, {60, 0}).event(100, {64, 0}).end();
    return midibytes::file(0, 480, {track});
}

struct RoundTrip {
    const char* plugin;
    const char* presetName;
};

}  // namespace

class PresetsRoundTrip : public RenderFixture, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(PresetsRoundTrip, SavedThenLoadedSoundsTheSame) {
    const std::string midi = writeFile("chord.mid", chord());
    const std::string preset = path(GetParam().presetName);
    const CommandResult saved =
        runRender({"--plugin", GetParam().plugin, "--program", "Bright", "--param", "Gain=0.3", "--param",
                   "Release=0.4", "--save-preset", preset, "-f", "wav32f", midi, path("saved.wav")});
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    const CommandResult loaded =
        runRender({"--plugin", GetParam().plugin, "--preset", preset, "-f", "wav32f", midi, path("loaded.wav")});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err;
    const CommandResult plain = runRender({"--plugin", GetParam().plugin, "-f", "wav32f", midi, path("plain.wav")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;

    const Audio a = readAudio(path("saved.wav"));
    const Audio b = readAudio(path("loaded.wav"));
    ASSERT_EQ(a.frames, b.frames);
    EXPECT_EQ(a.samples, b.samples);
    // And the preset made a difference: without it the sound is louder and shorter.
    EXPECT_NE(readAudio(path("plain.wav")).samples, a.samples);
}

INSTANTIATE_TEST_SUITE_P(Forms, PresetsRoundTrip,
                         ::testing::Values(RoundTrip{PROBE_SYNTH_PATH, "chunk.fxp"},
                                           RoundTrip{PROBE_SYNTH_PATH, "chunk.fxb"},
                                           RoundTrip{PROBE_PARAMS_PATH, "values.fxp"},
                                           RoundTrip{PROBE_PARAMS_PATH, "values.fxb"}),
                         [](const ::testing::TestParamInfo<RoundTrip>& info) {
                             const std::string name = info.param.presetName;
                             return name.substr(0, name.find('.')) + "_" + name.substr(name.find('.') + 1);
                         });

using SavePreset = RenderFixture;

TEST_F(SavePreset, WritesTheFormThePluginKeepsWithoutRendering) {
    struct Case {
        const char* plugin;
        const char* name;
        const char* type;
        std::size_t size;
    };
    // A program of four values as a 16-byte chunk or a list; three programs of
    // 24-byte names and four values as a 120-byte chunk or three lists.
    for (const Case& c : {Case{PROBE_SYNTH_PATH, "a.fxp", "FPCh", 60 + 16}, Case{PROBE_SYNTH_PATH, "a.fxb", "FBCh", 160 + 120},
                          Case{PROBE_PARAMS_PATH, "b.fxp", "FxCk", 56 + 16},
                          Case{PROBE_PARAMS_PATH, "b.fxb", "FxBk", 156 + 3 * (56 + 16)}}) {
        const CommandResult result = runRender({"--plugin", c.plugin, "--save-preset", path(c.name)});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(result.out.empty());
        std::ifstream in(path(c.name), std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(bytes.size(), c.size) << c.name;
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), c.type) << c.name;
    }
}

TEST_F(SavePreset, ABankBringsBackItsCurrentProgramAndProgramsChooseWithinIt) {
    const std::string bank = path("bank.fxb");
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "--program", "2", "--param", "Gain=0.125", "--save-preset", bank})
                  .exitCode,
              0);
    CommandResult listed = runRender({"--plugin", PROBE_SYNTH_PATH, "--preset", bank, "--list"});
    EXPECT_NE(listed.out.find(" 2  Bright   (current)"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(" 0  Gain      0.125000"), std::string::npos) << listed.out;
    listed = runRender({"--plugin", PROBE_SYNTH_PATH, "--preset", bank, "--program", "Init", "--list"});
    EXPECT_NE(listed.out.find(" 0  Gain      1.000000"), std::string::npos) << listed.out;
}

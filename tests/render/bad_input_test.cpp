// Every way the input can be wrong ends in one clear message that names the
// file or the option, a non-zero exit, and no output file, not even a
// half-written one.
#include "tests/render/RenderFixture.h"
#include "tools/render/PresetFile.h"

using midibytes::Track;

namespace {

struct BadInput {
    const char* what;
    // Builds the arguments inside the test's folder, writing what files it needs.
    std::function<std::vector<std::string>(RenderFixture&)> arguments;
    const char* message;  // with "{}" standing for the test's folder
    int exitCode = render::kExitFailure;
};

std::vector<uint8_t> goodMidi() {
    Track track;
    track.event(0, {0x90, 60, 100}).event(96, {0x80, 60, 0}).end();
    return midibytes::file(0, 96, {track});
}

std::vector<uint8_t> presetBytes(int32_t pluginId, render::PresetKind kind, render::PresetForm form,
                                 std::size_t values, std::size_t chunkSize = 16) {
    render::PresetFile preset;
    preset.kind = kind;
    preset.form = form;
    preset.pluginId = pluginId;
    preset.formatVersion = kind == render::PresetKind::Bank ? 2 : 1;
    preset.programCount = 2;
    preset.parameterCount = static_cast<int32_t>(values);
    if (form == render::PresetForm::Chunk) {
        preset.chunk.assign(chunkSize, 0);
        preset.programs.push_back({"x", {}});
    } else {
        for (int i = 0; i < (kind == render::PresetKind::Bank ? 2 : 1); ++i) {
            preset.programs.push_back({"x", std::vector<float>(values, 0.5f)});
        }
    }
    return render::serializePresetFile(preset);
}

constexpr int32_t kProbeId = 0x50726265;  // 'Prbe'

// Arguments rendering the good MIDI file with the probe, plus `extra`.
std::vector<std::string> renderWith(RenderFixture& f, std::vector<std::string> extra,
                                    const std::string& plugin = PROBE_SYNTH_PATH) {
    f.writeFile("good.mid", goodMidi());
    std::vector<std::string> arguments{"--plugin", plugin};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    arguments.push_back(f.path("good.mid"));
    arguments.push_back(f.path("out.wav"));
    return arguments;
}

std::vector<std::string> withPreset(RenderFixture& f, const std::vector<uint8_t>& bytes,
                                    const char* plugin = PROBE_SYNTH_PATH) {
    return renderWith(f, {"--preset", f.writeFile("p.fxp", bytes)}, plugin);
}

std::string substitute(std::string text, const std::string& folder) {
    for (std::size_t at = text.find("{}"); at != std::string::npos; at = text.find("{}")) text.replace(at, 2, folder);
    return text;
}

}  // namespace

class BadInputTest : public RenderFixture, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, FailsWithAClearMessageAndLeavesNoOutput) {
    const std::vector<std::string> arguments = GetParam().arguments(*this);
    const auto inputs = folderContents();
    const CommandResult result = runRender(arguments);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    const std::string expected = "orrelune-render: " + substitute(GetParam().message, folder.string());
    EXPECT_EQ(result.err.rfind(expected, 0), 0u) << result.err << "\nexpected: " << expected;
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(folderContents(), inputs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInputTest,
    ::testing::Values(
        BadInput{"MissingMidi",
                 [](RenderFixture& f) {
                     return std::vector<std::string>{"--plugin", PROBE_SYNTH_PATH, f.path("nope.mid"), f.path("o.wav")};
                 },
                 "{}/nope.mid: cannot open (No such file or directory)"},
        BadInput{"NotMidi",
                 [](RenderFixture& f) {
                     f.writeFile("text.mid", {'h', 'e', 'l', 'l', 'o'});
                     return std::vector<std::string>{f.path("text.mid"), f.path("o.wav")};
                 },
                 "{}/text.mid: not a Standard MIDI File (it does not begin with an MThd header)"},
        BadInput{"TruncatedMidi",
                 [](RenderFixture& f) {
                     std::vector<uint8_t> bytes = goodMidi();
                     bytes.resize(bytes.size() - 6);
                     f.writeFile("cut.mid", bytes);
                     return std::vector<std::string>{f.path("cut.mid"), f.path("o.wav")};
                 },
                 "{}/cut.mid: track 1: the chunk at byte 14 claims 12 bytes but only 6 remain"},
        BadInput{"EventPastTrackEnd",
                 [](RenderFixture& f) {
                     std::vector<uint8_t> bytes = midibytes::header(0, 1, 96);
                     midibytes::append(bytes, Track().event(0, {0x90, 60, 100}).raw({0x10, 0xFF, 0x2F}).chunk());
                     f.writeFile("open.mid", bytes);
                     return std::vector<std::string>{f.path("open.mid"), f.path("o.wav")};
                 },
                 "{}/open.mid: track 1: the event at byte 26 runs past the end of its track"},
        BadInput{"LibraryThatDoesNotLoad",
                 [](RenderFixture& f) {
                     f.writeFile("fake.so", {'n', 'o', 't', ' ', 'E', 'L', 'F'});
                     return renderWith(f, {}, f.path("fake.so"));
                 },
                 "{}/fake.so: cannot load the library ("},
        BadInput{"MissingLibrary", [](RenderFixture& f) { return renderWith(f, {}, "/nonexistent/synth.so"); },
                 "/nonexistent/synth.so: cannot load the library ("},
        BadInput{"NoEntryPoint", [](RenderFixture& f) { return renderWith(f, {}, NO_ENTRY_PATH); },
                 NO_ENTRY_PATH ": not a VST 2.4 plug-in (no VSTPluginMain or main entry point)"},
        BadInput{"NotAnInstrument", [](RenderFixture& f) { return renderWith(f, {}, PROBE_EFFECT_PATH); },
                 PROBE_EFFECT_PATH ": the plug-in is an effect, not an instrument"},
        BadInput{"UnknownProgram", [](RenderFixture& f) { return renderWith(f, {"--program", "Loud"}); },
                 "--program \"Loud\": no such program; the programs are 0 \"Init\", 1 \"Soft\", 2 \"Bright\""},
        BadInput{"ProgramOutOfRange", [](RenderFixture& f) { return renderWith(f, {"--program", "3"}); },
                 "--program 3: the plug-in has programs 0 to 2"},
        BadInput{"UnknownParameter", [](RenderFixture& f) { return renderWith(f, {"--param", "Volume=1"}); },
                 "--param \"Volume\": no such parameter; the parameters are \"Gain\", \"Release\", \"Shape\", "
                 "\"Drone\""},
        BadInput{"MissingPreset", [](RenderFixture& f) { return renderWith(f, {"--preset", f.path("none.fxp")}); },
                 "{}/none.fxp: cannot open (No such file or directory)"},
        BadInput{"NotAPreset", [](RenderFixture& f) { return withPreset(f, goodMidi()); },
                 "{}/p.fxp: not a preset file (it does not begin with 'CcnK')"},
        BadInput{"PresetOfAnotherPlugin",
                 [](RenderFixture& f) {
                     return withPreset(f, presetBytes(0x51564F52, render::PresetKind::Program,
                                                      render::PresetForm::Chunk, 4));
                 },
                 "{}/p.fxp: made for the plug-in with ID 'QVOR', not for this one ('Prbe')"},
        BadInput{"ChunkOfTheWrongSize",
                 [](RenderFixture& f) {
                     return withPreset(
                         f, presetBytes(kProbeId, render::PresetKind::Program, render::PresetForm::Chunk, 4, 20));
                 },
                 "{}/p.fxp: the plug-in refused its 20-byte program chunk (wrong size or content for this plug-in)"},
        BadInput{"BankChunkOfTheWrongSize",
                 [](RenderFixture& f) {
                     return withPreset(
                         f, presetBytes(kProbeId, render::PresetKind::Bank, render::PresetForm::Chunk, 4, 64));
                 },
                 "{}/p.fxp: the plug-in refused its 64-byte bank chunk"},
        BadInput{"TooFewValues",
                 [](RenderFixture& f) {
                     return withPreset(f,
                                       presetBytes(kProbeId, render::PresetKind::Program,
                                                   render::PresetForm::Parameters, 3),
                                       PROBE_PARAMS_PATH);
                 },
                 "{}/p.fxp: holds 3 parameter values but the plug-in has 4"},
        BadInput{"TooFewPrograms",
                 [](RenderFixture& f) {
                     return withPreset(
                         f, presetBytes(kProbeId, render::PresetKind::Bank, render::PresetForm::Parameters, 4),
                         PROBE_PARAMS_PATH);
                 },
                 "{}/p.fxp: holds 2 programs but the plug-in has 3"},
        BadInput{"ChunkForAPluginWithoutChunks",
                 [](RenderFixture& f) {
                     return withPreset(
                         f, presetBytes(kProbeId, render::PresetKind::Program, render::PresetForm::Chunk, 4),
                         PROBE_PARAMS_PATH);
                 },
                 "{}/p.fxp: holds a chunk, but the plug-in keeps no chunks"},
        BadInput{"OutputFolderMissing",
                 [](RenderFixture& f) {
                     std::vector<std::string> arguments = renderWith(f, {});
                     arguments.back() = f.path("missing/out.wav");
                     return arguments;
                 },
                 "{}/missing/out.wav: cannot write in {}/missing (No such file or directory)"},
        BadInput{"OutputIsAFolder",
                 [](RenderFixture& f) {
                     std::vector<std::string> arguments = renderWith(f, {});
                     arguments.back() = f.folder.string();
                     return arguments;
                 },
                 "{}: is a folder, not a file name"},
        BadInput{"PresetNameWithoutExtension",
                 [](RenderFixture& f) { return renderWith(f, {"--save-preset", f.path("sound")}); },
                 "{}/sound: a preset file needs the extension .fxp (one program) or .fxb (the whole bank)"},
        BadInput{"PresetInMissingFolder",
                 [](RenderFixture& f) { return renderWith(f, {"--save-preset", f.path("no/sound.fxp")}); },
                 "{}/no/sound.fxp: cannot write in {}/no"},
        BadInput{"UsageError", [](RenderFixture& f) { return renderWith(f, {"--rate", "fast"}); },
                 "--rate fast: expected a whole number from 8000 to 384000", render::kExitUsage}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.what); });

using Interruption = RenderFixture;

TEST_F(Interruption, StopsAtTheNextBlockAndRemovesTheUnfinishedFile) {
    writeFile("good.mid", goodMidi());
    volatile std::sig_atomic_t stop = 1;
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, path("good.mid"), path("out.wav")}, &stop);
    EXPECT_EQ(result.exitCode, render::kExitFailure);
    EXPECT_EQ(result.err, "orrelune-render: interrupted\n");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"good.mid"});
}

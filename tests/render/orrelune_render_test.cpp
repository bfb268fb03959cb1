// The renderer with the real instrument and the real executable: the
// bundled example, timing to the frame, and presets that bring a sound back.
#include <sys/wait.h>

#include <cstdio>

#include "tests/render/RenderFixture.h"
#include "tools/render/DefaultPlugin.h"

using midibytes::Track;

namespace {

float peakOf(const Audio& audio) {
    float peak = 0.0f;
    for (float sample : audio.samples) peak = std::max(peak, std::fabs(sample));
    return peak;
}

struct ProcessResult {
    int exitCode;
    std::string out;
};

ProcessResult runExecutable(const std::string& arguments) {
    const std::string command = std::string(RENDER_EXECUTABLE) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ProcessResult result{-1, {}};
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, got);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<uint8_t> phrase() {
    Track track;
    track.event(0, {0x90, 48, 90}).event(0, {55, 70}).event(120, {64, 100}).event(120, {0xE0, 0x00, 0x50});
    track.event(120, {0x80, 64, 0}).event(0, {0x90, 72, 110}).event(240, {48, 0}).event(0, {55, 0}).event(0, {72, 0});
    return midibytes::file(0, 480, {track.end()});
}

}  // namespace

using OrreluneRender = RenderFixture;

TEST_F(OrreluneRender, RendersTheBundledExample) {
    const CommandResult result = runRender({"--plugin", ORRELUNE_PATH, "--program", "Better Grand", "-f", "wav32f",
                                            EXAMPLE_MIDI_PATH, path("example.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Audio audio = readAudio(path("example.wav"));
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.sampleRate, 44100);
    EXPECT_GT(audio.frames, 60 * 44100);  // the piece lasts well over a minute
    const float peak = peakOf(audio);
    EXPECT_GT(peak, 0.3f);
    EXPECT_LT(peak, 1.0f);  // this program plays the example without clipping
}

TEST_F(OrreluneRender, ANoteStartsAtItsOwnFrameWhateverTheBlockSize) {
    // A tick is 50 frames at 48000 Hz, 480 ticks a quarter and 120 bpm: the note starts at frame 1000.
    Track track;
    track.event(20, {0x90, 69, 127}).event(480, {0x80, 69, 0}).end();
    const std::string midi = writeFile("note.mid", midibytes::file(0, 480, {track}));
    std::vector<Audio> renders;
    for (const char* block : {"64", "1000", "333"}) {
        const std::string out = path(std::string("b") + block + ".wav");
        ASSERT_EQ(runRender({"--plugin", ORRELUNE_PATH, "-r", "48000", "-b", block, "-f", "wav32f", midi, out})
                      .exitCode,
                  0);
        renders.push_back(readAudio(out));
    }
    const Audio& audio = renders[0];
    for (int64_t frame = 0; frame < 1000; ++frame) ASSERT_EQ(audio.at(frame, 0), 0.0f) << frame;
    bool sounding = false;
    for (int64_t frame = 1000; frame < 1003; ++frame) sounding = sounding || audio.at(frame, 0) != 0.0f;
    EXPECT_TRUE(sounding);
    // Nothing is moved to a block boundary, so the block size changes nothing
    // through the note-off at frame 25000 and into the release. (Once the
    // release has run out the voice stops at the end of a block, so the last
    // traces of its filter depend on where blocks end.)
    const std::size_t compared = 2 * (25000 + 480);
    for (std::size_t render = 1; render < renders.size(); ++render) {
        ASSERT_GE(renders[render].samples.size(), compared);
        EXPECT_TRUE(std::equal(audio.samples.begin(), audio.samples.begin() + compared,
                               renders[render].samples.begin()))
            << render;
    }
}

TEST_F(OrreluneRender, PresetsBringTheSoundBackExactly) {
    const std::string midi = writeFile("phrase.mid", phrase());
    const std::vector<std::string> sound{"--program", "Plucky", "--param", "A Decay=0.3", "--param", "B Decay=0.7",
                                         "--param",   "Decay=0.45", "--param", "Volume=0.5"};
    for (const char* preset : {"sound.fxp", "sound.fxb"}) {
        std::vector<std::string> save{"--plugin", ORRELUNE_PATH, "-f", "wav32f", "--save-preset", path(preset)};
        save.insert(save.end(), sound.begin(), sound.end());
        save.push_back(midi);
        save.push_back(path("saved.wav"));
        ASSERT_EQ(runRender(save).exitCode, 0);
        ASSERT_EQ(runRender({"--plugin", ORRELUNE_PATH, "-f", "wav32f", "--preset", path(preset), midi,
                             path("loaded.wav")})
                      .exitCode,
                  0);
        EXPECT_EQ(readAudio(path("loaded.wav")).samples, readAudio(path("saved.wav")).samples) << preset;
    }
    ASSERT_EQ(runRender({"--plugin", ORRELUNE_PATH, "-f", "wav32f", "--program", "Plucky", midi, path("plain.wav")})
                  .exitCode,
              0);
    EXPECT_NE(readAudio(path("plain.wav")).samples, readAudio(path("saved.wav")).samples);
}

TEST_F(OrreluneRender, FindsTheBuiltInstrumentByDefault) {
    std::string error;
    const std::optional<std::string> found = render::findDefaultPlugin(error);
    ASSERT_TRUE(found) << error;
    EXPECT_EQ(render::defaultPluginCandidates().back(), ORRELUNE_PATH);
}

TEST_F(OrreluneRender, TheExecutableRendersWithItsDefaultInstrument) {
    const std::string midi = writeFile("phrase.mid", phrase());
    const ProcessResult rendered = runExecutable("--program Jazzy " + midi + " " + path("out.wav"));
    EXPECT_EQ(rendered.exitCode, 0) << rendered.out;
    EXPECT_NE(rendered.out.find(path("out.wav") + ": 0:0"), std::string::npos) << rendered.out;
    EXPECT_GT(readAudio(path("out.wav")).frames, 27562);  // the phrase's 600 ticks at 120 bpm

    const ProcessResult listed = runExecutable("--list");
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_NE(listed.out.find("name        Orrelune"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find(" 6  Better Grand"), std::string::npos) << listed.out;

    const ProcessResult wrong = runExecutable("--block 0 " + midi + " x.wav");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.out.find("orrelune-render: --block 0: expected a whole number"), std::string::npos) << wrong.out;
}

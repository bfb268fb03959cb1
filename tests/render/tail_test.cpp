// What comes after the piece: an exact tail on request, otherwise the sound
// until it has died away, within a limit.
#include "tests/render/RenderFixture.h"

using midibytes::Track;

namespace {

// One note from tick 0 to tick 480: half a second, 22050 frames at 44100 Hz.
std::vector<uint8_t> oneNote(bool released = true) {
    Track track;
    track.event(0, {0x90, 60, 127});
    if (released) track.event(480, {0x80, 60, 0});
    return midibytes::file(0, 480, {track.end(released ? 0 : 480)});
}

constexpr int64_t kPieceFrames = 22050;

}  // namespace

using Tail = RenderFixture;

TEST_F(Tail, AGivenTailIsRenderedExactly) {
    const std::string midi = writeFile("note.mid", oneNote());
    for (const char* seconds : {"0", "0.5", "1.2345"}) {
        const std::string out = path(std::string("tail") + seconds + ".wav");
        ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "--tail", seconds, midi, out}).exitCode, 0);
        EXPECT_EQ(readAudio(out).frames, kPieceFrames + std::llround(std::stod(seconds) * 44100)) << seconds;
    }
}

TEST_F(Tail, WithoutOneTheSoundPlaysOutThenStopsAfterAMomentOfSilence) {
    // The probe's "Release" of 0.1 s lets the note fall silent over 4410 frames
    // from the start of the block holding the note-off; then 4410 frames below
    // -100 dBFS end the tail, at the end of that block.
    const std::string midi = writeFile("note.mid", oneNote());
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-b", "64", midi, path("out.wav")}).exitCode, 0);
    const Audio audio = readAudio(path("out.wav"));
    const int64_t releaseStart = kPieceFrames / 64 * 64;
    EXPECT_GE(audio.frames, releaseStart + 4410 + 4410 - 64);
    EXPECT_LE(audio.frames, releaseStart + 4410 + 4410 + 64);
    EXPECT_GT(audio.at(kPieceFrames + 1000, 0), 0.0f);  // still falling
    EXPECT_EQ(audio.at(audio.frames - 1, 0), 0.0f);
}

TEST_F(Tail, NotesLeftHeldAreReleasedWhenThePieceEnds) {
    // Without note-offs the probe would hold the note for ever and the tail
    // would run to its limit.
    const std::string midi = writeFile("held.mid", oneNote(false));
    const CommandResult result = runRender({"--plugin", PROBE_SYNTH_PATH, midi, path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_LT(readAudio(path("out.wav")).frames, kPieceFrames + 44100);
    EXPECT_EQ(result.out.find("had not died away"), std::string::npos) << result.out;
}

TEST_F(Tail, ASoundThatNeverDiesAwayStopsAtTheLimit) {
    // "Drone" makes the probe sound for ever.
    const std::string midi = writeFile("note.mid", oneNote());
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, "--param", "Drone=1", midi, path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readAudio(path("out.wav")).frames, kPieceFrames + 30 * 44100);
    EXPECT_NE(result.out.find("the sound had not died away when the tail stopped at 30 s"), std::string::npos)
        << result.out;
}

TEST_F(Tail, AnEmptyPieceRendersOnlyItsSilentMoment) {
    const std::string midi = writeFile("empty.mid", midibytes::file(0, 480, {Track().end()}));
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-b", "441", midi, path("out.wav")}).exitCode, 0);
    EXPECT_EQ(readAudio(path("out.wav")).frames, 4410);  // 0.1 s, ten blocks of 441
}

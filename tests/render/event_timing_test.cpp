// Every note-on reaches the plug-in in the list before the block it falls
// in, at its own frame: the probe marks that frame on its right channel.
#include "tests/render/RenderFixture.h"

using midibytes::Track;

namespace {

struct Expected {
    uint8_t key;
    int64_t frame;
};

// The right channel holds key / 128 at each note-on's frame and nothing elsewhere.
void expectMarkers(const Audio& audio, const std::vector<Expected>& expected) {
    std::vector<float> markers(static_cast<std::size_t>(audio.frames), 0.0f);
    for (const Expected& e : expected) markers[static_cast<std::size_t>(e.frame)] += e.key / 128.0f;
    for (int64_t frame = 0; frame < audio.frames; ++frame) {
        ASSERT_FLOAT_EQ(audio.at(frame, 1), markers[static_cast<std::size_t>(frame)]) << "frame " << frame;
    }
}

}  // namespace

using EventTiming = RenderFixture;

TEST_F(EventTiming, NoteOnsSoundAtTheirExactFrameThroughTempoChanges) {
    // At 48000 Hz and 480 ticks a quarter, 120 bpm makes a tick 50 frames; from
    // tick 960 on, 240 bpm makes it 25.
    Track tempo;
    tempo.tempo(0, 500000).tempo(960, 250000).end();
    Track notes;  // running status throughout
    notes.event(0, {0x90, 40, 100}).event(1, {41, 100}).event(6, {42, 100}).event(473, {43, 100});
    notes.event(479, {44, 100}).event(1, {45, 100}).event(1, {46, 100}).event(39, {47, 100}).end(100);
    const std::vector<Expected> expected{{40, 0},     {41, 50},    {42, 350},   {43, 24000},
                                         {44, 47950}, {45, 48000}, {46, 48025}, {47, 49000}};
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("tempo.mid", midibytes::file(1, 480, {tempo, notes}));
    // 333 frames a block: no event lands on a block boundary by accident.
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, "-r", "48000", "-b", "333", "-f", "wav32f", "--tail", "0.1", midi,
                   path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    expectMarkers(readAudio(path("out.wav")), expected);

    // Each reached the plug-in before its block, with its offset inside the block.
    int found = 0;
    for (int i = 0; i < log.eventCount; ++i) {
        const ProbeEvent& event = log.events[i];
        if ((event.bytes[0] & 0xF0) != 0x90) continue;
        const Expected& e = expected[static_cast<std::size_t>(found++)];
        EXPECT_EQ(event.bytes[1], e.key);
        EXPECT_EQ(event.block, e.frame / 333) << int{e.key};
        EXPECT_EQ(event.deltaFrames, e.frame % 333) << int{e.key};
    }
    EXPECT_EQ(found, 8);
}

TEST_F(EventTiming, TracksMergeInTimeOrderAcrossChannels) {
    // Two tracks on channels 1 and 10 with events at the same ticks; at 44100 Hz
    // and 96 ticks a quarter, tick 96 is frame 22050 and tick 48 frame 11025.
    Track upper;
    upper.event(0, {0x90, 72, 100}).event(96, {0x90, 76, 100}).end();
    Track lower;
    lower.event(48, {0x99, 36, 100}).event(48, {0x99, 38, 100}).end();
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("two.mid", midibytes::file(1, 96, {upper, lower}));
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-f", "wav32f", "--tail", "0.1", midi, path("out.wav")})
                  .exitCode,
              0);
    expectMarkers(readAudio(path("out.wav")), {{72, 0}, {36, 11025}, {76, 22050}, {38, 22050}});
    // At tick 96 the first track's event comes before the second's.
    std::vector<uint8_t> order;
    for (int i = 0; i < log.eventCount && order.size() < 4; ++i) order.push_back(log.events[i].bytes[1]);
    EXPECT_EQ(order, (std::vector<uint8_t>{72, 36, 76, 38}));
    EXPECT_EQ(log.events[1].bytes[0], 0x99);
}

TEST_F(EventTiming, SmpteDivisionsCountRealTime) {
    // 25 frames a second with 40 ticks each: a tick is a millisecond, 48 frames at 48000 Hz,
    // whatever the tempo events say.
    Track track;
    track.tempo(0, 100000).event(0, {0x90, 50, 1}).event(1, {0x90, 51, 1}).event(999, {0x90, 52, 1}).end();
    const std::string midi = writeFile("smpte.mid", midibytes::file(0, midibytes::smpteDivision(25, 40), {track}));
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-r", "48000", "-f", "wav32f", "--tail", "0.1", midi,
                         path("out.wav")})
                  .exitCode,
              0);
    expectMarkers(readAudio(path("out.wav")), {{50, 0}, {51, 48}, {52, 48000}});
}

TEST_F(EventTiming, EventsInTheLastFrameOfABlockStayInThatBlock) {
    // Ticks of 50 frames at 48000 Hz: tick 5 is frame 250, the last of the first block of 251.
    Track track;
    track.event(5, {0x90, 60, 100}).event(0, {0x90, 61, 100}).end(1);
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("edge.mid", midibytes::file(0, 480, {track}));
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-r", "48000", "-b", "251", "-f", "wav32f", "--tail", "0", midi,
                         path("out.wav")})
                  .exitCode,
              0);
    expectMarkers(readAudio(path("out.wav")), {{60, 250}, {61, 250}});
    EXPECT_EQ(log.events[0].block, 0);
    EXPECT_EQ(log.events[0].deltaFrames, 250);
}

TEST_F(EventTiming, SystemExclusiveMessagesReachThePlugin) {
    Track track;
    track.event(10, {0xF0, 0x04, 0x7E, 0x7F, 0x09, 0xF7}).end();
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("sysex.mid", midibytes::file(0, 480, {track}));
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "--tail", "0.1", midi, path("out.wav")}).exitCode, 0);
    ASSERT_GE(log.eventCount, 1);
    EXPECT_EQ(log.events[0].type, kVstSysExType);
    EXPECT_EQ(log.events[0].sysexSize, 5);  // 0xF0 and the four bytes stored after it
    EXPECT_EQ(log.events[0].deltaFrames, 459);  // 10 ticks of 45.9375 frames
}

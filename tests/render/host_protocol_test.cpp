// The renderer as the plug-in sees it: the order of the host's requests,
// an event list before every audio call, and the stopping transport's
// messages at the end.
#include "tests/render/RenderFixture.h"

using midibytes::Track;

namespace {

std::vector<uint8_t> shortPiece() {
    Track track;
    track.event(0, {0x90, 60, 100}).event(480, {0x80, 60, 0}).end();
    return midibytes::file(0, 480, {track});  // half a second at 120 bpm
}

}  // namespace

using HostProtocol = RenderFixture;

TEST_F(HostProtocol, SetsUpLikeASequencerAndSendsEventsBeforeEveryBlock) {
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("piece.mid", shortPiece());
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, "--rate", "48000", "--block", "300", "--tail", "0.25", midi,
                   path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(log.sampleRate, 48000.0f);
    EXPECT_EQ(log.blockSize, 300);

    // The first requests, up to the first audio call, in order; program
    // requests from the settling of the sound may come between them.
    std::vector<VstInt32> setup;
    int first = 0;
    for (; first < log.callCount && log.calls[first].opcode != kProbeProcessCall; ++first) {
        const VstInt32 opcode = log.calls[first].opcode;
        if (opcode == effOpen || opcode == effSetSampleRate || opcode == effSetBlockSize || opcode == effMainsChanged ||
            opcode == effStartProcess || opcode == effProcessEvents) {
            setup.push_back(opcode);
        }
    }
    EXPECT_EQ(setup, (std::vector<VstInt32>{effOpen, effSetSampleRate, effSetBlockSize, effMainsChanged,
                                            effStartProcess, effProcessEvents}));

    // Every audio call follows an event list, even the blocks without events.
    int blocks = 0;
    for (int i = first; i < log.callCount; ++i) {
        if (log.calls[i].opcode != kProbeProcessCall) continue;
        ++blocks;
        ASSERT_EQ(log.calls[i - 1].opcode, effProcessEvents) << "call " << i;
    }
    // 0.5 s of piece and 0.25 s of tail at 48000 Hz: 36000 frames, 120 blocks of 300.
    EXPECT_EQ(blocks, 120);
    EXPECT_EQ(log.framesProcessed, 36000);

    // Then the stop: one more event list, stop processing, suspend, close.
    std::vector<VstInt32> ending;
    for (int i = log.callCount - 5; i < log.callCount; ++i) ending.push_back(log.calls[i].opcode);
    EXPECT_EQ(ending, (std::vector<VstInt32>{kProbeProcessCall, effProcessEvents, effStopProcess, effMainsChanged,
                                             effClose}));
    EXPECT_EQ(log.calls[log.callCount - 2].value, 0);  // effMainsChanged with 0 suspends
}

TEST_F(HostProtocol, AnswersWhereTheTransportIsAndHowItRuns) {
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("piece.mid", shortPiece());
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "-r", "96000", "-b", "300", midi, path("out.wav")}).exitCode, 0);
    for (int block = 0; block < ProbeLog::kMaxReports; ++block) {
        EXPECT_EQ(log.reportedPositions[block], 300.0 * block) << block;  // each block's first frame
    }
    EXPECT_EQ(log.reportedTimeRate, 96000.0);
    EXPECT_EQ(log.reportedRate, 96000);
    EXPECT_EQ(log.reportedBlockSize, 300);
}

TEST_F(HostProtocol, StopsWithNotesOffAndControllerResetOnAllSixteenChannels) {
    ProbeLog& log = probeLog();
    const std::string midi = writeFile("piece.mid", shortPiece());
    ASSERT_EQ(runRender({"--plugin", PROBE_SYNTH_PATH, "--tail", "0.1", midi, path("out.wav")}).exitCode, 0);
    // The last 32 events came in one list after the last audio call.
    ASSERT_GE(log.eventCount, 32);
    for (int channel = 0; channel < 16; ++channel) {
        const ProbeEvent& notesOff = log.events[log.eventCount - 32 + 2 * channel];
        const ProbeEvent& reset = log.events[log.eventCount - 32 + 2 * channel + 1];
        EXPECT_EQ(notesOff.block, log.processCalls);
        EXPECT_EQ(notesOff.bytes[0], 0xB0 + channel);
        EXPECT_EQ(notesOff.bytes[1], 123);
        EXPECT_EQ(reset.bytes[0], 0xB0 + channel);
        EXPECT_EQ(reset.bytes[1], 121);
    }
}

TEST_F(HostProtocol, ListsThePluginAndAppliesTheSoundOptionsFirst) {
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, "--program", "soft", "--param", "Gain=0.75", "--list"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("unique ID   'Prbe'"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("instrument, 0 inputs, 2 outputs, programs saved as chunks"), std::string::npos);
    EXPECT_NE(result.out.find(" 1  Soft   (current)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(" 0  Gain      0.750000"), std::string::npos) << result.out;
}

TEST_F(HostProtocol, SummarisesTheRenderOnOneLine) {
    const std::string midi = writeFile("piece.mid", shortPiece());
    const CommandResult result = runRender({"--plugin", PROBE_SYNTH_PATH, "--tail", "0.5", midi, path("out.flac")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // One second of audio; a held note of velocity 100 at gain 1 sits at 0.25 * 100/127,
    // the marker of key 60 at 60/128: -6.6 dBFS.
    EXPECT_EQ(result.out.rfind(path("out.flac") + ": 0:01.0 of 24-bit FLAC at 44100 Hz, stereo, peak -6.6 dBFS, "
                                                  "rendered at ",
                               0),
              0u)
        << result.out;
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 1);
    EXPECT_TRUE(runRender({"--plugin", PROBE_SYNTH_PATH, "-q", midi, path("quiet.wav")}).out.empty());
}

TEST_F(HostProtocol, ReportsWhereTheTimeWent) {
    const std::string midi = writeFile("piece.mid", shortPiece());
    const CommandResult result = runRender({"--plugin", PROBE_SYNTH_PATH, "--stats", "-q", midi, path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("time: plug-in "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("renderer's own share (reading, scheduling, writing): "), std::string::npos);
}

TEST_F(HostProtocol, WritesSamplesThatAreNotNumbersAsSilenceAndSaysSo) {
    // Key 0 makes the probe produce a NaN on the left, key 1 an infinity on the right.
    Track track;
    track.event(0, {0x90, 0, 100}).event(10, {0x90, 1, 100}).event(10, {0x80, 0, 0}).event(0, {0x80, 1, 0}).end();
    const std::string midi = writeFile("nan.mid", midibytes::file(0, 480, {track}));
    const CommandResult result =
        runRender({"--plugin", PROBE_SYNTH_PATH, "-f", "wav32f", "--tail", "0", midi, path("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The peak is that of the probe's level for two held notes: 2 x 0.25 x 100/127, -8.1 dBFS.
    EXPECT_NE(result.out.find("peak -8.1 dBFS"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("the plug-in produced 2 samples that were not numbers, written as silence"),
              std::string::npos)
        << result.out;
    const Audio audio = readAudio(path("out.wav"));
    EXPECT_EQ(audio.at(0, 0), 0.0f);
    EXPECT_EQ(audio.at(459, 1), 0.0f);  // tick 10: 459.375 frames
}

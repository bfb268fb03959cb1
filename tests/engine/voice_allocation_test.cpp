// Which voice a note starts on, which voice is held in reserve, and which
// voices a note-off releases.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Order = std::array<int32_t, SynthEngine::kVoiceCount>;

class VoiceAllocation : public ::testing::Test {
protected:
    void SetUp() override { loadParameters(engine, kPlainParameters); }

    // Queues a note and returns the voice its start record names.
    int32_t strike(int32_t note, int32_t offset = 0)
    {
        engine.noteOn(note, kA3, 1.0f, offset);
        return engine.queuedEvent(engine.eventCount() - 1).voice;
    }

    SynthEngine engine;
};

TEST_F(VoiceAllocation, TheFirstNoteStartsOnVoiceEightAndVoiceZeroBecomesTheReserve)
{
    EXPECT_EQ(strike(40), 8);
    const EngineEvent& start = engine.queuedEvent(0);
    EXPECT_EQ(start.type, kEventStart);
    EXPECT_EQ(start.note, 40);
    EXPECT_EQ(start.frequency, kA3);
    EXPECT_EQ(start.value, 1.0f);
    EXPECT_TRUE(engine.voice(8).startPending());
    EXPECT_EQ(engine.reserveVoice(), 0);
    EXPECT_TRUE(engine.voice(0).released());
    EXPECT_EQ(engine.voice(0).mainEnvelope().state(), Envelope::EnvFade);
    EXPECT_EQ(engine.voiceOrder(), (Order{1, 2, 3, 4, 5, 6, 7, 8, 0}));

    EXPECT_EQ(strike(41), 0);
    EXPECT_EQ(engine.reserveVoice(), 1);
    EXPECT_EQ(engine.voiceOrder(), (Order{2, 3, 4, 5, 6, 7, 8, 0, 1}));
}

TEST_F(VoiceAllocation, NineNotesInOneListReuseAPendingVoice)
{
    // Notes start on 8, 0, 1, ..., 7. At the ninth no voice is free and voice
    // 8, never released, fails the second scan, so voice 0 (still pending)
    // becomes the reserve and takes the tenth note as well.
    const int32_t expected[] = {8, 0, 1, 2, 3, 4, 5, 6, 7, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(strike(40 + i, 10 * i), expected[i]) << "note " << i;
    }
    renderBlock(engine, 128);
    // Voice 0's two starts applied in order: it now plays the tenth note.
    EXPECT_EQ(engine.voice(0).note(), 49);
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        EXPECT_TRUE(engine.voice(i).active()) << "voice " << i;
    }
}

TEST_F(VoiceAllocation, NineHeldNotesStealTheOldest)
{
    // One note per block, all held: after eight, every voice but the reserve
    // sounds, so the ninth picks the front of the order, voice 8, whose note
    // is the oldest; it fades, and the tenth note starts on it.
    for (int i = 0; i < 9; ++i) {
        strike(40 + i);
        renderBlock(engine, 32);
    }
    EXPECT_EQ(engine.reserveVoice(), 8);
    EXPECT_EQ(engine.voice(8).mainEnvelope().state(), Envelope::EnvFade);
    EXPECT_EQ(engine.voice(8).note(), 40);
    EXPECT_EQ(strike(49), 8);
}

TEST_F(VoiceAllocation, AReleasedVoiceIsTakenBeforeAHeldOne)
{
    for (int i = 0; i < 8; ++i) {
        strike(40 + i);
        renderBlock(engine, 32);
    }
    // Every voice sounds except the reserve, 7. Release note 43 (voice 2).
    engine.noteOff(43, 0);
    renderBlock(engine, 8);
    strike(60);
    EXPECT_EQ(engine.reserveVoice(), 2);
}

TEST_F(VoiceAllocation, SilentVoicesAreTakenLeastRecentlyPickedFirst)
{
    strike(40);
    renderBlock(engine, 16);
    strike(41);
    renderBlock(engine, 16);
    // Voices 8 and 0 sound, 1 is the reserve; 2 is at the front and free.
    strike(42);
    EXPECT_EQ(engine.reserveVoice(), 2);
    EXPECT_EQ(engine.voiceOrder(), (Order{3, 4, 5, 6, 7, 8, 0, 1, 2}));
}

TEST_F(VoiceAllocation, ANoteOffReleasesEveryVoiceWithThatNoteInIndexOrder)
{
    for (int i = 0; i < 3; ++i) {
        strike(50);  // voices 8, 0, 1
    }
    renderBlock(engine, 16);
    engine.noteOff(51, 3);
    EXPECT_EQ(engine.eventCount(), 0);  // no voice carries 51

    engine.noteOff(50, 3);
    ASSERT_EQ(engine.eventCount(), 3);
    const int32_t voices[] = {0, 1, 8};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(engine.queuedEvent(i).type, kEventRelease);
        EXPECT_EQ(engine.queuedEvent(i).voice, voices[i]);
        EXPECT_EQ(engine.queuedEvent(i).deltaFrames, 3);
    }
    renderBlock(engine, 16);
    for (int v : voices) {
        EXPECT_TRUE(engine.voice(v).released());
        EXPECT_EQ(engine.voice(v).mainEnvelope().state(), Envelope::EnvRelease);
    }
}

TEST_F(VoiceAllocation, ANoteOffMissesAStartStillQueued)
{
    strike(50);
    engine.noteOff(50, 10);
    EXPECT_EQ(engine.eventCount(), 1);
    renderBlock(engine, 64);
    EXPECT_FALSE(engine.voice(8).released());
}

TEST_F(VoiceAllocation, ANoteOffReachesVoicesThatAreNoLongerSounding)
{
    strike(50);
    renderBlock(engine, 16);
    engine.silenceAllVoices();
    engine.noteOff(50, 0);
    EXPECT_EQ(engine.eventCount(), 1);
}

TEST_F(VoiceAllocation, VoicesThatNeverPlayedMatchNoNoteOff)
{
    for (int32_t note : {0, -12, std::numeric_limits<int32_t>::min()}) {
        engine.noteOff(note, 0);
    }
    EXPECT_EQ(engine.eventCount(), 0);
}

TEST_F(VoiceAllocation, SilencingActsAtOnceAndLeavesQueuedStarts)
{
    strike(50);
    renderBlock(engine, 64);  // past the 1 ms attack
    strike(52);  // queued for voice 0
    engine.silenceAllVoices();
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        EXPECT_FALSE(engine.voice(i).active()) << "voice " << i;
    }
    EXPECT_EQ(engine.voice(8).mainEnvelope().state(), Envelope::EnvDecay);  // states kept
    EXPECT_TRUE(engine.voice(0).startPending());
    EXPECT_EQ(engine.eventCount(), 1);

    renderBlock(engine, 16);
    EXPECT_TRUE(engine.voice(0).active());
    EXPECT_FALSE(engine.voice(8).active());
}

}  // namespace

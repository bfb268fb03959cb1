// Block rendering: records take effect at their exact frames, the queue is
// emptied by every render call, and malformed offsets or a full queue never
// take the engine outside its buffers.

#include "EngineTestSupport.h"
#include "ReferenceVoice.h"
#include "engine/NumericHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class BlockRender : public ::testing::Test {
protected:
    void SetUp() override { loadParameters(engine, kPlainParameters); }
    SynthEngine engine;
};

// An engine with the same settings whose voice 8 has just been started by a
// separate, empty render call; its model gives the voice's frames from then on.
ReferenceVoice modelOfAFreshStart(float frequency, float velocity)
{
    SynthEngine probe;
    loadParameters(probe, kPlainParameters);
    probe.noteOn(57, frequency, velocity, 0);
    renderBlock(probe, 0);
    return modelOf(probe, probe.voice(8));
}

TEST_F(BlockRender, StartAtTenAndReleaseAtAHundred)
{
    // 90 frames of attack and decay, then the release from frame 100.
    engine.noteOn(57, kA3, 1.0f, 10);
    engine.noteOff(57, 100);  // matches nothing yet: the start is still queued
    EXPECT_EQ(engine.eventCount(), 1);
    const std::vector<float> first = renderBlock(engine, 128);

    engine.noteOff(57, 100);  // now voice 8 carries note 57
    const std::vector<float> second = renderBlock(engine, 128);

    ReferenceVoice model = modelOfAFreshStart(kA3, 1.0f);
    for (int j = 0; j < 10; ++j) {
        EXPECT_EQ(first[j], 0.0f) << "frame " << j;
    }
    for (int j = 10; j < 128; ++j) {
        ASSERT_EQ(first[j], model.frame()) << "frame " << j;
    }
    for (int j = 0; j < 128; ++j) {
        if (j == 100) {
            model.mainEnv.state = 4;  // release, level kept
        }
        ASSERT_EQ(second[j], model.frame()) << "second block, frame " << j;
    }
    EXPECT_EQ(engine.voice(8).mainEnvelope().state(), Envelope::EnvRelease);
    EXPECT_TRUE(engine.voice(8).released());
}

TEST_F(BlockRender, ARecordActsAsIfTheBlockWereCutAtItsOffset)
{
    SynthEngine cut;
    loadParameters(cut, kPlainParameters);

    engine.noteOn(57, kA3, 0.9f, 0);
    engine.pitchBend(0.25f, 37);
    engine.noteOn(64, kA4, 0.4f, 37);
    const std::vector<float> whole = renderBlock(engine, 64);

    cut.noteOn(57, kA3, 0.9f, 0);
    std::vector<float> pieces = renderBlock(cut, 37);
    cut.pitchBend(0.25f, 0);
    cut.noteOn(64, kA4, 0.4f, 0);
    const std::vector<float> rest = renderBlock(cut, 27);
    pieces.insert(pieces.end(), rest.begin(), rest.end());

    EXPECT_EQ(whole, pieces);
    EXPECT_EQ(engine.eventCount(), 0);
}

TEST_F(BlockRender, ARecordAtTheBlockEndActsAfterTheLastFrame)
{
    engine.noteOn(57, kA3, 1.0f, 64);
    EXPECT_EQ(renderBlock(engine, 64), std::vector<float>(64, 0.0f));
    const Voice& voice = engine.voice(8);
    EXPECT_TRUE(voice.active());
    EXPECT_EQ(voice.carrierPhase(), 0);
    EXPECT_EQ(voice.mainEnvelope().state(), Envelope::EnvAttack);
    EXPECT_EQ(voice.mainEnvelope().level(), 0.0f);

    ReferenceVoice model = modelOfAFreshStart(kA3, 1.0f);
    for (float sample : renderBlock(engine, 32)) {
        ASSERT_EQ(sample, model.frame());
    }
}

TEST_F(BlockRender, RecordsAtOneOffsetApplyInQueueOrderWithNothingBetween)
{
    // Up an octave and straight back down to half the pitch at frame 20: no
    // tick runs at the doubled step.
    engine.noteOn(57, kA3, 1.0f, 0);
    renderBlock(engine, 1);
    const uint16_t before = engine.voice(8).carrierPhase();
    engine.pitchBend(1.0f, 20);
    engine.pitchBend(-1.0f, 20);
    renderBlock(engine, 64);
    EXPECT_EQ(static_cast<uint16_t>(engine.voice(8).carrierPhase() - before),
              static_cast<uint16_t>(20 * 2 * 326 + 44 * 2 * 163));
    EXPECT_EQ(engine.voice(8).pitchFactor(), 0.5f);
}

TEST_F(BlockRender, SmallScratchBuffersGiveTheSameBlockPieceByPiece)
{
    // Scratch room for 24 frames only: stretches of up to 100 frames are
    // rendered in pieces, and the block comes out the same to the bit.
    SynthEngine pieces;
    loadParameters(pieces, with(kPlainParameters, {{kBMode, 0.0f}}));
    loadParameters(engine, with(kPlainParameters, {{kBMode, 0.0f}}));
    for (SynthEngine* e : {&engine, &pieces}) {
        e->noteOn(57, kA3, 0.9f, 0);
        e->noteOn(64, kA4, 0.5f, 30);
        e->pitchBend(0.2f, 130);
    }
    const std::vector<float> whole = renderBlock(engine, 230);
    std::vector<float> output(230, 0.0f), scratchA(48, 0.0f), scratchB(48, 0.0f);
    pieces.render(scratchA.data(), scratchB.data(), 24, output.data(), 230);
    EXPECT_EQ(output, whole);
}

struct GuardedBuffers {
    static constexpr float kGuard = 12345.0f;
    static constexpr size_t kGuardLength = 64;
    explicit GuardedBuffers(int32_t frames)
        : output(static_cast<size_t>(frames) + kGuardLength, kGuard),
          scratchA(2 * static_cast<size_t>(frames) + kGuardLength, kGuard),
          scratchB(2 * static_cast<size_t>(frames) + kGuardLength, kGuard),
          frames(frames)
    {
        std::fill(output.begin(), output.begin() + frames, 0.0f);
    }
    void render(SynthEngine& engine) { engine.render(scratchA.data(), scratchB.data(), output.data(), frames); }
    bool guardsIntact() const
    {
        auto intact = [](const std::vector<float>& buffer, size_t from) {
            return std::all_of(buffer.begin() + static_cast<long>(from), buffer.end(),
                               [](float v) { return v == kGuard; });
        };
        const auto n = static_cast<size_t>(frames);
        return intact(output, n) && intact(scratchA, 2 * n) && intact(scratchB, 2 * n);
    }
    std::vector<float> output, scratchA, scratchB;
    int32_t frames;
};

TEST_F(BlockRender, OffsetsBeyondTheBlockActAtItsEnd)
{
    engine.noteOn(57, kA3, 1.0f, 0);
    engine.noteOn(60, kA4, 1.0f, 5000);
    GuardedBuffers buffers(64);
    buffers.render(engine);
    EXPECT_TRUE(buffers.guardsIntact());
    EXPECT_TRUE(engine.voice(0).active());
    EXPECT_EQ(engine.voice(0).carrierPhase(), 0);  // started after the last frame
    EXPECT_EQ(engine.eventCount(), 0);
}

TEST_F(BlockRender, OffsetsNeverMoveBackwards)
{
    // The second record says frame 10 after a record at frame 40: it acts at
    // frame 40, and no frame is rendered twice.
    engine.noteOn(57, kA3, 1.0f, 0);
    renderBlock(engine, 1);
    engine.pitchBend(1.0f, 40);
    engine.pitchBend(-1.0f, 10);
    engine.pitchBend(0.0f, -7);
    GuardedBuffers buffers(64);
    const uint16_t before = engine.voice(8).carrierPhase();
    buffers.render(engine);
    EXPECT_TRUE(buffers.guardsIntact());
    // All 64 frames at the unbent step of 326, two ticks each.
    EXPECT_EQ(static_cast<uint16_t>(engine.voice(8).carrierPhase() - before), static_cast<uint16_t>(64 * 2 * 326));
    EXPECT_EQ(engine.voice(8).pitchFactor(), 1.0f);  // the last record, in queue order
}

TEST_F(BlockRender, ANegativeFrameCountAppliesTheRecordsAndRendersNothing)
{
    engine.noteOn(57, kA3, 1.0f, 3);
    GuardedBuffers buffers(0);
    engine.render(buffers.scratchA.data(), buffers.scratchB.data(), buffers.output.data(), -16);
    EXPECT_TRUE(buffers.guardsIntact());
    EXPECT_TRUE(engine.voice(8).active());
    EXPECT_EQ(engine.eventCount(), 0);
}

TEST_F(BlockRender, TheQueueHoldsSixtyFourRecordsAndDropsFurtherOnes)
{
    for (int i = 0; i < 64; ++i) {
        engine.pitchBend(static_cast<float>(i) / 64.0f, i);
    }
    engine.pitchBend(-1.0f, 64);  // the 65th
    EXPECT_EQ(engine.eventCount(), 64);
    EXPECT_EQ(engine.queuedEvent(63).value, 63.0f / 64.0f);

    // A note-on that finds the queue full changes nothing at all.
    const int32_t reserve = engine.reserveVoice();
    const auto order = engine.voiceOrder();
    engine.noteOn(57, kA3, 1.0f, 0);
    EXPECT_EQ(engine.eventCount(), 64);
    EXPECT_EQ(engine.reserveVoice(), reserve);
    EXPECT_EQ(engine.voiceOrder(), order);
    EXPECT_FALSE(engine.voice(reserve).startPending());

    GuardedBuffers buffers(64);
    buffers.render(engine);
    EXPECT_TRUE(buffers.guardsIntact());
    EXPECT_EQ(engine.voice(0).pitchFactor(), numeric::approxExp2(63.0f / 64.0f));
    EXPECT_EQ(engine.eventCount(), 0);
}

TEST_F(BlockRender, ANoteOffFillsOnlyTheSlotsLeft)
{
    // Three voices carrying note 50, and room for two more records.
    for (int i = 0; i < 3; ++i) {
        engine.noteOn(50, kA3, 1.0f, 0);
    }
    renderBlock(engine, 0);
    for (int i = 0; i < 62; ++i) {
        engine.pitchBend(0.0f, 0);
    }
    engine.noteOff(50, 0);
    EXPECT_EQ(engine.eventCount(), 64);
    EXPECT_EQ(engine.queuedEvent(62).voice, 0);  // voices in index order: 0, 1, then 8 dropped
    EXPECT_EQ(engine.queuedEvent(63).voice, 1);
}

}  // namespace

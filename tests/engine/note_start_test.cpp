// A start record turns a frequency into three 16-bit oscillator steps; pitch
// bend scales them from the bend's offset on.

#include "EngineTestSupport.h"
#include "engine/NumericHelpers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class NoteStart : public ::testing::Test {
protected:
    void SetUp() override { loadParameters(engine, kPlainParameters); }

    // Starts one note on the first voice allocation picks (voice 8).
    Voice& startNote(float frequency, float attackMode)
    {
        engine.parameters().set(kAMode, attackMode);
        engine.noteOn(57, frequency, 1.0f, 0);
        renderBlock(engine, 1);
        return engine.voice(8);
    }

    SynthEngine engine;
};

struct StepCase {
    float frequency;
    float attackMode;
    int16_t carrier;
    int16_t attack;
};

TEST_F(NoteStart, TurnsFrequenciesIntoSixteenBitSteps)
{
    // 32767 / (44100 / (f * 2)) for the carrier, f * 32 (or f * 16 with
    // "A Mode" above 0.5) for the attack oscillator, truncated toward zero.
    const StepCase cases[] = {
        {220.0f, 0.5f, 326, 5230},     // MIDI note 69; 0.5 is not above 0.5
        {220.0f, 0.51f, 326, 2615},    // eight times the pitch instead of sixteen
        {13.75f, 0.0f, 20, 326},       // MIDI note 21, the lowest key
        {2093.0046f, 0.0f, 3110, -15772},  // MIDI note 108: 49764 wraps past 16 bits
    };
    for (const StepCase& c : cases) {
        SynthEngine fresh;
        loadParameters(fresh, kPlainParameters);
        fresh.parameters().set(kAMode, c.attackMode);
        fresh.noteOn(57, c.frequency, 1.0f, 0);
        renderBlock(fresh, 1);
        const Voice& voice = fresh.voice(8);
        EXPECT_EQ(voice.carrierStep(), c.carrier) << c.frequency;
        EXPECT_EQ(voice.bodyStep(), c.carrier) << c.frequency;
        EXPECT_EQ(voice.attackStep(), c.attack) << c.frequency << " mode " << c.attackMode;
    }
}

TEST_F(NoteStart, NotesSoundSlightlyFlat)
{
    // Two ticks per frame: step * 2 * 44100 / 65536 Hz.
    const Voice& a4 = startNote(kA3, 0.0f);
    EXPECT_NEAR(a4.carrierStep() * 2 * 44100.0 / 65536.0, 438.74, 0.005);

    SynthEngine low;
    low.noteOn(9, 13.75f, 1.0f, 0);
    renderBlock(low, 1);
    EXPECT_NEAR(low.voice(8).carrierStep() * 2 * 44100.0 / 65536.0, 26.92, 0.005);  // not 27.5
}

TEST_F(NoteStart, ResetsPhasesFlagsAndEnvelopes)
{
    Voice& first = startNote(kA3, 0.0f);
    renderBlock(engine, 50);
    first.release();

    engine.noteOn(45, kA4, 0.25f, 0);  // queued for voice 0, the reserve
    ASSERT_EQ(engine.queuedEvent(0).voice, 0);
    EXPECT_TRUE(engine.voice(0).startPending());
    EXPECT_TRUE(engine.voice(0).released());
    renderBlock(engine, 0);  // applies the start, renders nothing

    const Voice& started = engine.voice(0);
    EXPECT_TRUE(started.active());
    EXPECT_FALSE(started.released());
    EXPECT_FALSE(started.startPending());
    EXPECT_EQ(started.note(), 45);
    EXPECT_EQ(started.velocity(), 0.25f);
    EXPECT_EQ(started.carrierPhase(), 0);
    EXPECT_EQ(started.bodyPhase(), 0);
    EXPECT_EQ(started.attackPhase(), 0);
    for (const Envelope* envelope : {&started.mainEnvelope(), &started.bodyEnvelope(), &started.attackEnvelope()}) {
        EXPECT_EQ(envelope->state(), Envelope::EnvAttack);
        EXPECT_EQ(envelope->level(), 0.0f);
    }
}

TEST_F(NoteStart, KeepsTheFilterStateAndTheBendInForce)
{
    engine.parameters().set(kBMode, 0.0f);  // filter on
    engine.pitchBend(0.5f, 0);
    Voice& voice = startNote(kA3, 0.0f);
    renderBlock(engine, 50);
    const float input = voice.filter().input();
    const auto stages = voice.filter().stages();
    ASSERT_NE(input, 0.0f);

    voice.start(57, kA4, 1.0f);
    EXPECT_EQ(voice.filter().input(), input);
    EXPECT_EQ(voice.filter().stages(), stages);
    EXPECT_EQ(voice.pitchFactor(), numeric::approxExp2(0.5f));
}

TEST_F(NoteStart, BentStepsFollowTheSignedValue)
{
    // An increment of 40000 is stored as -25536; bent by 1.5 it becomes
    // -38304, that is 27232 modulo 65536 (not 60000).
    Voice& voice = startNote(kA3, 0.0f);
    voice.setSteps(numeric::lowSixteenBits(40000), numeric::lowSixteenBits(40000), numeric::lowSixteenBits(40000));
    voice.setPitchFactor(1.5f);
    const uint16_t before = voice.attackPhase();
    renderBlock(engine, 1);  // two ticks
    EXPECT_EQ(static_cast<uint16_t>(voice.attackPhase() - before), static_cast<uint16_t>(2 * 27232));
}

TEST_F(NoteStart, WithoutABendPhasesAdvanceByTheUnsignedStep)
{
    Voice& voice = startNote(kA3, 0.0f);
    voice.setSteps(numeric::lowSixteenBits(40000), numeric::lowSixteenBits(40000), numeric::lowSixteenBits(40000));
    const uint16_t before = voice.bodyPhase();
    renderBlock(engine, 1);
    EXPECT_EQ(static_cast<uint16_t>(voice.bodyPhase() - before), static_cast<uint16_t>(2 * 40000));
}

TEST_F(NoteStart, ABendScalesEveryStepFromItsOffset)
{
    // A bend of +1 doubles the pitch: 326 becomes floor(326 * 2) = 652 per tick.
    Voice& voice = startNote(kA3, 0.0f);
    const uint16_t before = voice.carrierPhase();
    engine.pitchBend(1.0f, 3);
    renderBlock(engine, 5);  // 3 frames unbent, then 2 bent
    EXPECT_EQ(static_cast<uint16_t>(voice.carrierPhase() - before), 3 * 2 * 326 + 2 * 2 * 652);
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        EXPECT_EQ(engine.voice(i).pitchFactor(), 2.0f) << "voice " << i;
    }
}

TEST_F(NoteStart, ANoteAfterABendStartsBent)
{
    engine.pitchBend(-1.0f, 0);
    renderBlock(engine, 4);
    Voice& voice = startNote(kA3, 0.0f);
    const uint16_t before = voice.carrierPhase();
    renderBlock(engine, 1);
    EXPECT_EQ(static_cast<uint16_t>(voice.carrierPhase() - before), 2 * 163);  // half of 326
}

TEST_F(NoteStart, ASampleRateChangeKeepsThePitchOfASoundingNote)
{
    Voice& voice = startNote(kA3, 0.0f);
    const float decayBefore = voice.mainEnvelope().rates().decayRate;
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        engine.voice(i).setSampleRate(88200.0f);
    }
    EXPECT_EQ(voice.carrierStep(), 326);
    EXPECT_FLOAT_EQ(voice.mainEnvelope().rates().decayRate, decayBefore / 2);
    // The next note is tuned for the new rate: half the step.
    engine.noteOn(57, kA3, 1.0f, 0);
    renderBlock(engine, 1);
    EXPECT_EQ(engine.voice(0).carrierStep(), 163);
}

}  // namespace

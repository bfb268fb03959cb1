// How the decay parameters and the sample rate set each voice's envelope
// times: the full recomputation (program loads, sample-rate changes) and the
// per-parameter update (one knob moved) differ on purpose.

#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

namespace {

// The rate that ramps the full range 0..1 over `seconds` of ramp time: one
// quarter level unit per sample-second, ticked twice per frame.
double rateFor(double sampleRate, double seconds)
{
    return 0.25 / (sampleRate * seconds);
}

// Ticks an envelope until it leaves `state`, counting the ticks.
int ticksInState(Envelope& envelope, Envelope::State state)
{
    int ticks = 0;
    while (envelope.state() == state && ticks < 10'000'000) {
        envelope.tick();
        ++ticks;
    }
    return ticks;
}

class EnvelopeMapping : public ::testing::Test {
protected:
    void SetUp() override
    {
        ParameterValues values = kPlainParameters;
        values[kADecay] = 0.5f;
        values[kBDecay] = 0.25f;
        values[kDecay] = 0.3f;
        loadParameters(engine, values);
    }

    Voice& voice() { return engine.voice(4); }
    SynthEngine engine;
};

TEST_F(EnvelopeMapping, FullMappingTimes)
{
    // Main: 0.5 ms attack, 2 x "Decay", 10 ms release. Body: "B Decay" for
    // decay and release. Attack: 0.2 x "A Decay". Floors of 0.1 ms on ramps.
    const Envelope::Rates main = voice().mainEnvelope().rates();
    EXPECT_FLOAT_EQ(main.attackRate, rateFor(44100, 0.0005));
    EXPECT_FLOAT_EQ(main.decayRate, rateFor(44100, 2 * 0.3));
    EXPECT_FLOAT_EQ(main.releaseRate, rateFor(44100, 0.01));
    EXPECT_EQ(main.sustainLevel, 0.0f);

    const Envelope::Rates body = voice().bodyEnvelope().rates();
    EXPECT_FLOAT_EQ(body.attackRate, rateFor(44100, 0.0001));
    EXPECT_FLOAT_EQ(body.decayRate, rateFor(44100, 0.25));
    EXPECT_FLOAT_EQ(body.releaseRate, rateFor(44100, 0.25));

    const Envelope::Rates attack = voice().attackEnvelope().rates();
    EXPECT_FLOAT_EQ(attack.attackRate, rateFor(44100, 0.0001));
    EXPECT_FLOAT_EQ(attack.decayRate, rateFor(44100, 0.2 * 0.5));
    EXPECT_FLOAT_EQ(attack.releaseRate, rateFor(44100, 0.2 * 0.5));
}

TEST_F(EnvelopeMapping, OneParameterChangeUsesItsOwnTimes)
{
    // One knob moved: attack envelope 0.7 x "A Decay", body 2 x "B Decay",
    // main release 20 ms instead of 10.
    engine.updateVoices(kADecay);
    engine.updateVoices(kBDecay);
    engine.updateVoices(kDecay);
    EXPECT_FLOAT_EQ(voice().attackEnvelope().rates().decayRate, rateFor(44100, 0.7 * 0.5));
    EXPECT_FLOAT_EQ(voice().bodyEnvelope().rates().decayRate, rateFor(44100, 2 * 0.25));
    EXPECT_FLOAT_EQ(voice().mainEnvelope().rates().decayRate, rateFor(44100, 2 * 0.3));
    EXPECT_FLOAT_EQ(voice().mainEnvelope().rates().releaseRate, rateFor(44100, 0.02));
}

TEST_F(EnvelopeMapping, AProgramLoadUndoesTheOneParameterTimes)
{
    engine.updateVoices(kADecay);
    engine.updateVoices(kUpdateAll);
    EXPECT_FLOAT_EQ(voice().attackEnvelope().rates().decayRate, rateFor(44100, 0.2 * 0.5));
}

TEST_F(EnvelopeMapping, OtherParametersTouchNoEnvelope)
{
    const Envelope::Rates before = voice().attackEnvelope().rates();
    engine.parameters().set(kADecay, 0.9f);
    for (int32_t code : std::initializer_list<int32_t>{kAMode, kATone, kAVel, kBMode, kBTone, kBVel, kVelocity, kVolume, kChorus, -1, 99}) {
        engine.updateVoices(code);
    }
    const Envelope::Rates after = voice().attackEnvelope().rates();
    EXPECT_EQ(after.decayRate, before.decayRate);
    EXPECT_EQ(after.releaseRate, before.releaseRate);
}

TEST_F(EnvelopeMapping, RatesArePinnedToTheBit)
{
    // The quarter unit per sample is a single-precision 0.25f / 44100; the
    // division by the time, which arrives as a double (2 x 0.1f), is double
    // precision. Taking the quarter in double instead would give 0x37EDC5B8.
    engine.parameters().set(kDecay, 0.1f);
    engine.updateVoices(kUpdateAll);
    EXPECT_EQ(std::bit_cast<uint32_t>(voice().mainEnvelope().rates().decayRate), 0x37EDC5B7u);
}

TEST_F(EnvelopeMapping, MainEnvelopeTimesInPractice)
{
    // Rises in 1 ms (44.1 frames = 88.2 ticks) and, from full level, releases
    // in 20 ms (882 frames = 1764 ticks) after a full recomputation, 40 ms
    // after a "Decay" change.
    Envelope& main = voice().mainEnvelope();
    main.restart();
    EXPECT_EQ(ticksInState(main, Envelope::EnvAttack), 89);

    main.setStateAndLevel(Envelope::EnvRelease, 1.0f);
    EXPECT_NEAR(ticksInState(main, Envelope::EnvRelease), 1764, 1);

    engine.updateVoices(kDecay);
    main.setStateAndLevel(Envelope::EnvRelease, 1.0f);
    EXPECT_NEAR(ticksInState(main, Envelope::EnvRelease), 3528, 1);
}

TEST_F(EnvelopeMapping, SampleRateChangeRecomputesEveryEnvelope)
{
    voice().setSampleRate(96000.0f);
    EXPECT_EQ(voice().sampleRate(), 96000.0f);
    EXPECT_FLOAT_EQ(voice().mainEnvelope().rates().decayRate, rateFor(96000, 2 * 0.3));
    EXPECT_FLOAT_EQ(voice().bodyEnvelope().rates().decayRate, rateFor(96000, 0.25));
    EXPECT_FLOAT_EQ(voice().attackEnvelope().rates().decayRate, rateFor(96000, 0.2 * 0.5));
}

TEST_F(EnvelopeMapping, MeaninglessSampleRatesKeepThePreviousOne)
{
    voice().setSampleRate(48000.0f);
    const float decayAt48k = voice().mainEnvelope().rates().decayRate;
    for (float broken : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()}) {
        voice().setSampleRate(broken);
        EXPECT_EQ(voice().sampleRate(), 48000.0f) << broken;
        EXPECT_EQ(voice().mainEnvelope().rates().decayRate, decayAt48k) << broken;
    }
}

TEST(VoiceDefaults, ANewVoiceRunsAt44100WithTheHalfSecondRates)
{
    const SynthEngine engine;
    const Voice& voice = engine.voice(0);
    EXPECT_EQ(voice.sampleRate(), 44100.0f);
    EXPECT_EQ(std::bit_cast<uint32_t>(voice.mainEnvelope().rates().decayRate), 0x373E37C6u);
    EXPECT_EQ(std::bit_cast<uint32_t>(voice.attackEnvelope().rates().attackRate), 0x373E37C6u);
    EXPECT_EQ(std::bit_cast<uint32_t>(voice.bodyEnvelope().rates().attackRate), 0x3D683315u);
    EXPECT_EQ(std::bit_cast<uint32_t>(voice.bodyEnvelope().rates().decayRate), 0x371E83D0u);
    EXPECT_EQ(voice.bodyEnvelope().rates().sustainLevel, 0.5f);
    EXPECT_EQ(voice.mainEnvelope().state(), Envelope::EnvIdle);
}

}  // namespace

#include "engine/Envelope.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// An envelope with one rate for every ramp and sustain 0, placed in a state
// at a level.
struct PlacedEnvelope : Envelope {
    PlacedEnvelope(Envelope::State state, float level, float rate) : Envelope(rate, rate, 0.0f, rate)
    {
        setStateAndLevel(state, level);
    }
};

TEST(Envelope, AttackRisesLinearlyAndLandsOnFullLevel)
{
    PlacedEnvelope envelope(Envelope::EnvAttack, 0.0f, 0.3f);
    EXPECT_FLOAT_EQ(envelope.tick(), 0.3f);
    EXPECT_FLOAT_EQ(envelope.tick(), 0.6f);
    EXPECT_FLOAT_EQ(envelope.tick(), 0.9f);
    EXPECT_EQ(envelope.state(), Envelope::EnvAttack);
    EXPECT_EQ(envelope.tick(), 1.0f);  // the tick that reaches the top returns it
    EXPECT_EQ(envelope.state(), Envelope::EnvDecay);
}

TEST(Envelope, ReleaseIsSquaredButAFadeIsNot)
{
    // From level 0.5, one step of 0.1 leaves 0.4: squared 0.16 when released,
    // 0.4 when fading as the next reserve.
    struct Case {
        Envelope::State state;
        float expected;
    };
    for (const Case c : {Case{Envelope::EnvDecay, 0.16f}, Case{Envelope::EnvRelease, 0.16f},
                         Case{Envelope::EnvFade, 0.4f}}) {
        PlacedEnvelope envelope(c.state, 0.5f, 0.1f);
        EXPECT_FLOAT_EQ(envelope.tick(), c.expected) << "state " << c.state;
        EXPECT_FLOAT_EQ(envelope.level(), 0.4f);
        EXPECT_EQ(envelope.state(), c.state);
    }
}

TEST(Envelope, EndingsReachZeroAndStayThere)
{
    for (Envelope::State ending : {Envelope::EnvRelease, Envelope::EnvFade}) {
        PlacedEnvelope envelope(ending, 0.15f, 0.1f);
        EXPECT_GT(envelope.tick(), 0.0f);
        EXPECT_EQ(envelope.tick(), 0.0f);  // the tick that reaches 0 returns 0
        EXPECT_EQ(envelope.state(), Envelope::EnvIdle);
        EXPECT_EQ(envelope.tick(), 0.0f);
    }
}

TEST(Envelope, DecayLandsOnTheSustainLevelAndHoldsIt)
{
    Envelope envelope(0.5f, 0.2f, 0.25f, 0.1f);
    envelope.setStateAndLevel(Envelope::EnvDecay, 0.6f);
    EXPECT_FLOAT_EQ(envelope.tick(), 0.4f * 0.4f);
    EXPECT_EQ(envelope.tick(), 0.25f * 0.25f);  // 0.2 would pass below 0.25
    EXPECT_EQ(envelope.state(), Envelope::EnvSustain);
    EXPECT_EQ(envelope.tick(), 0.25f * 0.25f);
}

TEST(Envelope, IdleAlwaysGivesSilenceAndForcesLevelZero)
{
    PlacedEnvelope envelope(Envelope::EnvIdle, 0.7f, 0.1f);
    EXPECT_EQ(envelope.tick(), 0.0f);
    EXPECT_EQ(envelope.level(), 0.0f);
    EXPECT_EQ(envelope.state(), Envelope::EnvIdle);
}

TEST(Envelope, ZeroDecayTimeEndsTheDecayAtItsFirstTick)
{
    Envelope envelope(0.5f, 0.5f, 0.5f, 0.5f);
    envelope.setTimes(44100.0f, 0.0, 0.0, 0.0, 0.0);
    EXPECT_TRUE(std::isinf(envelope.rates().decayRate));
    envelope.setStateAndLevel(Envelope::EnvAttack, 0.0f);
    while (envelope.state() == Envelope::EnvAttack) {
        envelope.tick();
    }
    EXPECT_EQ(envelope.tick(), 0.0f);
    EXPECT_EQ(envelope.state(), Envelope::EnvSustain);
}

TEST(Envelope, SetTimesGivesTheRatesOfANewVoiceAt44100)
{
    // The rates a voice starts with are those of 0.5 s ramps (main and attack
    // envelopes) and 0.0001 s, 0.6 s, 0.5 s (body) at 44100 Hz.
    Envelope envelope(0.0f, 0.0f, 0.0f, 0.0f);
    envelope.setTimes(44100.0f, 0.5, 0.5, 0.5, 0.5);
    EXPECT_EQ(std::bit_cast<uint32_t>(envelope.rates().attackRate), 0x373E37C6u);
    EXPECT_EQ(std::bit_cast<uint32_t>(envelope.rates().decayRate), 0x373E37C6u);
    EXPECT_EQ(envelope.rates().sustainLevel, 0.5f);
    envelope.setTimes(44100.0f, 0.0001, 0.6, 0.5, 0.5);
    EXPECT_EQ(std::bit_cast<uint32_t>(envelope.rates().attackRate), 0x3D683315u);
    EXPECT_EQ(std::bit_cast<uint32_t>(envelope.rates().decayRate), 0x371E83D0u);
    EXPECT_EQ(std::bit_cast<uint32_t>(envelope.rates().releaseRate), 0x373E37C6u);
}

TEST(Envelope, RampTimesBelowTheFloorCountAsATenthOfAMillisecond)
{
    Envelope floor(0.0f, 0.0f, 0.0f, 0.0f);
    floor.setTimes(48000.0f, 0.0001, 1.0, 0.0, 0.0001);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (double shortTime : {0.0, -0.0, -1.0, 0.00005, static_cast<double>(nan)}) {
        Envelope envelope(0.0f, 0.0f, 0.0f, 0.0f);
        envelope.setTimes(48000.0f, shortTime, 1.0, 0.0, shortTime);
        EXPECT_EQ(envelope.rates().attackRate, floor.rates().attackRate) << shortTime;
        EXPECT_EQ(envelope.rates().releaseRate, floor.rates().releaseRate) << shortTime;
    }
}

TEST(Envelope, BrokenDecayTimesActAsAnImmediateDecay)
{
    // A negative, negative-zero or NaN time would give a rate that never
    // reaches the sustain level (or raises the level without bound).
    for (double broken : {-0.0, -0.5, std::numeric_limits<double>::quiet_NaN()}) {
        Envelope envelope(0.0f, 0.0f, 0.0f, 0.0f);
        envelope.setTimes(44100.0f, 0.0, broken, 0.0, 0.0);
        EXPECT_EQ(envelope.rates().decayRate, std::numeric_limits<float>::infinity()) << broken;
    }
}

TEST(Envelope, SetTimesLeavesStateAndLevelAlone)
{
    PlacedEnvelope envelope(Envelope::EnvDecay, 0.7f, 0.1f);
    envelope.setTimes(96000.0f, 0.001, 2.0, 0.0, 0.02);
    EXPECT_EQ(envelope.state(), Envelope::EnvDecay);
    EXPECT_EQ(envelope.level(), 0.7f);
}

TEST(Envelope, BlockApplicationMatchesSingleTicks)
{
    // Rendering shapes a whole stretch at once; it must tick exactly as single
    // ticks do, through every state and each change of state.
    struct Start {
        Envelope::State state;
        float level;
    };
    for (const Start start : {Start{Envelope::EnvAttack, 0.0f}, Start{Envelope::EnvDecay, 0.9f},
                              Start{Envelope::EnvRelease, 0.8f}, Start{Envelope::EnvFade, 0.8f},
                              Start{Envelope::EnvIdle, 0.3f}}) {
        Envelope single(0.125f, 0.0625f, 0.25f, 0.1f);
        Envelope block(0.125f, 0.0625f, 0.25f, 0.1f);
        single.setStateAndLevel(start.state, start.level);
        block.setStateAndLevel(start.state, start.level);
        std::vector<float> samples(40, 3.0f);
        block.applyTo(samples.data(), 17, 0.5f);  // two calls, split mid-stretch
        block.applyTo(samples.data() + 17, 23, 0.5f);
        for (size_t k = 0; k < samples.size(); ++k) {
            EXPECT_EQ(samples[k], single.tick() * 3.0f * 0.5f) << "from state " << start.state << ", tick " << k;
        }
        EXPECT_EQ(block.state(), single.state());
        EXPECT_EQ(block.level(), single.level());
    }
}

}  // namespace

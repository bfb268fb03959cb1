// Whole-voice renders checked sample for sample against a plain model of the
// voice, and the renderer's edge behaviour.

#include "EngineTestSupport.h"
#include "ReferenceVoice.h"
#include "engine/LowCutFilter.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Renders `blocks` blocks of `frames` and returns all output frames.
std::vector<float> renderBlocks(SynthEngine& engine, int blocks, int32_t frames)
{
    std::vector<float> all;
    for (int b = 0; b < blocks; ++b) {
        const std::vector<float> block = renderBlock(engine, frames);
        all.insert(all.end(), block.begin(), block.end());
    }
    return all;
}

struct RenderCase {
    const char* name;
    ParameterValues parameters;
    float velocity;
    float bend;
};

class WholeVoiceRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(WholeVoiceRender, MatchesThePlainModelBitForBit)
{
    const RenderCase& c = GetParam();
    SynthEngine engine;
    loadParameters(engine, c.parameters);
    engine.pitchBend(c.bend, 0);
    engine.noteOn(57, kA3, c.velocity, 0);
    renderBlock(engine, 0);  // applies the bend and the start
    ReferenceVoice model = modelOf(engine, engine.voice(8));

    // 0.1 s in blocks of 250 frames: attack, decays into sustain for the
    // short settings, and the modulators' full swing.
    const std::vector<float> rendered = renderBlocks(engine, 18, 250);
    for (size_t j = 0; j < rendered.size(); ++j) {
        ASSERT_EQ(rendered[j], model.frame()) << c.name << ", frame " << j;
    }
    EXPECT_TRUE(engine.voice(8).active());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, WholeVoiceRender,
    ::testing::Values(
        RenderCase{"plain", kPlainParameters, 1.0f, 0.0f},
        RenderCase{"filtered, full modulation, soft",
                   with(kPlainParameters, {{kBMode, 0.0f}, {kATone, 1.0f}, {kBTone, 1.0f}, {kAVel, 1.0f}}), 0.6f, 0.0f},
        RenderCase{"eight times, short decays, bent up",
                   with(kPlainParameters, {{kAMode, 1.0f}, {kADecay, 0.01f}, {kBDecay, 0.02f}, {kDecay, 0.01f}}), 0.8f,
                   0.3f},
        RenderCase{"filter switch just below one half, bent down",
                   with(kPlainParameters, {{kBMode, 0.49f}, {kVelocity, 1.0f}}), 0.35f, -0.75f},
        RenderCase{"filter switch at exactly one half bypasses", with(kPlainParameters, {{kBMode, 0.5f}}), 1.0f, 0.0f}),
    [](const ::testing::TestParamInfo<RenderCase>& info) { return "case" + std::to_string(info.index); });

TEST(SilentHeldVoice, MatchesThePlainModelThroughItsSubnormalTail)
{
    // A held note decays to silence in 40 ms, but its voice keeps running: the
    // filter's memory fades into subnormal numbers and then stops changing.
    // Every frame of that tail must still be exact.
    SynthEngine engine;
    loadParameters(engine, with(kPlainParameters, {{kBMode, 0.0f}, {kDecay, 0.01f}}));
    engine.noteOn(57, kA3, 1.0f, 0);
    renderBlock(engine, 0);
    ReferenceVoice model = modelOf(engine, engine.voice(8));

    const std::vector<float> rendered = renderBlocks(engine, 200, 512);  // 2.3 s
    for (size_t j = 0; j < rendered.size(); ++j) {
        ASSERT_EQ(std::bit_cast<uint32_t>(rendered[j]), std::bit_cast<uint32_t>(model.frame())) << "frame " << j;
    }
    EXPECT_EQ(engine.voice(8).mainEnvelope().state(), Envelope::EnvSustain);
    EXPECT_NE(rendered.back(), 0.0f);  // the filter's last subnormal trace
    EXPECT_LT(std::fabs(rendered.back()), std::numeric_limits<float>::min());
}

class VoiceRender : public ::testing::Test {
protected:
    void SetUp() override { loadParameters(engine, kPlainParameters); }
    Voice& startOnVoice8(float velocity = 1.0f)
    {
        engine.noteOn(57, kA3, velocity, 0);
        renderBlock(engine, 0);
        return engine.voice(8);
    }
    SynthEngine engine;
};

TEST_F(VoiceRender, WithoutModulationTheFirstFrameIsTheCarrierSineUnderTheAttack)
{
    // Both tones 0, full volume: tick 1 reads entry 326 >> 4 = 20 of the table
    // (32767 sin(20 * 2pi / 4096) = 1005.1), tick 2 entry 652 >> 4 = 40 (2009.3),
    // under main envelope levels r and 2r, scaled by 0.2.
    engine.parameters().store(with(kPlainParameters, {{kATone, 0.0f}, {kBTone, 0.0f}, {kVolume, 1.0f}}));
    const Voice& voice = startOnVoice8();
    const float r = voice.mainEnvelope().rates().attackRate;
    const float tick1 = r * (1005 * (1.0f / 32767.0f)) * 1.0f * 0.2f;
    const float tick2 = (r + r) * (2009 * (1.0f / 32767.0f)) * 1.0f * 0.2f;
    EXPECT_EQ(renderBlock(engine, 1)[0], tick1 + tick2);
}

TEST_F(VoiceRender, InactiveVoicesAndEmptyStretchesChangeNothing)
{
    Voice& voice = startOnVoice8();
    renderBlock(engine, 7);
    const uint16_t phase = voice.carrierPhase();
    const float level = voice.mainEnvelope().level();
    std::vector<float> output(4, 0.5f);
    std::vector<float> scratch(8, 0.0f);
    voice.render(0, output.data(), scratch.data(), scratch.data());
    voice.render(-3, output.data(), scratch.data(), scratch.data());
    engine.voice(2).render(4, output.data(), scratch.data(), scratch.data());  // never started
    EXPECT_EQ(output, std::vector<float>(4, 0.5f));
    EXPECT_EQ(voice.carrierPhase(), phase);
    EXPECT_EQ(voice.mainEnvelope().level(), level);
    EXPECT_TRUE(voice.active());
    EXPECT_FALSE(engine.voice(2).active());
}

TEST_F(VoiceRender, RendersAddIntoTheOutput)
{
    Voice& voice = startOnVoice8();
    SynthEngine twin;
    loadParameters(twin, kPlainParameters);
    twin.noteOn(57, kA3, 1.0f, 0);
    renderBlock(twin, 0);

    std::vector<float> output(16, 0.25f);
    std::vector<float> scratchA(32), scratchB(32);
    voice.render(16, output.data(), scratchA.data(), scratchB.data());
    const std::vector<float> alone = renderBlock(twin, 16);
    for (size_t j = 0; j < output.size(); ++j) {
        EXPECT_NEAR(output[j] - 0.25f, alone[j], 1e-6f) << "frame " << j;
    }
}

TEST_F(VoiceRender, ZeroVolumeIsSilentButTheVoiceRunsOn)
{
    engine.parameters().set(kVolume, 0.0f);
    Voice& voice = startOnVoice8();
    EXPECT_EQ(renderBlock(engine, 64), std::vector<float>(64, 0.0f));
    EXPECT_TRUE(voice.active());
    EXPECT_EQ(voice.mainEnvelope().state(), Envelope::EnvDecay);
}

TEST_F(VoiceRender, BodyVelocitySensitivityScalesTheBodyLevel)
{
    // "B Vel" 1 at velocity 0.5 halves "B Tone" 0.8 to 0.4; with the output
    // and attack levels independent of velocity the two voices sound alike.
    const ParameterValues base = with(kPlainParameters, {{kVelocity, 0.0f}, {kAVel, 0.0f}});
    SynthEngine sensitive;
    loadParameters(sensitive, with(base, {{kBTone, 0.8f}, {kBVel, 1.0f}}));
    SynthEngine insensitive;
    loadParameters(insensitive, with(base, {{kBTone, 0.4f}, {kBVel, 0.0f}}));
    sensitive.noteOn(57, kA3, 0.5f, 0);
    insensitive.noteOn(57, kA3, 0.5f, 0);
    EXPECT_EQ(renderBlock(sensitive, 500), renderBlock(insensitive, 500));

    // With every sensitivity at 0, velocity changes nothing.
    SynthEngine soft;
    SynthEngine loud;
    loadParameters(soft, with(base, {{kBVel, 0.0f}}));
    loadParameters(loud, with(base, {{kBVel, 0.0f}}));
    soft.noteOn(57, kA3, 0.5f, 0);
    loud.noteOn(57, kA3, 1.0f, 0);
    EXPECT_EQ(renderBlock(soft, 500), renderBlock(loud, 500));
}

TEST_F(VoiceRender, BypassedFrameIsTheSumOfItsTwoTicksAndLeavesTheFilterAlone)
{
    Voice& voice = startOnVoice8();
    renderBlock(engine, 10);
    EXPECT_EQ(voice.filter().input(), 0.0f);  // bypassed from the start
    EXPECT_EQ(voice.filter().stages(), (std::array<float, 4>{}));
}

TEST_F(VoiceRender, AVoiceThatEndsMidCallGoesQuietAndInactive)
{
    // The release from full level lasts 20 ms, 882 frames; from just below
    // full level the last non-zero frame comes a little earlier.
    Voice& voice = startOnVoice8();
    renderBlock(engine, 100);
    voice.release();
    const std::vector<float> block = renderBlock(engine, 1000);
    EXPECT_FALSE(voice.active());
    EXPECT_EQ(voice.mainEnvelope().state(), Envelope::EnvIdle);
    size_t lastSound = 0;
    for (size_t j = 0; j < block.size(); ++j) {
        if (block[j] != 0.0f) {
            lastSound = j;
        }
    }
    EXPECT_GT(lastSound, 870u);
    EXPECT_LT(lastSound, 882u);
    const uint16_t phase = voice.carrierPhase();
    renderBlock(engine, 10);
    EXPECT_EQ(voice.carrierPhase(), phase);  // skipped once inactive
}

TEST_F(VoiceRender, ABrokenParameterDoesNotPoisonTheFilterForLater)
{
    engine.parameters().set(kBMode, 0.0f);
    Voice& voice = startOnVoice8();
    engine.parameters().set(kVolume, std::numeric_limits<float>::quiet_NaN());
    const std::vector<float> broken = renderBlock(engine, 8);
    EXPECT_TRUE(std::isnan(broken[0]));
    engine.parameters().set(kVolume, 0.8f);
    for (float sample : renderBlock(engine, 64)) {
        ASSERT_TRUE(std::isfinite(sample));
    }
    EXPECT_TRUE(std::isfinite(voice.filter().input()));
}

TEST(LowCutFilter, RemovesAConstantInput)
{
    // Each low-pass stage has unity gain at zero frequency, so the input minus
    // the cascade settles at zero for a constant input.
    LowCutFilter filter;
    float result = filter.process(1.0f);
    EXPECT_GT(result, 0.9f);  // a step passes at first
    for (int k = 0; k < 4000; ++k) {
        result = filter.process(1.0f);
    }
    EXPECT_NEAR(result, 0.0f, 1e-4f);
}

}  // namespace

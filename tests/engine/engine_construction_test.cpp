#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(EngineConstruction, AFreshEngineIsQuietAndInOrder)
{
    const SynthEngine engine;
    EXPECT_EQ(engine.eventCount(), 0);
    EXPECT_EQ(engine.reserveVoice(), 8);
    EXPECT_EQ(engine.voiceOrder(), (std::array<int32_t, 9>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        const Voice& voice = engine.voice(i);
        EXPECT_FALSE(voice.active());
        EXPECT_FALSE(voice.released());
        EXPECT_FALSE(voice.startPending());
        EXPECT_EQ(voice.pitchFactor(), 1.0f);
        EXPECT_EQ(voice.note(), Voice::kNoNote);
        EXPECT_EQ(voice.carrierStep(), 0);
    }
    for (int i = 0; i < ParameterBlock::kCount; ++i) {
        EXPECT_EQ(engine.parameters().get(i), 0.1f);
    }
}

TEST(EngineConstruction, AFreshEngineRendersSilence)
{
    SynthEngine engine;
    EXPECT_EQ(renderBlock(engine, 256), std::vector<float>(256, 0.0f));
}

TEST(EngineConstruction, VoicesReadTheEnginesParametersAndTable)
{
    // A parameter written to the engine's block reaches the voices' mapping.
    SynthEngine engine;
    engine.parameters().set(kDecay, 0.0f);
    engine.updateVoices(kUpdateAll);
    EXPECT_EQ(engine.voice(3).mainEnvelope().rates().decayRate, std::numeric_limits<float>::infinity());
    EXPECT_EQ(engine.sineTable()[1024], 32767);
}

}  // namespace

// The lane renderer against Voice::render, the reference: two engines receive
// the same randomised scene (factory programs, random parameter values with
// the switch thresholds, notes, releases, stealing, pitch bends, all-notes-off,
// odd block and scratch sizes) and must give the same bits in every frame and
// the same voice state after every block.

#include "EngineTestSupport.h"
#include "instrument/FactoryPrograms.h"

#include <gtest/gtest.h>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using Width = LaneRenderer::Width;

uint32_t bitsOf(float value) { return std::bit_cast<uint32_t>(value); }

// Both engines, driven alike.
class TwinEngines {
public:
    explicit TwinEngines(Width width)
    {
        reference_.setLaneWidth(Width::kNone);
        supported_ = fast_.setLaneWidth(width);
    }
    bool supported() const { return supported_; }

    template <class Action>
    void both(Action action)
    {
        action(reference_);
        action(fast_);
    }

    // Renders one block through scratch room for `scratchFrames` frames and
    // compares every frame's bits and every voice's state.
    void renderAndCompare(int32_t frames, int32_t scratchFrames, const std::string& where)
    {
        const std::vector<float> expected = render(reference_, frames, scratchFrames);
        const std::vector<float> actual = render(fast_, frames, scratchFrames);
        for (size_t j = 0; j < expected.size(); ++j) {
            ASSERT_EQ(bitsOf(actual[j]), bitsOf(expected[j])) << where << ", frame " << j << ": " << actual[j]
                                                               << " instead of " << expected[j];
        }
        for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
            compareVoices(reference_.voice(v), fast_.voice(v), where + ", voice " + std::to_string(v));
        }
    }

    const SynthEngine& reference() const { return reference_; }

private:
    static std::vector<float> render(SynthEngine& engine, int32_t frames, int32_t scratchFrames)
    {
        std::vector<float> output(static_cast<size_t>(frames), 0.0f);
        std::vector<float> scratchA(2 * static_cast<size_t>(scratchFrames));
        std::vector<float> scratchB(2 * static_cast<size_t>(scratchFrames));
        engine.render(scratchA.data(), scratchB.data(), scratchFrames, output.data(), frames);
        return output;
    }

    static void compareEnvelopes(const Envelope& expected, const Envelope& actual, const std::string& what)
    {
        EXPECT_EQ(actual.state(), expected.state()) << what;
        EXPECT_EQ(bitsOf(actual.level()), bitsOf(expected.level())) << what;
    }

    static void compareVoices(const Voice& expected, const Voice& actual, const std::string& where)
    {
        EXPECT_EQ(actual.active(), expected.active()) << where;
        EXPECT_EQ(actual.carrierPhase(), expected.carrierPhase()) << where;
        EXPECT_EQ(actual.bodyPhase(), expected.bodyPhase()) << where;
        EXPECT_EQ(actual.attackPhase(), expected.attackPhase()) << where;
        compareEnvelopes(expected.mainEnvelope(), actual.mainEnvelope(), where + ", main envelope");
        compareEnvelopes(expected.bodyEnvelope(), actual.bodyEnvelope(), where + ", body envelope");
        compareEnvelopes(expected.attackEnvelope(), actual.attackEnvelope(), where + ", attack envelope");
        EXPECT_EQ(bitsOf(actual.filter().input()), bitsOf(expected.filter().input())) << where;
        for (size_t s = 0; s < 4; ++s) {
            EXPECT_EQ(bitsOf(actual.filter().stages()[s]), bitsOf(expected.filter().stages()[s]))
                << where << ", filter stage " << s;
        }
    }

    SynthEngine reference_;
    SynthEngine fast_;
    bool supported_ = false;
};

TEST(LaneWidth, TheWidestSetTheProcessorOffersIsTheDefaultAndVoiceByVoiceIsAlwaysThere)
{
    SynthEngine engine;
    EXPECT_EQ(engine.laneWidth(), LaneRenderer::widestAvailable());
    EXPECT_TRUE(engine.setLaneWidth(Width::kNone));
    EXPECT_EQ(engine.laneWidth(), Width::kNone);
    // A width beyond what the processor has is refused and changes nothing.
    if (LaneRenderer::widestAvailable() != Width::kSixteen) {
        EXPECT_FALSE(engine.setLaneWidth(Width::kSixteen));
        EXPECT_EQ(engine.laneWidth(), Width::kNone);
    }
}

// Random scenes: what a host and a player can send.
class SceneMaker {
public:
    explicit SceneMaker(uint32_t seed) : random_(seed) { writeFactoryPrograms(programs_); }

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }
    float uniform(float low, float high) { return std::uniform_real_distribution<float>(low, high)(random_); }
    bool chance(int percent) { return pick(100) < percent; }

    // Parameter values with the edges and the switch threshold well
    // represented, and now and then a value outside 0..1 (a chunk can hold one).
    float parameterValue()
    {
        static constexpr float kEdges[] = {0.0f, 1.0f, 0.5f, 0.49999997f, 0.50000006f, 0.001f};
        static constexpr float kOutside[] = {-0.25f, 1.5f, 3.0f};
        const int kind = pick(20);
        if (kind < 6) {
            return kEdges[kind];
        }
        if (kind == 6) {
            return kOutside[pick(3)];
        }
        return uniform(0.0f, 1.0f);
    }

    ParameterValues factoryProgram()
    {
        ParameterValues values{};
        const ProgramRecord& record = programs_[static_cast<size_t>(pick(kFactoryProgramCount))];
        for (size_t i = 0; i < values.size(); ++i) {
            values[i] = record.values[i];
        }
        return values;
    }

    // The frequency the MIDI intake hands over for a note number (one octave
    // down from the MIDI note, equal temperament).
    static float frequencyOf(int note) { return 440.0f * std::exp2((static_cast<float>(note) - 57.0f) / 12.0f) / 2.0f; }

private:
    std::mt19937 random_;
    std::array<ProgramRecord, kFactoryProgramCount> programs_{};
};

struct SceneCase {
    uint32_t seed;
    float sampleRate;
    Width width;
    int blocks;
};

std::string nameOf(const ::testing::TestParamInfo<SceneCase>& info)
{
    return "seed" + std::to_string(info.param.seed) + "_" + std::to_string(static_cast<int>(info.param.sampleRate)) +
           "Hz_" + std::to_string(static_cast<int>(info.param.width)) + "lanes";
}

class LaneEquality : public ::testing::TestWithParam<SceneCase> {};

TEST_P(LaneEquality, RandomScenesRenderTheSameBits)
{
    const SceneCase& c = GetParam();
    TwinEngines twins(c.width);
    if (!twins.supported()) {
        GTEST_SKIP() << "this processor has no " << static_cast<int>(c.width) << "-lane vector set";
    }
    SceneMaker scene(c.seed);
    twins.both([&](SynthEngine& e) {
        for (int v = 0; v < SynthEngine::kVoiceCount; ++v) {
            e.voice(v).setSampleRate(c.sampleRate);
        }
    });
    const ParameterValues first = scene.factoryProgram();
    twins.both([&](SynthEngine& e) { loadParameters(e, first); });

    std::vector<int> sounding;  // notes started and not yet released
    for (int block = 0; block < c.blocks; ++block) {
        // Between blocks: what the user and the host change.
        if (scene.chance(8)) {
            const ParameterValues program = scene.factoryProgram();
            twins.both([&](SynthEngine& e) { loadParameters(e, program); });
        }
        if (scene.chance(25)) {
            const int index = scene.pick(ParameterBlock::kCount);
            const float value = scene.parameterValue();
            twins.both([&](SynthEngine& e) {
                e.parameters().set(index, value);
                e.updateVoices(index);
            });
        }
        if (scene.chance(2)) {
            twins.both([](SynthEngine& e) { e.silenceAllVoices(); });
        }

        static constexpr int32_t kBlockSizes[] = {1, 2, 17, 64, 128, 256, 441, 512};
        const int32_t frames = kBlockSizes[scene.pick(8)];
        const int32_t scratchFrames = scene.chance(15) ? 1 + scene.pick(frames) : frames;

        // The block's events, in frame order as hosts deliver them.
        const int events = scene.pick(5);
        int32_t offset = 0;
        for (int i = 0; i < events; ++i) {
            offset = std::min(frames, offset + scene.pick(frames + 1) / 2);
            const int kind = scene.pick(10);
            if (kind < 5) {
                const int note = 12 + scene.pick(88);
                const float velocity = scene.chance(10) ? 1.0f : scene.uniform(0.01f, 1.0f);
                twins.both([&](SynthEngine& e) { e.noteOn(note, SceneMaker::frequencyOf(note), velocity, offset); });
                sounding.push_back(note);
            } else if (kind < 8 && !sounding.empty()) {
                const size_t which = static_cast<size_t>(scene.pick(static_cast<int>(sounding.size())));
                const int note = sounding[which];
                sounding.erase(sounding.begin() + static_cast<long>(which));
                twins.both([&](SynthEngine& e) { e.noteOff(note, offset); });
            } else {
                const float bend = scene.chance(30) ? static_cast<float>(scene.pick(3) - 1) : scene.uniform(-1.0f, 1.0f);
                twins.both([&](SynthEngine& e) { e.pitchBend(bend, offset); });
            }
        }
        twins.renderAndCompare(frames, scratchFrames, "block " + std::to_string(block));
        if (HasFatalFailure() || HasNonfatalFailure()) {
            return;
        }
    }
}

// Three seeds at each rate for each width, each about a second of busy
// playing at 44.1 kHz.
std::vector<SceneCase> sceneCases()
{
    std::vector<SceneCase> cases;
    for (Width width : {Width::kEight, Width::kSixteen}) {
        for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
            for (uint32_t seed : {1u, 2u, 3u}) {
                cases.push_back({seed + 10u * static_cast<uint32_t>(rate), rate, width, 200});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Scenes, LaneEquality, ::testing::ValuesIn(sceneCases()), nameOf);

// Held notes that decay to silence with the filter on: the filter memory sinks
// into subnormal numbers and stops changing, the stretch the lanes render
// from zero memory. Three seconds of it, then a release and a new chord on
// the same voices, whose filters start from that memory.
class LaneTails : public ::testing::TestWithParam<Width> {};

TEST_P(LaneTails, SilentHeldNotesAndTheirFiltersMatchIntoSubnormalNumbers)
{
    TwinEngines twins(GetParam());
    if (!twins.supported()) {
        GTEST_SKIP() << "this processor lacks this vector set";
    }
    const ParameterValues tail = with(kPlainParameters, {{kBMode, 0.0f}, {kDecay, 0.01f}, {kBDecay, 0.2f}});
    twins.both([&](SynthEngine& e) { loadParameters(e, tail); });
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        twins.both([&](SynthEngine& e) { e.noteOn(40 + 5 * i, SceneMaker::frequencyOf(40 + 5 * i), 0.9f, 3 * i); });
    }
    for (int block = 0; block < 260; ++block) {  // three seconds
        twins.renderAndCompare(512, 512, "held, block " + std::to_string(block));
        ASSERT_FALSE(HasFailure());
    }
    const float lastStage = twins.reference().voice(3).filter().stages()[3];
    EXPECT_NE(lastStage, 0.0f);
    EXPECT_LT(std::fabs(lastStage), 1.2e-38f) << "the filter memory should have become subnormal";

    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        twins.both([&](SynthEngine& e) { e.noteOff(40 + 5 * i, 7 * i); });
    }
    twins.renderAndCompare(512, 512, "released");
    for (int i = 0; i < 4; ++i) {
        twins.both([&](SynthEngine& e) { e.noteOn(60 + i, SceneMaker::frequencyOf(60 + i), 0.5f, 10 * i); });
    }
    for (int block = 0; block < 20; ++block) {
        twins.renderAndCompare(300, 300, "new chord, block " + std::to_string(block));
        ASSERT_FALSE(HasFailure());
    }
}

// Values no parameter path stores but a chunk may hold: NaN, infinity. A
// NaN keeps the voices on Voice::render; an infinity makes NaN from zero
// times infinity, the same NaN in every lane as in the scalar code.
TEST_P(LaneTails, BrokenLevelsGiveTheSameBits)
{
    TwinEngines twins(GetParam());
    if (!twins.supported()) {
        GTEST_SKIP() << "this processor lacks this vector set";
    }
    twins.both([&](SynthEngine& e) { loadParameters(e, with(kPlainParameters, {{kBMode, 0.0f}})); });
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        twins.both([&](SynthEngine& e) { e.noteOn(50 + i, SceneMaker::frequencyOf(50 + i), 0.7f, i); });
    }
    twins.renderAndCompare(64, 64, "before");
    for (const auto& [index, value] : {std::pair{kVolume, std::numeric_limits<float>::quiet_NaN()},
                                       std::pair{kATone, std::numeric_limits<float>::infinity()},
                                       std::pair{kBTone, -std::numeric_limits<float>::infinity()},
                                       std::pair{kVolume, std::numeric_limits<float>::infinity()}}) {
        twins.both([&](SynthEngine& e) { e.parameters().set(index, value); });
        twins.renderAndCompare(100, 37, "broken parameter " + std::to_string(index));
    }
    twins.both([&](SynthEngine& e) { loadParameters(e, with(kPlainParameters, {{kBMode, 0.0f}})); });
    twins.renderAndCompare(200, 200, "mended");
}

#if defined(__SSE__)
// A host, or the instrument itself, may run the audio path with subnormal
// numbers flushed to zero. Both paths then see the same flushed values.
TEST_P(LaneTails, FlushingSubnormalsToZeroChangesBothPathsAlike)
{
    TwinEngines twins(GetParam());
    if (!twins.supported()) {
        GTEST_SKIP() << "this processor lacks this vector set";
    }
    constexpr unsigned kFlushToZero = 0x8000;
    constexpr unsigned kDenormalsAreZero = 0x0040;
    const unsigned saved = _mm_getcsr();
    _mm_setcsr(saved | kFlushToZero | kDenormalsAreZero);
    const ParameterValues tail = with(kPlainParameters, {{kBMode, 0.0f}, {kDecay, 0.01f}});
    twins.both([&](SynthEngine& e) { loadParameters(e, tail); });
    for (int i = 0; i < SynthEngine::kVoiceCount; ++i) {
        twins.both([&](SynthEngine& e) { e.noteOn(45 + 3 * i, SceneMaker::frequencyOf(45 + 3 * i), 0.8f, i); });
    }
    for (int block = 0; block < 200 && !HasFailure(); ++block) {
        twins.renderAndCompare(441, 441, "flushed, block " + std::to_string(block));
    }
    _mm_setcsr(saved);
}
#endif

INSTANTIATE_TEST_SUITE_P(Widths, LaneTails, ::testing::Values(Width::kEight, Width::kSixteen),
                         [](const ::testing::TestParamInfo<Width>& info) {
                             return std::to_string(static_cast<int>(info.param)) + "lanes";
                         });

}  // namespace

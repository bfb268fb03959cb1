#include "chorus/StereoChorus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

// The LFO coefficient for a rate: 1.2·π over the rate, through a double sine.
float lfoCoefficientFor(double rate)
{
    return static_cast<float>(2.0 * std::sin(3.7699111002959187 / rate));
}

struct Stereo {
    explicit Stereo(size_t frames, float fill = 0.0f) : left(frames, fill), right(frames, fill) {}
    int32_t frames() const { return static_cast<int32_t>(left.size()); }
    std::vector<float> left;
    std::vector<float> right;
};

// A straightforward model of the chorus: it keeps every input sample in a
// plain history and reads each tap by the age of its four support points,
// instead of through the rings and the masked read index.
class ReferenceChorus {
public:
    ReferenceChorus(double rate, int32_t delay) : k(lfoCoefficientFor(rate)), delay(delay) {}

    void process(Stereo& block, float amount)
    {
        for (size_t i = 0; i < block.left.size(); ++i) {
            s0 = s0 - k * s1;
            s1 = s1 + k * s0;
            leftHistory.push_back(block.left[i]);
            rightHistory.push_back(block.right[i]);
            block.left[i] = tap(leftHistory, (s0 + 1.0f) * 0.25f * 512.0f) * amount + block.left[i];
            block.right[i] = tap(rightHistory, (s1 + 1.0f) * 0.25f * 512.0f) * amount + block.right[i];
        }
    }

private:
    float tap(const std::vector<float>& history, float position) const
    {
        const int32_t whole = static_cast<int32_t>(std::floor(position));
        const float f = position - static_cast<float>(whole);
        const int32_t age = delay - whole;  // age of the sample under the tap's whole position
        const float yBefore = sampleAged(history, age + 1);
        const float y0 = sampleAged(history, age);
        const float y1 = sampleAged(history, age - 1);
        const float y2 = sampleAged(history, age - 2);
        const float c1 = (y1 - yBefore) * 0.5f;
        const float c3 = (y2 - yBefore) * 0.5f + (y0 - y1) * 1.5f;
        const float c2 = (yBefore - y0) + c1 - c3;
        return ((c3 * f + c2) * f + c1) * f + y0;
    }

    static float sampleAged(const std::vector<float>& history, int32_t age)
    {
        const int64_t index = static_cast<int64_t>(history.size()) - 1 - age;
        return index >= 0 ? history[static_cast<size_t>(index)] : 0.0f;
    }

    float k;
    int32_t delay;
    float s0 = 0.5f;
    float s1 = 0.0f;
    std::vector<float> leftHistory;
    std::vector<float> rightHistory;
};

Stereo noise(int32_t frames, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    Stereo block(static_cast<size_t>(frames));
    for (int32_t i = 0; i < frames; ++i) {
        block.left[i] = sample(generator);
        block.right[i] = sample(generator);
    }
    return block;
}

TEST(StereoChorus, StartsAtTheDefaultRateWithTheTapsHalfARingBehind)
{
    StereoChorus chorus;
    EXPECT_EQ(chorus.sampleRate(), 44100.0f);
    EXPECT_EQ(chorus.writeIndex(), 0);
    EXPECT_EQ(chorus.readIndex(), 512);
    EXPECT_EQ(chorus.leftLfo(), 0.5f);
    EXPECT_EQ(chorus.rightLfo(), 0.0f);
}

// At 44100 Hz the delay is 2048 - 512 = 1536 samples and the left tap starts
// near 190 samples, so an impulse returns 1536 - 190 = 1346 samples later,
// spread over its four interpolation points.
TEST(StereoChorus, ImpulseReturnsOnItsOwnChannelAfterTheDelay)
{
    StereoChorus chorus;
    Stereo block(2048);
    block.left[0] = 1.0f;
    chorus.process(block.left.data(), block.right.data(), block.frames(), 1.0f);

    EXPECT_EQ(block.left[0], 1.0f);
    int32_t peak = 1;
    for (int32_t i = 1; i < block.frames(); ++i) {
        const bool inEcho = i >= 1344 && i <= 1347;
        EXPECT_EQ(block.left[i] != 0.0f, inEcho) << "sample " << i;
        if (std::fabs(block.left[i]) > std::fabs(block.left[peak]))
            peak = i;
    }
    EXPECT_EQ(peak, 1346);
    for (int32_t i = 0; i < block.frames(); ++i)
        ASSERT_EQ(block.right[i], 0.0f) << "sample " << i;
}

// Runs the same input through a chorus at amount 0 and a twin at full amount,
// after both rings have been filled so that the taps read real signal.
TEST(StereoChorus, ZeroAmountLeavesTheOutputButStillFeedsTheLines)
{
    StereoChorus chorus;
    StereoChorus twin;
    Stereo fill = noise(2048, 1);
    Stereo twinFill = fill;
    chorus.process(fill.left.data(), fill.right.data(), fill.frames(), 1.0f);
    twin.process(twinFill.left.data(), twinFill.right.data(), twinFill.frames(), 1.0f);

    const Stereo dry = noise(1024, 2);
    Stereo quiet = dry;
    Stereo loud = dry;
    chorus.process(quiet.left.data(), quiet.right.data(), quiet.frames(), 0.0f);
    twin.process(loud.left.data(), loud.right.data(), loud.frames(), 1.0f);

    EXPECT_EQ(quiet.left, dry.left);
    EXPECT_EQ(quiet.right, dry.right);
    EXPECT_NE(loud.left, dry.left);  // the taps did have signal to add
    EXPECT_EQ(chorus.writeIndex(), (2048 + 1024) & 2047);
    EXPECT_EQ(chorus.readIndex(), (512 + 2048 + 1024) & 2047);
    EXPECT_EQ(chorus.leftLfo(), twin.leftLfo());
    EXPECT_EQ(chorus.rightLfo(), twin.rightLfo());

    // The block played at amount 0 went into the rings all the same: on
    // silence both now give back identical echoes of it.
    Stereo echo(1024);
    Stereo twinEcho(1024);
    chorus.process(echo.left.data(), echo.right.data(), echo.frames(), 1.0f);
    twin.process(twinEcho.left.data(), twinEcho.right.data(), twinEcho.frames(), 1.0f);
    EXPECT_NE(echo.left, std::vector<float>(1024, 0.0f));
    EXPECT_EQ(echo.left, twinEcho.left);
    EXPECT_EQ(echo.right, twinEcho.right);
}

class EmptyBlocks : public ::testing::TestWithParam<int32_t> {};

// An empty or negative block refreshes only the LFO coefficient: nothing is
// written or read, and no state moves.
TEST_P(EmptyBlocks, RefreshOnlyTheCoefficient)
{
    StereoChorus chorus;
    Stereo warmUp = noise(300, 5);
    chorus.process(warmUp.left.data(), warmUp.right.data(), warmUp.frames(), 1.0f);
    chorus.setSampleRate(48000.0f);
    const float s0 = chorus.leftLfo();
    const float s1 = chorus.rightLfo();

    constexpr float marker = -7.0f;
    Stereo block(4, marker);
    chorus.process(block.left.data(), block.right.data(), GetParam(), 1.0f);

    EXPECT_EQ(chorus.lfoCoefficient(), lfoCoefficientFor(48000.0));
    EXPECT_EQ(chorus.writeIndex(), 300);
    EXPECT_EQ(chorus.readIndex(), 557);
    EXPECT_EQ(chorus.leftLfo(), s0);
    EXPECT_EQ(chorus.rightLfo(), s1);
    EXPECT_EQ(block.left, std::vector<float>(4, marker));
    EXPECT_EQ(block.right, std::vector<float>(4, marker));
}

INSTANTIATE_TEST_SUITE_P(Counts, EmptyBlocks, ::testing::Values(0, -1, -512, INT32_MIN));

struct RateOffset {
    float rate;
    int32_t offset;  // trunc(rate / 44100 * 512)
};

class SampleRateOffsets : public ::testing::TestWithParam<RateOffset> {};

TEST_P(SampleRateOffsets, MoveOnlyTheReadIndex)
{
    StereoChorus chorus;
    Stereo block = noise(300, 3);
    chorus.process(block.left.data(), block.right.data(), block.frames(), 0.5f);
    const float s0 = chorus.leftLfo();
    const float s1 = chorus.rightLfo();

    chorus.setSampleRate(GetParam().rate);

    EXPECT_EQ(chorus.sampleRate(), GetParam().rate);
    EXPECT_EQ(chorus.readIndex(), GetParam().offset);
    EXPECT_EQ(chorus.writeIndex(), 300);
    EXPECT_EQ(chorus.leftLfo(), s0);
    EXPECT_EQ(chorus.rightLfo(), s1);
}

INSTANTIATE_TEST_SUITE_P(Rates, SampleRateOffsets,
    ::testing::Values(RateOffset{44100.0f, 512}, RateOffset{48000.0f, 557}, RateOffset{88200.0f, 1024},
                      RateOffset{96000.0f, 1114}, RateOffset{22050.0f, 256}, RateOffset{192000.0f, 2229}));

// A rate of zero would make the LFO coefficient the sine of infinity, and the
// resulting NaN would stay in the oscillator for good; such rates are ignored.
TEST(StereoChorus, IgnoresRatesWithoutAUsableLfoStep)
{
    const float unusable[] = {0.0f, -0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(), 1.0e12f};
    for (const float rate : unusable) {
        StereoChorus chorus;
        chorus.setSampleRate(48000.0f);
        chorus.setSampleRate(rate);
        EXPECT_EQ(chorus.sampleRate(), 48000.0f) << rate;
        EXPECT_EQ(chorus.readIndex(), 557) << rate;

        Stereo block = noise(2048, 4);
        chorus.process(block.left.data(), block.right.data(), block.frames(), 1.0f);
        EXPECT_TRUE(std::isfinite(block.left.back()) && std::isfinite(chorus.leftLfo())) << rate;
    }
}

struct ReferenceRun {
    float rate;      // 0 keeps the default rate
    int32_t delay;   // (write - read) mod 2048 before the first block
};

class AgainstReference : public ::testing::TestWithParam<ReferenceRun> {};

// Blocks of uneven sizes, wrapping both rings more than twice, give the same
// bits as the reference model.
TEST_P(AgainstReference, MatchesBitForBit)
{
    const ReferenceRun run = GetParam();
    StereoChorus chorus;
    if (run.rate != 0.0f)
        chorus.setSampleRate(run.rate);
    ReferenceChorus reference(chorus.sampleRate(), run.delay);

    unsigned seed = 10;
    for (const int32_t frames : {1, 100, 511, 2000, 64, 1500}) {
        Stereo block = noise(frames, seed++);
        Stereo expected = block;
        chorus.process(block.left.data(), block.right.data(), frames, 0.7f);
        reference.process(expected, 0.7f);
        ASSERT_EQ(block.left, expected.left) << "block of " << frames;
        ASSERT_EQ(block.right, expected.right) << "block of " << frames;
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, AgainstReference,
    ::testing::Values(ReferenceRun{0.0f, 1536}, ReferenceRun{48000.0f, 1491}, ReferenceRun{96000.0f, 934}));

} // namespace

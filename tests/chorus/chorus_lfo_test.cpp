#include "chorus/StereoChorus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Follows the oscillator one frame per block over a little more than two
// sweeps and records where the left sweep crosses zero upward (with linear
// interpolation between frames), and where the right sweep stands then.
struct LfoTrace {
    std::vector<double> upwardCrossings;  // in frames
    std::vector<float> rightAtCrossing;
    float leftPeak = 0.0f;
};

LfoTrace traceLfo(float rate)
{
    StereoChorus chorus;
    chorus.setSampleRate(rate);
    LfoTrace trace;
    const int frames = static_cast<int>(rate / 1.2f * 2.2f);
    float previous = chorus.leftLfo();
    for (int i = 1; i <= frames; ++i) {
        float left = 0.0f;
        float right = 0.0f;
        chorus.process(&left, &right, 1, 0.0f);
        const float current = chorus.leftLfo();
        if (previous < 0.0f && current >= 0.0f) {
            trace.upwardCrossings.push_back(i - 1 + previous / (previous - current));
            trace.rightAtCrossing.push_back(chorus.rightLfo());
        }
        trace.leftPeak = std::max(trace.leftPeak, std::fabs(current));
        previous = current;
    }
    return trace;
}

class LfoRates : public ::testing::TestWithParam<float> {};

// The coefficient's sine argument is 1.2·π divided by the rate, which turns the
// coupled oscillator by 2·1.2·π radians per second at any rate.
TEST_P(LfoRates, SweepsAtOnePointTwoHertz)
{
    const float rate = GetParam();
    const LfoTrace trace = traceLfo(rate);
    ASSERT_EQ(trace.upwardCrossings.size(), 2u);
    const double period = trace.upwardCrossings[1] - trace.upwardCrossings[0];
    EXPECT_NEAR(rate / period, 1.2, 1.2e-4);
}

// The left sweep starts at its +0.5 peak and keeps that size; when it rises
// through zero the right sweep, a quarter period behind, is at its -0.5 low.
TEST_P(LfoRates, KeepsItsSizeWithTheRightSweepAQuarterBehind)
{
    const LfoTrace trace = traceLfo(GetParam());
    EXPECT_NEAR(trace.leftPeak, 0.5f, 1e-3f);
    for (const float right : trace.rightAtCrossing)
        EXPECT_NEAR(right, -0.5f, 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(Rates, LfoRates, ::testing::Values(22050.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f));

} // namespace

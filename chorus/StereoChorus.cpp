#include "chorus/StereoChorus.h"

#include "numeric/FloorToInt.h"

#include <cmath>

namespace {

constexpr float kDefaultRate = 44100.0f;                  // Hz
constexpr double kReferencePeriod = 2.2675736961451248e-05; // 1/44100 s: the rate the offset is tuned for
constexpr double kOffsetAtReference = 512.0;              // samples of delay offset at 44100 Hz
// 1.2·π: the coefficient's sine argument times the sample rate, so that the
// oscillator turns 2·1.2·π radians per second, a 1.2 Hz sweep at every rate.
constexpr double kLfoAngle = 3.7699111002959187;
constexpr float kLfoDepth = 0.25f;     // the sweep (s ± 0.5) maps to 0.125..0.375
constexpr float kPositionScale = 512.0f; // so the taps sweep 64..192 samples

double unmaskedOffset(float rate)
{
    return static_cast<double>(rate) * kReferencePeriod * kOffsetAtReference;
}

bool isUsableRate(float rate)
{
    if (!(rate > 0.0f) || !std::isfinite(rate))
        return false;
    return unmaskedOffset(rate) < 2147483648.0;
}

// Truncated toward zero and kept unmasked: the taps mask it when they read.
int32_t readOffsetForRate(float rate)
{
    return static_cast<int32_t>(unmaskedOffset(rate));
}

} // namespace

StereoChorus::StereoChorus()
    : read(readOffsetForRate(kDefaultRate))
    , rate(kDefaultRate)
{
}

void StereoChorus::setSampleRate(float newRate)
{
    if (!isUsableRate(newRate))
        return;
    rate.store(newRate, std::memory_order_relaxed);
    read.store(readOffsetForRate(newRate), std::memory_order_relaxed);
}

float StereoChorus::tap(const std::array<float, kLineLength>& line, int32_t baseIndex, float position) const
{
    const int32_t whole = numeric::floorToInt(position);
    const float fraction = position - static_cast<float>(whole);
    const int32_t j = whole + baseIndex;

    const float yBefore = line[(j - 1) & kIndexMask];
    const float y0 = line[j & kIndexMask];
    const float y1 = line[(j + 1) & kIndexMask];
    const float y2 = line[(j + 2) & kIndexMask];

    // Four-point Catmull-Rom, kept in this exact form so every build rounds alike.
    const float c1 = (y1 - yBefore) * 0.5f;
    const float c3 = (y2 - yBefore) * 0.5f + (y0 - y1) * 1.5f;
    const float c2 = (yBefore - y0) + c1 - c3;
    return ((c3 * fraction + c2) * fraction + c1) * fraction + y0;
}

void StereoChorus::process(float* left, float* right, int32_t frames, float amount)
{
    k = static_cast<float>(2.0 * std::sin(kLfoAngle / static_cast<double>(rate.load(std::memory_order_relaxed))));
    if (frames <= 0)
        return;

    // The read index only changes between blocks, so it is taken once and
    // written back once.
    int32_t r = read.load(std::memory_order_relaxed);
    for (int32_t i = 0; i < frames; ++i) {
        s0 = s0 - k * s1;
        s1 = s1 + k * s0;  // uses the new s0: this keeps the oscillator from drifting in amplitude
        const float m0 = (s0 + 1.0f) * kLfoDepth;
        const float m1 = (s1 + 1.0f) * kLfoDepth;

        leftLine[write] = left[i];
        rightLine[write] = right[i];
        write = (write + 1) & kIndexMask;

        left[i] = tap(leftLine, r, m0 * kPositionScale) * amount + left[i];
        right[i] = tap(rightLine, r, m1 * kPositionScale) * amount + right[i];

        r = (r + 1) & kIndexMask;
    }
    read.store(r, std::memory_order_relaxed);
}

// Parameters live in 0..1. A value beyond that range makes envelope rates
// negative (levels that grow without end) or gains that overflow, and a NaN
// reaches the audio output, so every value the voices will read passes here.
#pragma once

#include <algorithm>
#include <cmath>

// The nearest value in 0..1; NaN, which has no nearest value, becomes 0.
inline float playableValue(float value) { return std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f); }

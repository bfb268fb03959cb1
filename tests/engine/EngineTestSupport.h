#pragma once

#include "engine/SynthEngine.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Shared set-up for the engine tests: an engine at 44100 Hz with a chosen
// parameter set and the full envelope mapping applied, as the instrument
// leaves it after construction.

using ParameterValues = std::array<float, ParameterBlock::kCount>;

// A neutral sound: filter bypassed ("B Mode" 1), both modulators at moderate
// levels, long decays so that voices keep sounding through a test.
inline constexpr ParameterValues kPlainParameters = {
    0.0f,  // A Mode: attack oscillator at 16 times the pitch
    0.5f,  // A Tone
    0.5f,  // A Decay
    0.5f,  // A Vel
    1.0f,  // B Mode: filter bypassed
    0.5f,  // B Tone
    0.5f,  // B Decay
    0.5f,  // B Vel
    1.0f,  // Decay: four seconds
    0.5f,  // Velocity
    0.8f,  // Volume
    0.0f,  // Chorus
};

// A parameter set with some values changed: {{index, value}, ...}.
inline ParameterValues with(ParameterValues values, std::initializer_list<std::pair<int, float>> changes)
{
    for (const auto& [index, value] : changes) {
        values[static_cast<size_t>(index)] = value;
    }
    return values;
}

inline void loadParameters(SynthEngine& engine, const ParameterValues& values)
{
    engine.parameters().store(values);
    engine.updateVoices(kUpdateAll);
}

// Output of one render call over `frames` frames, with scratch buffers of
// exactly the documented size.
inline std::vector<float> renderBlock(SynthEngine& engine, int32_t frames)
{
    std::vector<float> output(static_cast<size_t>(frames), 0.0f);
    std::vector<float> scratchA(2 * static_cast<size_t>(frames));
    std::vector<float> scratchB(2 * static_cast<size_t>(frames));
    engine.render(scratchA.data(), scratchB.data(), output.data(), frames);
    return output;
}

// Frequencies that the instrument hands over for MIDI notes 69 and 81 (one
// octave down, Hz).
inline constexpr float kA3 = 220.0f;
inline constexpr float kA4 = 440.0f;

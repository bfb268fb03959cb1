// The names the host shows for the twelve parameters, in index order.
#pragma once

inline constexpr const char* kParameterNames[12] = {
    "A Mode", "A Tone", "A Decay", "A Vel",     // attack oscillator
    "B Mode", "B Tone", "B Decay", "B Vel",     // body oscillator and low-cut switch
    "Decay",  "Velocity", "Volume", "Chorus",   // the whole voice and the output
};
inline constexpr const char* kParameterLabel = "Ynk";
inline constexpr const char* kParameterDisplay = "A few";

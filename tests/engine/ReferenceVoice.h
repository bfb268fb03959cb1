#pragma once

// A deliberately plain, one-tick-at-a-time model of a voice, written apart from
// the engine (its own sine values, its own floor, one merged loop) to derive
// exact sample values for whole-voice renders. Only the oscillator steps and
// the envelope rates are taken from the engine, since their derivations are
// tested on their own.

#include "engine/SynthEngine.h"

#include <array>
#include <cmath>
#include <cstdint>

struct ReferenceEnvelope {
    int state = 1;  // starts in attack at level 0, as a note start leaves it
    float level = 0.0f;
    Envelope::Rates rates{};

    float tick()
    {
        switch (state) {
        case 1:
            level += rates.attackRate;
            if (level >= 1.0f) { level = 1.0f; state = 2; }
            return level;
        case 2:
            level -= rates.decayRate;
            if (rates.sustainLevel >= level) { level = rates.sustainLevel; state = 3; }
            return level * level;
        case 3:
            level = rates.sustainLevel;
            return level * level;
        case 4:
            level -= rates.releaseRate;
            if (level <= 0.0f) { level = 0.0f; state = 0; }
            return level * level;
        case 5:
            level -= rates.releaseRate;
            if (level <= 0.0f) { level = 0.0f; state = 0; }
            return level;
        default:
            level = 0.0f;
            return 0.0f;
        }
    }
};

inline int16_t referenceSine(uint32_t phase)
{
    const uint32_t index = (phase & 0xFFFFu) >> 4;
    return static_cast<int16_t>(std::sin(index * (1.0 / 4096.0) * 6.2831853076) * 32767.0);
}

struct ReferenceVoice {
    // Steps are what the voice stores: signed 16-bit.
    int16_t carrierStep = 0;
    int16_t attackStep = 0;
    float pitchFactor = 1.0f;
    float velocity = 1.0f;
    std::array<float, 12> p{};
    ReferenceEnvelope mainEnv, bodyEnv, attackEnv;
    uint32_t carrierPhase = 0, bodyPhase = 0, attackPhase = 0;
    float filterInput = 0.0f;
    std::array<float, 4> stage{};

    static int32_t floorOf(double x) { return static_cast<int32_t>(std::floor(x)); }

    float oneTick(int32_t aStep, int32_t bStep, int32_t cStep)
    {
        const float gA = ((velocity * p[1] - p[1]) * p[3] + p[1]) * 0.1f;
        const float gB = (velocity * p[5] - p[5]) * p[7] + p[5];
        const float gM = (velocity * p[10] - p[10]) * p[9] + p[10];

        attackPhase = (attackPhase + static_cast<uint32_t>(aStep)) & 0xFFFFu;
        const float a = attackEnv.tick() * static_cast<float>(referenceSine(attackPhase)) * gA;
        bodyPhase = (bodyPhase + static_cast<uint32_t>(bStep)) & 0xFFFFu;
        const float b = bodyEnv.tick() * static_cast<float>(referenceSine(bodyPhase)) * gB;
        carrierPhase = (carrierPhase + static_cast<uint32_t>(cStep)) & 0xFFFFu;
        const int32_t m = floorOf(2.0 * b + static_cast<double>(a));
        const float c = static_cast<float>(referenceSine(static_cast<uint32_t>(m) + carrierPhase)) * (1.0f / 32767.0f);
        const float out = mainEnv.tick() * c * gM * 0.2f;
        if (p[4] >= 0.5f) {
            return out;
        }
        const float c0 = 0.05328f, w = -0.89344f;
        const float s1 = (out + filterInput) * c0 - w * stage[0];
        const float s2 = (s1 + stage[0]) * c0 - w * stage[1];
        const float s3 = (s2 + stage[1]) * c0 - w * stage[2];
        const float s4 = (s3 + stage[2]) * c0 - w * stage[3];
        stage = {s1, s2, s3, s4};
        filterInput = out;
        return out - s4;
    }

    // One output frame as the engine adds it into a cleared buffer.
    float frame()
    {
        const int32_t aStep = floorOf(attackStep * static_cast<double>(pitchFactor));
        const int32_t cStep = floorOf(carrierStep * static_cast<double>(pitchFactor));
        float sum = 0.0f;
        sum += oneTick(aStep, cStep, cStep);
        sum += oneTick(aStep, cStep, cStep);
        return sum;
    }
};

// A model of `voice` as a start has just left it, built from what the start
// computed (steps, velocity), the envelope rates in force and the parameters.
inline ReferenceVoice modelOf(const SynthEngine& engine, const Voice& voice)
{
    ReferenceVoice model;
    model.carrierStep = voice.carrierStep();
    model.attackStep = voice.attackStep();
    model.pitchFactor = voice.pitchFactor();
    model.velocity = voice.velocity();
    engine.parameters().load(model.p);
    model.mainEnv.rates = voice.mainEnvelope().rates();
    model.bodyEnv.rates = voice.bodyEnvelope().rates();
    model.attackEnv.rates = voice.attackEnvelope().rates();
    model.filterInput = voice.filter().input();
    model.stage = voice.filter().stages();
    return model;
}

#include "engine/SynthEngine.h"

#include "engine/NumericHelpers.h"

#include <algorithm>
#include <utility>

namespace {

template <std::size_t... I>
std::array<Voice, sizeof...(I)> makeVoices(const ParameterBlock* parameters, const int16_t* table,
                                           std::index_sequence<I...>)
{
    return {((void)I, Voice(parameters, table))...};
}

}  // namespace

SynthEngine::SynthEngine()
    : voices_(makeVoices(&parameters_, sineTable_.data(), std::make_index_sequence<kVoiceCount>{}))
{
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        voiceOrder_[static_cast<unsigned>(i)] = i;
    }
}

SynthEngine::~SynthEngine() = default;

void SynthEngine::render(float* scratchA, float* scratchB, float* output, int32_t frames)
{
    render(scratchA, scratchB, frames, output, frames);
}

void SynthEngine::render(float* scratchA, float* scratchB, int32_t scratchFrames, float* output, int32_t frames)
{
    const int32_t blockEnd = std::max(frames, 0);
    int32_t position = 0;
    for (int32_t i = 0; i < events_.count(); ++i) {
        const EngineEvent& event = events_[i];
        const int32_t offset = std::clamp(event.deltaFrames, position, blockEnd);
        renderVoices(offset - position, output + position, scratchA, scratchB, scratchFrames);
        apply(event);
        position = offset;
    }
    renderVoices(blockEnd - position, output + position, scratchA, scratchB, scratchFrames);
    events_.clear();
}

void SynthEngine::renderVoices(int32_t frames, float* output, float* scratchA, float* scratchB,
                               int32_t scratchFrames)
{
    const int32_t piece = std::max(scratchFrames, 1);
    for (int32_t done = 0; done < frames; done += piece) {
        const int32_t length = std::min(piece, frames - done);
        if (lanes_.render(voices_.data(), kVoiceCount, length, output + done)) {
            continue;
        }
        // Every voice reuses the same scratch buffers from their start.
        for (Voice& voice : voices_) {
            voice.render(length, output + done, scratchA, scratchB);
        }
    }
}

void SynthEngine::apply(const EngineEvent& event)
{
    switch (event.type) {
    case kEventStart:
        if (isVoiceIndex(event.voice)) {
            voice(event.voice).start(event.note, event.frequency, event.value);
        }
        break;
    case kEventRelease:
        if (isVoiceIndex(event.voice)) {
            voice(event.voice).release();
        }
        break;
    case kEventPitchBend: {
        // Every voice, sounding or not, takes the same factor.
        const float factor = numeric::approxExp2(event.value);
        for (Voice& voice : voices_) {
            voice.setPitchFactor(factor);
        }
        break;
    }
    default:
        break;
    }
}

void SynthEngine::noteOn(int32_t note, float frequency, float velocity, int32_t deltaFrames)
{
    // A note that finds the queue full is dropped before it changes anything,
    // so no voice is left waiting for a start that never comes.
    EngineEvent* slot = events_.append();
    if (slot == nullptr) {
        return;
    }
    const int32_t nextReserve = pickNextReserve();
    slot->type = kEventStart;
    slot->frequency = frequency;
    slot->note = note;
    slot->value = velocity;
    slot->deltaFrames = deltaFrames;
    slot->voice = reserveVoice_;

    voice(reserveVoice_).markStartPending();
    reserveVoice_ = nextReserve;
    voice(nextReserve).becomeReserve();
    moveToBack(nextReserve);
}

int32_t SynthEngine::pickNextReserve() const
{
    // A silent voice with nothing queued, least recently picked first.
    for (int32_t index : voiceOrder_) {
        const Voice& candidate = voice(index);
        if (index != reserveVoice_ && !candidate.active() && !candidate.startPending()) {
            return index;
        }
    }
    // Else a voice whose note is over or fading.
    for (int32_t index : voiceOrder_) {
        if (index != reserveVoice_ && voice(index).released()) {
            return index;
        }
    }
    // Else steal the least recently picked; the reserve is always at the back.
    return voiceOrder_.front();
}

void SynthEngine::moveToBack(int32_t voiceIndex)
{
    auto found = std::find(voiceOrder_.begin(), voiceOrder_.end(), voiceIndex);
    std::rotate(found, found + 1, voiceOrder_.end());
}

void SynthEngine::noteOff(int32_t note, int32_t deltaFrames)
{
    if (note == Voice::kNoNote) {
        return;  // the mark of a voice that never played
    }
    // Flags are not tested: every voice whose last started note matches gets
    // a release, whatever it is doing now.
    for (int32_t index = 0; index < kVoiceCount; ++index) {
        if (voice(index).note() != note) {
            continue;
        }
        EngineEvent* slot = events_.append();
        if (slot == nullptr) {
            return;
        }
        slot->type = kEventRelease;
        slot->deltaFrames = deltaFrames;
        slot->voice = index;
    }
}

void SynthEngine::pitchBend(float bend, int32_t deltaFrames)
{
    EngineEvent* slot = events_.append();
    if (slot == nullptr) {
        return;
    }
    slot->type = kEventPitchBend;
    slot->value = bend;
    slot->deltaFrames = deltaFrames;
}

void SynthEngine::silenceAllVoices()
{
    for (Voice& voice : voices_) {
        voice.silence();
    }
}

void SynthEngine::updateVoices(int32_t code)
{
    for (Voice& voice : voices_) {
        voice.applyParameter(code);
    }
}

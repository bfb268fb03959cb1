#include "instrument/NoteFrequencyTable.h"

static_assert(std::atomic<float>::is_always_lock_free && sizeof(std::atomic<float>) == sizeof(float));

std::atomic<float> NoteFrequencyTable[kNoteCount];

namespace {

constexpr double kLowestNoteFrequency = 8.175798915636872;  // Hz, MIDI note 0
// A semitone: just under the twelfth root of two, so that the running product
// still rounds to exactly 440 Hz at note 69.
constexpr double kSemitoneFactor = 1.059463094359;

} // namespace

void fillNoteFrequencyTable()
{
    double frequency = kLowestNoteFrequency;
    for (int32_t note = 0; note < kNoteCount; ++note) {
        NoteFrequencyTable[note].store(static_cast<float>(frequency), std::memory_order_relaxed);
        frequency *= kSemitoneFactor;
    }
}

float noteFrequency(int32_t note)
{
    const int32_t clamped = note < 0 ? 0 : (note >= kNoteCount ? kNoteCount - 1 : note);
    return NoteFrequencyTable[clamped].load(std::memory_order_relaxed);
}

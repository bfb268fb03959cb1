// The pitch in Hz of every MIDI note, shared by all instances in the process.
//
// Every instrument constructor fills it again, always with the same values,
// while other instances may be reading it on their audio threads. The entries
// are relaxed atomics (the same size and layout as plain floats) so that those
// overlapping writes and reads of equal values are well-defined.
#pragma once

#include <atomic>
#include <cstdint>

inline constexpr int32_t kNoteCount = 128;  // MIDI notes 0..127

extern std::atomic<float> NoteFrequencyTable[kNoteCount];

// Starts at 8.175798915636872 Hz for note 0 and steps by a semitone factor,
// with the running product kept in double precision and each entry rounded
// to single precision; note 69 comes out at exactly 440 Hz.
void fillNoteFrequencyTable();

// Entry `note`; a note outside 0..127 reads the nearest end of the table.
float noteFrequency(int32_t note);

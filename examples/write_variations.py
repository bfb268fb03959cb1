#!/usr/bin/env python3
"""Writes examples/variations.mid: variations on the traditional French melody
"Ah ! vous dirai-je, maman" (public domain), arranged for this project to show
what the instrument can do: block chords, fast runs, low and high registers,
held notes, and a closing ritardando through tempo changes.

The file is a format-1 Standard MIDI File at 480 ticks per quarter note: a
tempo track and one track per hand (channels 1 and 2), written with running
status. Run it again to rebuild the file byte for byte:

    python3 examples/write_variations.py
"""

import os
import struct

TICKS_PER_QUARTER = 480
SIXTEENTH = TICKS_PER_QUARTER // 4
TRIPLET = TICKS_PER_QUARTER // 3

# MIDI note numbers.
C1, C2, C3, C4, C5, C6, C7 = 24, 36, 48, 60, 72, 84, 96

# The tune, in C major, as (note, beats): sections A, B, A of eight 2/4 bars each.
PHRASE_A = [(72, 1), (72, 1), (79, 1), (79, 1), (81, 1), (81, 1), (79, 2),
            (77, 1), (77, 1), (76, 1), (76, 1), (74, 1), (74, 1), (72, 2)]
PHRASE_B = [(79, 1), (79, 1), (77, 1), (77, 1), (76, 1), (76, 1), (74, 2)] * 2

# Harmony, one chord per two beats, as (bass root, chord tones above it).
C_MAJOR = (C3, (C4, 64, 67))
F_MAJOR = (41, (C4, 65, 69))
G_SEVENTH = (43, (59, 62, 65))
HARMONY_A = [C_MAJOR, C_MAJOR, F_MAJOR, C_MAJOR, F_MAJOR, C_MAJOR, G_SEVENTH, C_MAJOR]
HARMONY_B = [C_MAJOR, G_SEVENTH, C_MAJOR, G_SEVENTH] * 2

C_MAJOR_SCALE = [0, 2, 4, 5, 7, 9, 11]


def scale_step(note, steps):
    """The note `steps` degrees of C major above (or below) `note`."""
    octave, pitch_class = divmod(note, 12)
    degree = C_MAJOR_SCALE.index(pitch_class) + steps
    octave += degree // 7
    return octave * 12 + C_MAJOR_SCALE[degree % 7]


class Track:
    def __init__(self, name, channel=0):
        self.channel = channel
        self.events = []  # (tick, order, bytes); note-offs sort before note-ons at one tick
        self.meta(0, 0x03, name.encode("ascii"))

    def meta(self, tick, kind, data):
        self.events.append((tick, 0, bytes([0xFF, kind]) + var_length(len(data)) + data))

    def tempo(self, tick, beats_per_minute):
        microseconds = round(60_000_000 / beats_per_minute)
        self.meta(tick, 0x51, microseconds.to_bytes(3, "big"))

    def note(self, tick, note, length, velocity, held=1.0):
        """A note of `length` ticks sounding for the `held` part of it."""
        status = 0x90 | self.channel
        self.events.append((tick, 2, bytes([status, note, velocity])))
        # A note-on of velocity 0 ends the note and keeps running status going.
        self.events.append((tick + max(1, int(length * held)), 1, bytes([status, note, 0])))

    def chord(self, tick, notes, length, velocity, held=1.0):
        for note in notes:
            self.note(tick, note, length, velocity, held)

    def chunk(self, end_tick):
        self.events.sort(key=lambda event: (event[0], event[1]))
        body = bytearray()
        now = 0
        running = None
        for tick, _, data in self.events + [(end_tick, 3, b"\xFF\x2F\x00")]:
            body += var_length(tick - now)
            now = tick
            if data[0] < 0xF0 and data[0] == running:
                body += data[1:]
            else:
                body += data
            # Meta events end running status in files we write.
            running = data[0] if data[0] < 0xF0 else None
        return b"MTrk" + struct.pack(">I", len(body)) + bytes(body)


def var_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, 0x80 | (value & 0x7F))
        value >>= 7
    return bytes(out)


def beats(count):
    return int(count * TICKS_PER_QUARTER)


def theme(right, left, start):
    """The tune in octave 5 over block chords, bass notes held through each bar."""
    tick = start
    for note, length in PHRASE_A + PHRASE_B + PHRASE_A:
        right.note(tick, note, beats(length), 72, held=0.9)
        tick += beats(length)
    tick = start
    for root, chord in HARMONY_A + HARMONY_B + HARMONY_A:
        left.note(tick, root - 12, beats(2), 70)
        left.chord(tick, chord, beats(1), 58, held=0.8)
        left.chord(tick + beats(1), chord, beats(1), 50, held=0.8)
        tick += beats(2)
    return tick


def running_variation(right, left, start):
    """Sixteenth-note runs around the tune; each held note becomes a scale of an octave."""
    tick = start
    for note, length in PHRASE_A + PHRASE_B + PHRASE_A:
        if length == 1:
            figure = [note, scale_step(note, 1), note, scale_step(note, -1)]
        else:
            figure = [scale_step(note, step) for step in range(8)]
        for index, played in enumerate(figure):
            accent = 88 if index % 4 == 0 else 70
            right.note(tick + index * SIXTEENTH, played, SIXTEENTH, accent, held=0.85)
        tick += beats(length)
    tick = start
    for root, chord in HARMONY_A + HARMONY_B + HARMONY_A:
        left.chord(tick, (root - 12, root), beats(1), 74, held=0.7)
        left.chord(tick + beats(1), chord[1:], beats(1), 56, held=0.6)
        tick += beats(2)
    return tick


def bass_variation(right, left, start):
    """The tune two octaves down in octaves, under off-beat chords."""
    tick = start
    for note, length in PHRASE_A + PHRASE_B:
        left.chord(tick, (note - 36, note - 24), beats(length), 96, held=0.92)
        tick += beats(length)
    tick = start
    for root, chord in HARMONY_A + HARMONY_B:
        for beat in range(2):
            offbeat = tick + beats(beat) + beats(0.5)
            right.chord(offbeat, [tone + 12 for tone in chord], beats(0.5), 62, held=0.7)
        tick += beats(2)
    return tick


def high_variation(right, left, start):
    """The tune an octave up in triplets over low pedal notes held for whole phrases."""
    tick = start
    harmony = HARMONY_A + HARMONY_B
    for note, length in PHRASE_A + PHRASE_B:
        for beat in range(length):
            chord = harmony[(tick - start) // beats(2)][1]
            figure = [note + 12, chord[2] + 12, chord[1] + 12]
            for index, played in enumerate(figure):
                right.note(tick + index * TRIPLET, played, TRIPLET, 74 if index == 0 else 56, held=0.9)
            tick += beats(1)
    # Pedal notes held through each eight-bar phrase: C, then G.
    left.chord(start, (C1, C2), beats(16), 76)
    left.chord(start + beats(16), (31, 43), beats(16), 76)
    return tick


def coda(right, left, tempo, start):
    """Big chords slowing down, a sweep over five octaves, and a long last chord."""
    tick = start
    for index, bpm in enumerate([100, 92, 84, 76, 68, 60, 54, 48]):
        tempo.tempo(tick + beats(index * 0.5), bpm)
    for lower, upper, velocity in [((29, 41, 48, 53), (65, 69, 72, 77), 80),
                                   ((31, 43, 50, 55), (65, 67, 71, 74), 86),
                                   ((C2, 43, C3, 52), (72, 76, 79, 84), 92)]:
        left.chord(tick, lower, beats(1), velocity, held=0.95)
        right.chord(tick, upper, beats(1), velocity, held=0.95)
        tick += beats(1)
    # C major arpeggio from C2 up to C7, sixteenths.
    sweep = [octave + step for octave in range(C2, C7, 12) for step in (0, 4, 7)] + [C7]
    for index, note in enumerate(sweep):
        track = left if note < C4 else right
        track.note(tick + index * SIXTEENTH, note, SIXTEENTH, 70 + index, held=1.0)
    tick += len(sweep) * SIXTEENTH
    # The last chord: both ends of the keyboard held for six beats.
    left.chord(tick, (C1, C2, 43), beats(6), 88)
    right.chord(tick, (C6, 88, 91, C7), beats(6), 80)
    return tick + beats(6)


def build():
    tempo = Track("Ah ! vous dirai-je, maman - variations")
    tempo.meta(0, 0x02, b"Traditional melody, public domain; arrangement written for Orrelune")
    tempo.meta(0, 0x58, bytes([2, 2, 24, 8]))  # 2/4 time
    tempo.meta(0, 0x59, bytes([0, 0]))  # C major
    right = Track("Right hand", channel=0)
    left = Track("Left hand", channel=1)

    tick = 0
    tempo.tempo(tick, 96)
    tick = theme(right, left, tick)
    tempo.tempo(tick, 108)
    tick = running_variation(right, left, tick)
    tempo.tempo(tick, 100)
    tick = bass_variation(right, left, tick)
    tempo.tempo(tick, 92)
    tick = high_variation(right, left, tick)
    tick = coda(right, left, tempo, tick)
    end = tick + beats(1)

    header = b"MThd" + struct.pack(">IHHH", 6, 1, 3, TICKS_PER_QUARTER)
    return header + tempo.chunk(end) + right.chunk(end) + left.chunk(end)


def main():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "variations.mid")
    with open(path, "wb") as out:
        out.write(build())
    print(path)


if __name__ == "__main__":
    main()

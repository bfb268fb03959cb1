#!/usr/bin/env python3
"""Writes a dense piano piece as a Standard MIDI File, for renderer speed
comparisons: 80 seconds at 120 beats per minute of left-hand broken chords in
eighth notes, each held for a beat and a half, under right-hand three-note
chords on every beat, each held for a beat. Six to nine notes sound at any
moment, so a nine-voice instrument keeps every voice busy.

    python3 bench/write_dense_piece.py out.mid

The piece is our own and the same every time (no randomness).
"""

import struct
import sys

TICKS_PER_QUARTER = 480
EIGHTH = TICKS_PER_QUARTER // 2
BARS = 40  # four beats a bar at 120 bpm: 2 s a bar

# A cycle of chords (root position, MIDI notes from C3 = 48) a bar each.
PROGRESSION = [
    (48, 52, 55), (45, 48, 52), (41, 45, 48), (43, 47, 50),
    (40, 43, 47), (45, 48, 52), (38, 41, 45), (43, 47, 50),
]


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def notes():
    """(start tick, length in ticks, note, velocity) of every note."""
    result = []
    for bar in range(BARS):
        chord = PROGRESSION[bar % len(PROGRESSION)]
        start = bar * 4 * TICKS_PER_QUARTER
        # Left hand: root, fifth, third an octave up, fifth, eight eighths.
        pattern = [chord[0], chord[2], chord[1] + 12, chord[2], chord[0] + 12, chord[2], chord[1] + 12, chord[2]]
        for i, note in enumerate(pattern):
            result.append((start + i * EIGHTH, 3 * EIGHTH, note, 70 + (i % 4) * 8))
        # Right hand: the chord two octaves up, inverted a step every beat.
        for beat in range(4):
            voicing = sorted((n + 24 + (12 if j < beat % 3 else 0)) for j, n in enumerate(chord))
            for note in voicing:
                result.append((start + beat * TICKS_PER_QUARTER, TICKS_PER_QUARTER, note, 90 - beat * 6))
    return result


def track():
    events = []
    for start, length, note, velocity in notes():
        events.append((start, 1, bytes([0x90, note, velocity])))
        events.append((start + length, 0, bytes([0x80, note, 64])))
    events.sort(key=lambda e: (e[0], e[1]))  # note-offs before note-ons at one tick
    data = bytearray()
    data += variable_length(0) + bytes([0xFF, 0x51, 0x03]) + (500000).to_bytes(3, "big")  # 120 bpm
    now = 0
    for tick, _, message in events:
        data += variable_length(tick - now) + message
        now = tick
    data += variable_length(TICKS_PER_QUARTER) + bytes([0xFF, 0x2F, 0x00])
    return bytes(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: write_dense_piece.py OUT.mid")
    body = track()
    with open(sys.argv[1], "wb") as out:
        out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS_PER_QUARTER))
        out.write(b"MTrk" + struct.pack(">I", len(body)) + body)


if __name__ == "__main__":
    main()

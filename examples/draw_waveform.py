#!/usr/bin/env python3
"""Draws the waveform of a rendered WAV file (16- or 24-bit) as a PNG picture:
both channels' loudest moments column by column, with a mark every ten
seconds. Standard library only.

    python3 examples/draw_waveform.py variations.wav examples/variations-waveform.png
"""

import array
import struct
import sys
import wave
import zlib

WIDTH, HEIGHT = 1200, 240
BACKGROUND = (255, 255, 255)
WAVE = (38, 84, 124)
AXIS = (200, 200, 200)
MARK = (120, 120, 120)


def read_samples(path):
    """Interleaved samples as floats from -1 to 1, the channel count and the rate."""
    with wave.open(path, "rb") as file:
        channels, width, rate = file.getnchannels(), file.getsampwidth(), file.getframerate()
        data = file.readframes(file.getnframes())
    if width == 2:
        samples = array.array("h")
        samples.frombytes(data)
        scale = 32768.0
    elif width == 3:
        # Widen each 3-byte sample to 4 bytes, the low byte zero.
        wide = bytearray(len(data) // 3 * 4)
        wide[1::4], wide[2::4], wide[3::4] = data[0::3], data[1::3], data[2::3]
        samples = array.array("i")
        samples.frombytes(bytes(wide))
        scale = 2147483648.0
    else:
        sys.exit(f"{path}: only 16- and 24-bit WAV files are drawn")
    if sys.byteorder == "big":
        samples.byteswap()
    return samples, scale, channels, rate


def draw(samples, scale, channels, rate):
    pixels = [bytearray(bytes(BACKGROUND) * WIDTH) for _ in range(HEIGHT)]

    def plot(x, y, colour):
        pixels[y][3 * x:3 * x + 3] = bytes(colour)

    middle = HEIGHT // 2
    for x in range(WIDTH):
        plot(x, middle, AXIS)
    frames = len(samples) // channels
    per_column = max(1, frames // WIDTH)
    for x in range(WIDTH):
        start = x * per_column * channels
        column = samples[start:start + per_column * channels]
        if not column:
            break
        low, high = min(column) / scale, max(column) / scale
        top = middle - int(high * (middle - 4))
        bottom = middle - int(low * (middle - 4))
        for y in range(max(0, top), min(HEIGHT, bottom + 1)):
            plot(x, y, WAVE)
    seconds = frames / rate
    for second in range(0, int(seconds) + 1, 10):
        x = min(WIDTH - 1, int(second / seconds * WIDTH))
        for y in range(HEIGHT - 8, HEIGHT):
            plot(x, y, MARK)
    return pixels


def png(pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(row) for row in pixels)
    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: draw_waveform.py RENDERED.wav PICTURE.png")
    with open(sys.argv[2], "wb") as out:
        out.write(png(draw(*read_samples(sys.argv[1]))))


if __name__ == "__main__":
    main()

#include "tools/render/SampleConversion.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace render {

namespace {

// These loops run over every sample of a render; done one sample at a time,
// the conversion would cost more than all the rest of the renderer. They
// work in runs of a fixed length without branches, which the compiler turns
// into vector code.
constexpr std::size_t kRun = 8;
constexpr std::size_t kChunk = 1024;  // samples converted at a time before packing

// Kept out of line: with the scale known at compile time the compiler folds
// the clamps into a form it no longer turns into vector code.
[[gnu::noinline]] void roundedIntegers(const float* __restrict samples, std::size_t count, float scale,
                                       int32_t* __restrict out) {
    const float highest = scale - 1.0f;
    const std::size_t whole = count / kRun * kRun;
    for (std::size_t i = 0; i < whole; i += kRun) {
        for (std::size_t j = 0; j < kRun; ++j) {
            const float scaled = std::min(std::max(samples[i + j] * scale, -scale), highest);
            // copysign keeps this free of branches, which a waveform's sign
            // changes would keep mispredicting.
            out[i + j] = static_cast<int32_t>(scaled + std::copysign(0.5f, scaled));
        }
    }
    for (std::size_t i = whole; i < count; ++i) {
        const float scaled = std::min(std::max(samples[i] * scale, -scale), highest);
        out[i] = static_cast<int32_t>(scaled + std::copysign(0.5f, scaled));
    }
}

float scaleFor(int bits) { return static_cast<float>(int64_t{1} << (bits - 1)); }

void store32(uint32_t value, uint8_t* out) {
    if constexpr (std::endian::native != std::endian::little) value = __builtin_bswap32(value);
    std::memcpy(out, &value, 4);
}

// Four 24-bit samples make three 32-bit words.
void packFour24(const int32_t* in, uint8_t* out) {
    const uint32_t a = static_cast<uint32_t>(in[0]) & 0xFFFFFF;
    const uint32_t b = static_cast<uint32_t>(in[1]) & 0xFFFFFF;
    const uint32_t c = static_cast<uint32_t>(in[2]) & 0xFFFFFF;
    const uint32_t d = static_cast<uint32_t>(in[3]) & 0xFFFFFF;
    store32(a | (b << 24), out);
    store32((b >> 8) | (c << 16), out + 4);
    store32((c >> 16) | (d << 8), out + 8);
}

void pack(const int32_t* in, std::size_t count, int bytes, uint8_t* out) {
    std::size_t i = 0;
    if (bytes == 3) {
        for (; i + 4 <= count; i += 4) packFour24(in + i, out + 3 * i);
    }
    for (; i < count; ++i) {
        const auto value = static_cast<uint32_t>(in[i]);
        for (int b = 0; b < bytes; ++b) out[static_cast<std::size_t>(bytes) * i + static_cast<std::size_t>(b)] =
            static_cast<uint8_t>(value >> (8 * b));
    }
}

}  // namespace

void toTopAlignedIntegers(const float* samples, std::size_t count, int bits, int32_t* out) {
    roundedIntegers(samples, count, scaleFor(bits), out);
    const int shift = 32 - bits;
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<int32_t>(static_cast<uint32_t>(out[i]) << shift);
}

void toLittleEndianPcm(const float* samples, std::size_t count, int bits, uint8_t* out) {
    const float scale = scaleFor(bits);
    const int bytes = bits / 8;
    int32_t chunk[kChunk];
    for (std::size_t start = 0; start < count; start += kChunk) {
        const std::size_t size = std::min(kChunk, count - start);
        roundedIntegers(samples + start, size, scale, chunk);
        if (bytes == 2 && std::endian::native == std::endian::little) {
            // Little-endian 16-bit words are the low halves of the values.
            for (std::size_t i = 0; i < size; ++i) {
                const auto word = static_cast<int16_t>(chunk[i]);
                std::memcpy(out + 2 * (start + i), &word, 2);
            }
        } else {
            pack(chunk, size, bytes, out + static_cast<std::size_t>(bytes) * start);
        }
    }
}

}  // namespace render

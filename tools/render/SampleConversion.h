// Float samples as the integers of 16- and 24-bit audio files: full scale
// maps to the format's range, each sample is rounded to the nearest step
// (halves away from zero) and clipped at both ends rather than wrapped.
#pragma once

#include <cstddef>
#include <cstdint>

namespace render {

// As 32-bit values with the sample in the top `bits` bits, the form
// libsndfile takes integer samples in.
void toTopAlignedIntegers(const float* samples, std::size_t count, int bits, int32_t* out);

// As little-endian signed integers of bits / 8 bytes each, the form WAV
// files store them in. `out` receives count * bits / 8 bytes.
void toLittleEndianPcm(const float* samples, std::size_t count, int bits, uint8_t* out);

}  // namespace render

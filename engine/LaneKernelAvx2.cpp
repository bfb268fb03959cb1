// The lane kernel with eight lanes per AVX2 register. This file alone is built
// for AVX2; it runs only after the processor has been asked (LaneRenderer).

#include "engine/LaneKernels.h"

#if defined(__AVX2__)

#include "engine/LaneKernel.h"

#include <immintrin.h>

namespace {

struct Avx2 {
    static constexpr int kWidth = 8;
    using F = __m256;
    using I = __m256i;
    using M = __m256;  // all bits set in the lanes where it holds

    static F load(const float* p) { return _mm256_load_ps(p); }
    static void store(float* p, F v) { _mm256_store_ps(p, v); }
    static I loadInt(const uint32_t* p) { return _mm256_load_si256(reinterpret_cast<const __m256i*>(p)); }
    static void storeInt(uint32_t* p, I v) { _mm256_store_si256(reinterpret_cast<__m256i*>(p), v); }
    static M loadMask(const int32_t* p) { return _mm256_castsi256_ps(_mm256_load_si256(reinterpret_cast<const __m256i*>(p))); }
    static F set(float v) { return _mm256_set1_ps(v); }

    static F add(F a, F b) { return _mm256_add_ps(a, b); }
    static F sub(F a, F b) { return _mm256_sub_ps(a, b); }
    static F mul(F a, F b) { return _mm256_mul_ps(a, b); }
    static I addInt(I a, I b) { return _mm256_add_epi32(a, b); }

    static M crossed(F level, F high, F low)
    {
        return _mm256_or_ps(_mm256_cmp_ps(level, high, _CMP_GE_OQ), _mm256_cmp_ps(level, low, _CMP_LE_OQ));
    }
    static bool any(M m) { return _mm256_movemask_ps(m) != 0; }
    static uint32_t bits(M m) { return static_cast<uint32_t>(_mm256_movemask_ps(m)); }
    static F select(M m, F ifSet, F otherwise) { return _mm256_blendv_ps(otherwise, ifSet, m); }
    static F squareWhere(M squared, F level) { return _mm256_blendv_ps(level, _mm256_mul_ps(level, level), squared); }

    // The top 12 of a phase's 16 bits.
    static I tableIndex(I phase) { return _mm256_and_si256(_mm256_srli_epi32(phase, 4), _mm256_set1_epi32(0xFFF)); }
    static F gather(const float* table, I index) { return _mm256_i32gather_ps(table, index, 4); }

    // floorToInt(2 * body + attack) in double lanes: the nearest integer to
    // 2x - 0.5 with ties to even (by the instruction's own rounding, not the
    // processor's mode), halved with the sign kept. A lane whose rounded value
    // leaves the 32-bit range (or is NaN) converts to 0x80000000; those lanes
    // are done again by the engine's own rule.
    static __m128i halfOffsets(__m128 body, __m128 attack)
    {
        const __m256d b = _mm256_cvtps_pd(body);
        const __m256d x = _mm256_add_pd(_mm256_add_pd(b, b), _mm256_cvtps_pd(attack));
        const __m256d twiceLess = _mm256_sub_pd(_mm256_add_pd(x, x), _mm256_set1_pd(0.5));
        return _mm256_cvttpd_epi32(_mm256_round_pd(twiceLess, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC));
    }
    static I modulationOffset(F body, F attack)
    {
        const __m128i low = halfOffsets(_mm256_castps256_ps128(body), _mm256_castps256_ps128(attack));
        const __m128i high = halfOffsets(_mm256_extractf128_ps(body, 1), _mm256_extractf128_ps(attack, 1));
        I rounded = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
        const I unknown = _mm256_cmpeq_epi32(rounded, _mm256_set1_epi32(INT32_MIN));
        if (_mm256_movemask_epi8(unknown) != 0) [[unlikely]] {
            return exact(body, attack);
        }
        return _mm256_srai_epi32(rounded, 1);
    }
    static I exact(F body, F attack)
    {
        alignas(32) float b[kWidth];
        alignas(32) float a[kWidth];
        alignas(32) int32_t result[kWidth];
        _mm256_store_ps(b, body);
        _mm256_store_ps(a, attack);
        for (int lane = 0; lane < kWidth; ++lane) {
            result[lane] = VoiceLanes::exactModulationOffset(b[lane], a[lane]);
        }
        return _mm256_load_si256(reinterpret_cast<const __m256i*>(result));
    }
};

}  // namespace

void renderLanesAvx2(VoiceLanes& lanes, int ticks, const LaneBuffers& buffers)
{
    for (int first = 0; first < lanes.laneCount; first += Avx2::kWidth) {
        lanekernel::renderTicks<Avx2>(lanes, first, ticks, buffers.ticks, buffers.attack, buffers.body, buffers.sine);
    }
}

#endif

// The lane kernel with sixteen lanes per AVX-512 register, so that nine
// voices take one pass. This file alone is built for AVX-512F; it runs only
// after the processor has been asked (LaneRenderer).

#include "engine/LaneKernels.h"

#if defined(__AVX512F__)

#include "engine/LaneKernel.h"

// This compiler's AVX-512 header fills the unused half of some conversions from
// a deliberately undefined register and then warns about it; the values are
// never read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

namespace {

struct Avx512 {
    static constexpr int kWidth = 16;
    using F = __m512;
    using I = __m512i;
    using M = __mmask16;

    static F load(const float* p) { return _mm512_load_ps(p); }
    static void store(float* p, F v) { _mm512_store_ps(p, v); }
    static I loadInt(const uint32_t* p) { return _mm512_load_si512(p); }
    static void storeInt(uint32_t* p, I v) { _mm512_store_si512(p, v); }
    static M loadMask(const int32_t* p)
    {
        const I v = _mm512_load_si512(p);
        return _mm512_test_epi32_mask(v, v);
    }
    static F set(float v) { return _mm512_set1_ps(v); }

    static F add(F a, F b) { return _mm512_add_ps(a, b); }
    static F sub(F a, F b) { return _mm512_sub_ps(a, b); }
    static F mul(F a, F b) { return _mm512_mul_ps(a, b); }
    static I addInt(I a, I b) { return _mm512_add_epi32(a, b); }

    static M crossed(F level, F high, F low)
    {
        return static_cast<M>(_mm512_cmp_ps_mask(level, high, _CMP_GE_OQ) | _mm512_cmp_ps_mask(level, low, _CMP_LE_OQ));
    }
    static bool any(M m) { return m != 0; }
    static uint32_t bits(M m) { return m; }
    static F select(M m, F ifSet, F otherwise) { return _mm512_mask_blend_ps(m, otherwise, ifSet); }
    static F squareWhere(M squared, F level) { return _mm512_mask_mul_ps(level, squared, level, level); }

    // The top 12 of a phase's 16 bits.
    static I tableIndex(I phase) { return _mm512_and_si512(_mm512_srli_epi32(phase, 4), _mm512_set1_epi32(0xFFF)); }
    static F gather(const float* table, I index) { return _mm512_i32gather_ps(index, table, 4); }

    // floorToInt(2 * body + attack) in double lanes: the nearest integer to
    // 2x - 0.5 with ties to even (by the instruction's own rounding, not the
    // processor's mode), halved with the sign kept. A lane whose rounded value
    // leaves the 32-bit range (or is NaN) converts to 0x80000000; those lanes
    // are done again by the engine's own rule.
    static __m256i halfOffsets(__m256 body, __m256 attack)
    {
        const __m512d b = _mm512_cvtps_pd(body);
        const __m512d x = _mm512_add_pd(_mm512_add_pd(b, b), _mm512_cvtps_pd(attack));
        const __m512d twiceLess = _mm512_sub_pd(_mm512_add_pd(x, x), _mm512_set1_pd(0.5));
        return _mm512_cvt_roundpd_epi32(twiceLess, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    }
    static __m256 upper(F v) { return _mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(v), 1)); }
    static I modulationOffset(F body, F attack)
    {
        const __m256i low = halfOffsets(_mm512_castps512_ps256(body), _mm512_castps512_ps256(attack));
        const __m256i high = halfOffsets(upper(body), upper(attack));
        const I rounded = _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
        if (_mm512_cmpeq_epi32_mask(rounded, _mm512_set1_epi32(INT32_MIN)) != 0) [[unlikely]] {
            return exact(body, attack);
        }
        return _mm512_srai_epi32(rounded, 1);
    }
    static I exact(F body, F attack)
    {
        alignas(64) float b[kWidth];
        alignas(64) float a[kWidth];
        alignas(64) int32_t result[kWidth];
        _mm512_store_ps(b, body);
        _mm512_store_ps(a, attack);
        for (int lane = 0; lane < kWidth; ++lane) {
            result[lane] = VoiceLanes::exactModulationOffset(b[lane], a[lane]);
        }
        return _mm512_load_si512(result);
    }
};

}  // namespace

void renderLanesAvx512(VoiceLanes& lanes, int ticks, const LaneBuffers& buffers)
{
    lanekernel::renderTicks<Avx512>(lanes, 0, ticks, buffers.ticks, buffers.attack, buffers.body, buffers.sine);
}

#endif

// Holds the processor in flush-to-zero mode for the length of an audio block.
//
// Decaying tails (envelopes, the low-cut filter's memory, the chorus lines)
// shrink towards zero through the denormal range. There the arithmetic gets
// many times slower and the host receives samples that some hosts and drivers
// treat badly. Flushing results and inputs below the smallest normal float to
// zero changes nothing above that range. Rounding is set to nearest for the
// block, as the synthesis arithmetic assumes. The caller's mode is restored at
// the end, so the host's own arithmetic is untouched.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 1)
#include <xmmintrin.h>
#define ORRELUNE_HAS_MXCSR 1
#endif

class FlushDenormals {
public:
#if defined(ORRELUNE_HAS_MXCSR)
    FlushDenormals() : saved_(_mm_getcsr()) {
        _mm_setcsr((saved_ & ~kRoundingMask) | kFlushToZero | kDenormalsAreZero);
    }
    ~FlushDenormals() { _mm_setcsr(saved_); }
#else
    FlushDenormals() = default;
#endif
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;

private:
#if defined(ORRELUNE_HAS_MXCSR)
    static constexpr unsigned int kFlushToZero = 0x8000;      // results below the normal range become zero
    static constexpr unsigned int kDenormalsAreZero = 0x0040;  // such inputs count as zero
    // Round to nearest whatever the host chose, so every host hears the same bits.
    static constexpr unsigned int kRoundingMask = 0x6000;
    unsigned int saved_;
#endif
};

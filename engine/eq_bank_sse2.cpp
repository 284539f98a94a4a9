// The filter pipeline on two lanes: one band per vector, both channels in one SSE2 register.
// SSE2 is part of every x86-64 processor, so this kernel always runs.
#include <emmintrin.h>

#include <cfloat>

#include "engine/eq_bank_pipeline.h"

namespace corvalen {

namespace {

struct Sse2Lanes {
    using Vec = __m128d;
    using Mask = __m128d;

    using PairSelector = int;  // one group: nothing to select
    static constexpr int kBandsPerVector = 1;
    static constexpr int kLongBlockOwnDelay = 1;  // its stage chain is not the bottleneck
    static constexpr int kLongBlockFrames = 0;

    static Vec FromPairs(const __m128d* pairs) { return pairs[0]; }
    static void Store(double* p, Vec v) { _mm_store_pd(p, v); }
    static Vec UnpackLow(Vec a, Vec b) { return _mm_unpacklo_pd(a, b); }
    static Vec UnpackHigh(Vec a, Vec b) { return _mm_unpackhi_pd(a, b); }
    static unsigned FiniteLanes(Vec v) {
        const Vec magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), v);
        return static_cast<unsigned>(
            _mm_movemask_pd(_mm_cmple_pd(magnitude, _mm_set1_pd(DBL_MAX))));
    }
    static Vec Add(Vec a, Vec b) { return _mm_add_pd(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm_sub_pd(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm_mul_pd(a, b); }
    // One band per vector: a band's input is the new frame or its front's output as it stands.
    static Vec EnterPair(Vec, __m128d frame) { return frame; }
    static Vec Follow(Vec, Vec front) { return front; }
    static Mask GroupMask(unsigned groups) {
        return (groups & 1u) != 0 ? _mm_castsi128_pd(_mm_set1_epi64x(-1)) : _mm_setzero_pd();
    }
    static Vec Select(Mask mask, Vec chosen, Vec kept) {
        return _mm_or_pd(_mm_and_pd(mask, chosen), _mm_andnot_pd(mask, kept));
    }
    static PairSelector SelectPair(int) { return 0; }
    static __m128d TakePair(Vec v, PairSelector) { return v; }
};

}  // namespace

void FilterBankSse2(const BankJob& job) { pipeline::FilterBank<Sse2Lanes>(job); }

}  // namespace corvalen

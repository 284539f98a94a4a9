// The filter pipeline on eight lanes: four bands per 512-bit register, channel 0 and channel 1
// of each. Compiled with AVX-512F and without fused multiply-add (see engine/CMakeLists.txt);
// runs only where the processor and the operating system allow it.
// GCC 12's AVX-512 intrinsics start from a deliberately undefined register, which its own
// uninitialised-value warnings take for a fault where they are inlined (fixed in GCC 13).
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif

#include <cfloat>

#include "engine/eq_bank_pipeline.h"

namespace corvalen {

namespace {

struct Avx512Lanes {
    using Vec = __m512d;
    using Mask = __mmask8;
    using PairSelector = __m512i;  // lane indices that bring a group down to lanes 0-1
    static constexpr int kBandsPerVector = 4;
    // Three stages are too few to hide a stage's own chain (a shuffle, a product and four sums)
    // behind the work of a step: from this block length on, groups read two steps back
    // (measured on this path: better from 128 frames, worse at 32 and 64).
    static constexpr int kLongBlockOwnDelay = 2;
    static constexpr int kLongBlockFrames = 96;

    static Vec FromPairs(const __m128d* pairs) {
        const __m256d low = _mm256_insertf128_pd(_mm256_castpd128_pd256(pairs[0]), pairs[1], 1);
        const __m256d high = _mm256_insertf128_pd(_mm256_castpd128_pd256(pairs[2]), pairs[3], 1);
        return _mm512_insertf64x4(_mm512_castpd256_pd512(low), high, 1);
    }
    static void Store(double* p, Vec v) { _mm512_storeu_pd(p, v); }
    static Vec UnpackLow(Vec a, Vec b) { return _mm512_unpacklo_pd(a, b); }
    static Vec UnpackHigh(Vec a, Vec b) { return _mm512_unpackhi_pd(a, b); }
    static unsigned FiniteLanes(Vec v) {
        const Vec magnitude = _mm512_castsi512_pd(
            _mm512_and_epi64(_mm512_castpd_si512(v), _mm512_set1_epi64(0x7FFFFFFFFFFFFFFF)));
        return _mm512_cmp_pd_mask(magnitude, _mm512_set1_pd(DBL_MAX), _CMP_LE_OQ);
    }
    static Vec Add(Vec a, Vec b) { return _mm512_add_pd(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm512_sub_pd(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm512_mul_pd(a, b); }
    // Lanes 0-1 the new frame, lanes 2-7 the stage's own lanes 0-5.
    static Vec EnterPair(Vec own, __m128d frame) {
        const __m512i order = _mm512_set_epi64(13, 12, 11, 10, 9, 8, 1, 0);
        return _mm512_permutex2var_pd(_mm512_zextpd128_pd512(frame), order, own);
    }
    // Lanes 0-1 the front's lanes 6-7, lanes 2-7 the stage's own lanes 0-5.
    static Vec Follow(Vec own, Vec front) {
        return _mm512_castsi512_pd(
            _mm512_alignr_epi64(_mm512_castpd_si512(own), _mm512_castpd_si512(front), 6));
    }
    static Mask GroupMask(unsigned groups) {
        unsigned lanes = 0;
        for (int g = 0; g < kBandsPerVector; ++g) {
            if ((groups >> g) & 1u) lanes |= 3u << (2 * g);
        }
        return static_cast<Mask>(lanes);
    }
    static Vec Select(Mask mask, Vec chosen, Vec kept) {
        return _mm512_mask_mov_pd(kept, mask, chosen);
    }
    static PairSelector SelectPair(int group) {
        const long long first = 2 * group;
        return _mm512_set_epi64(0, 0, 0, 0, 0, 0, first + 1, first);
    }
    static __m128d TakePair(Vec v, PairSelector selector) {
        return _mm512_castpd512_pd128(_mm512_permutexvar_pd(selector, v));
    }
};

}  // namespace

void FilterBankAvx512(const BankJob& job) { pipeline::FilterBank<Avx512Lanes>(job); }

}  // namespace corvalen

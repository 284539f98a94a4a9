// The filter pipeline on four lanes: two bands per 256-bit register, channel 0 and channel 1 of
// each. Compiled with AVX2 and without fused multiply-add (see engine/CMakeLists.txt); runs only
// where the processor and the operating system allow it.
#include <immintrin.h>

#include <cfloat>

#include "engine/eq_bank_pipeline.h"

namespace corvalen {

namespace {

struct Avx2Lanes {
    using Vec = __m256d;
    using Mask = __m256d;
    using PairSelector = __m256i;  // 32-bit lane indices that bring a group down to lanes 0-1
    static constexpr int kBandsPerVector = 2;
    static constexpr int kLongBlockOwnDelay = 1;  // its stage chain is not the bottleneck
    static constexpr int kLongBlockFrames = 0;

    static Vec FromPairs(const __m128d* pairs) {
        return _mm256_insertf128_pd(_mm256_castpd128_pd256(pairs[0]), pairs[1], 1);
    }
    static void Store(double* p, Vec v) { _mm256_storeu_pd(p, v); }
    static Vec UnpackLow(Vec a, Vec b) { return _mm256_unpacklo_pd(a, b); }
    static Vec UnpackHigh(Vec a, Vec b) { return _mm256_unpackhi_pd(a, b); }
    static unsigned FiniteLanes(Vec v) {
        const Vec magnitude = _mm256_andnot_pd(_mm256_set1_pd(-0.0), v);
        return static_cast<unsigned>(
            _mm256_movemask_pd(_mm256_cmp_pd(magnitude, _mm256_set1_pd(DBL_MAX), _CMP_LE_OQ)));
    }
    static Vec Add(Vec a, Vec b) { return _mm256_add_pd(a, b); }
    static Vec Sub(Vec a, Vec b) { return _mm256_sub_pd(a, b); }
    static Vec Mul(Vec a, Vec b) { return _mm256_mul_pd(a, b); }
    // Low half the new frame, high half the stage's own low half.
    static Vec EnterPair(Vec own, __m128d frame) {
        return _mm256_insertf128_pd(_mm256_castpd128_pd256(frame), _mm256_castpd256_pd128(own), 1);
    }
    // Low half the front's high half, high half the stage's own low half.
    static Vec Follow(Vec own, Vec front) { return _mm256_permute2f128_pd(front, own, 0x21); }
    static Mask GroupMask(unsigned groups) {
        const long long low = (groups & 1u) != 0 ? -1 : 0;
        const long long high = (groups & 2u) != 0 ? -1 : 0;
        return _mm256_castsi256_pd(_mm256_set_epi64x(high, high, low, low));
    }
    static Vec Select(Mask mask, Vec chosen, Vec kept) {
        return _mm256_blendv_pd(kept, chosen, mask);
    }
    static PairSelector SelectPair(int group) {
        const int first = 4 * group;
        return _mm256_setr_epi32(first, first + 1, first + 2, first + 3, 0, 0, 0, 0);
    }
    static __m128d TakePair(Vec v, PairSelector selector) {
        const __m256 moved = _mm256_permutevar8x32_ps(_mm256_castpd_ps(v), selector);
        return _mm256_castpd256_pd128(_mm256_castps_pd(moved));
    }
};

}  // namespace

void FilterBankAvx2(const BankJob& job) { pipeline::FilterBank<Avx2Lanes>(job); }

}  // namespace corvalen

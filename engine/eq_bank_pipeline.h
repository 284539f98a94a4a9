// The staggered filter pipeline shared by the kernels of every vector width. Included only by
// the kernel files (eq_bank_sse2.cpp, eq_bank_avx2.cpp, eq_bank_avx512.cpp), each of which
// compiles it for its own instruction set with lane operations of its own.
//
// Every band gives the bits of the per-sample formula: its five products and four sums in the
// formula's order, with the multipliers the band stores. Only the schedule differs. Twelve bands
// in a chain are twelve recurrences each waiting on the one before; run staggered (band b works
// on sample t - b in step t), they are independent within a step and fill the vector lanes.
// A vector holds G bands, two lanes each (channel 0, channel 1): band b sits in stage b / G,
// group b % G. A band's input is the output of the band before it: for group 0 the last group
// of the stage before (or, in stage 0, the new input frame), for groups 1.. the stage's own
// earlier output moved up one group.
//
// That move up is on the stage's own recurrence: the stage's next vector waits for a shuffle,
// a product and four sums of its last one. Where that chain is longer than the work of a step
// (the 512-bit path, with only three stages), a group takes the output the group below gave
// two steps ago instead of one (kOwnDelay: L::kLongBlockOwnDelay for blocks of at least
// L::kLongBlockFrames), so the chain spans two steps and the lanes stay busy. Band b starts
// Start(b) steps after the block: one more from stage to stage, kOwnDelay more from group to
// group. A stage works frames + (G - 1) * kOwnDelay steps; in its first and last ones some of
// its bands have no sample, which are computed but whose memories are not updated (masked), and
// a stage with no band at work is skipped.
//
// Lanes traits L supply: Vec, kBandsPerVector, kLongBlockOwnDelay, kLongBlockFrames; FromPairs
// (one pair of lanes per group), Store, UnpackLow and UnpackHigh (within each group), FiniteLanes
// (a bit per finite lane), Add, Sub, Mul; EnterPair (the new frame into group 0,
// the stage's groups moved up one), Follow (the front stage's last group into group 0, the
// stage's own groups moved up one); GroupMask (lanes of the groups whose bits are set) and
// Select (mask ? chosen : kept); SelectPair (for a group) and TakePair (that group's lanes).
//
// Everything here is a template over L, and each kernel file defines its L in an anonymous
// namespace: no function compiled for a wide instruction set can stand in for a narrower one at
// link time.
#pragma once

#include <emmintrin.h>

#include <cfloat>
#include <type_traits>
#include <utility>

#include "engine/engine_state.h"
#include "engine/eq_bank_kernels.h"

namespace corvalen::pipeline {

// Calls f(integral_constant<S-1>), ..., f(integral_constant<0>): stage numbers known to the
// compiler, so every stage's registers are plain variables.
#define CORVALEN_ALWAYS_INLINE __attribute__((always_inline))

template <class F, int... J>
CORVALEN_ALWAYS_INLINE inline void DescendingStages(std::integer_sequence<int, J...>, F&& f) {
    (f(std::integral_constant<int, static_cast<int>(sizeof...(J)) - 1 - J>{}), ...);
}

template <class L, int S, int kOwnDelay>
class StaggeredBank {
public:
    using Vec = typename L::Vec;
    static constexpr int G = L::kBandsPerVector;
    static constexpr int kLanes = 2 * G;
    static constexpr unsigned kAllGroups = (1u << G) - 1u;
    static_assert(kOwnDelay == 1 || kOwnDelay == 2, "a group reads one or two steps back");
    static constexpr int kStageSpan = 1 + (G - 1) * kOwnDelay;  // start of a stage to the next

    static void Run(const BankJob& job) {
        StaggeredBank bank(job);
        bank.Gather();
        bank.Filter();
        bank.Scatter();
    }

private:
    struct Stage {
        Vec b0, b1, b2, a1, a2;
        Vec x1, x2, y1, y2;
        Vec before;  // y1 as it was one step earlier, whether or not the step updated it
    };

    // The step in which band position b filters the block's first frame.
    static constexpr int Start(int b) { return (b / G) * kStageSpan + (b % G) * kOwnDelay; }

    explicit StaggeredBank(const BankJob& job) : job_(job), bands_(job.count), frames_(job.frames) {
        for (int j = 0; j < S; ++j) {
            const int count = bands_ - j * G;
            enabledGroups_[j] = count >= G ? kAllGroups : (1u << count) - 1u;
        }
    }

    template <class F>
    CORVALEN_ALWAYS_INLINE static void EachStageDescending(F&& f) {
        DescendingStages(std::make_integer_sequence<int, S>{}, f);
    }

    const EqBand* BandAt(int position) const {
        return position < bands_ ? &job_.bands[job_.order[position]] : nullptr;
    }

    // Lanes of bands past the last are zero and never stored back. Vectors are assembled from
    // 16-byte pieces and crossed between channel order and memory order at full width: a wide
    // load from narrower stores just made cannot be forwarded and stalls, and every shuffle per
    // band is paid again by each block, which a short block would feel.
    CORVALEN_ALWAYS_INLINE void Gather() {
        EachStageDescending([&](auto stage) CORVALEN_ALWAYS_INLINE {
            constexpr int j = decltype(stage)::value;
            // Per group: the five multipliers twice, then a channel's memory (y1 y2 x1 x2) as
            // outputs and inputs of channel 0 and of channel 1.
            __m128d pairs[9][G];
            for (int g = 0; g < G; ++g) {
                const EqBand* band = BandAt(j * G + g);
                if (band == nullptr) {
                    for (auto& field : pairs) field[g] = _mm_setzero_pd();
                    continue;
                }
                const double* memory = &band->channel[0].y1;
                pairs[0][g] = _mm_set1_pd(band->taps.b0);
                pairs[1][g] = _mm_set1_pd(band->taps.b1);
                pairs[2][g] = _mm_set1_pd(band->taps.b2);
                pairs[3][g] = _mm_set1_pd(band->taps.a1);
                pairs[4][g] = _mm_set1_pd(band->taps.a2);
                pairs[5][g] = _mm_loadu_pd(memory);
                pairs[6][g] = _mm_loadu_pd(memory + 2);
                pairs[7][g] = _mm_loadu_pd(memory + 4);
                pairs[8][g] = _mm_loadu_pd(memory + 6);
            }
            Stage& s = stages_[j];
            s.b0 = L::FromPairs(pairs[0]);
            s.b1 = L::FromPairs(pairs[1]);
            s.b2 = L::FromPairs(pairs[2]);
            s.a1 = L::FromPairs(pairs[3]);
            s.a2 = L::FromPairs(pairs[4]);
            const Vec outputs0 = L::FromPairs(pairs[5]);
            const Vec inputs0 = L::FromPairs(pairs[6]);
            const Vec outputs1 = L::FromPairs(pairs[7]);
            const Vec inputs1 = L::FromPairs(pairs[8]);
            s.y1 = L::UnpackLow(outputs0, outputs1);
            s.y2 = L::UnpackHigh(outputs0, outputs1);
            s.x1 = L::UnpackLow(inputs0, inputs1);
            s.x2 = L::UnpackHigh(inputs0, inputs1);
            s.before = s.y2;
        });
    }

    CORVALEN_ALWAYS_INLINE void Scatter() {
        EachStageDescending([&](auto stage) CORVALEN_ALWAYS_INLINE {
            constexpr int j = decltype(stage)::value;
            const Stage& s = stages_[j];
            // Memory order: per group y1 y2 (channel 0), x1 x2 (channel 0), then channel 1.
            alignas(64) double memoryOrder[4][kLanes];
            L::Store(memoryOrder[0], L::UnpackLow(s.y1, s.y2));
            L::Store(memoryOrder[1], L::UnpackLow(s.x1, s.x2));
            L::Store(memoryOrder[2], L::UnpackHigh(s.y1, s.y2));
            L::Store(memoryOrder[3], L::UnpackHigh(s.x1, s.x2));
            const unsigned finite = L::FiniteLanes(s.x1) & L::FiniteLanes(s.x2) &
                                    L::FiniteLanes(s.y1) & L::FiniteLanes(s.y2);
            for (int g = 0; g < G; ++g) {
                const int position = j * G + g;
                if (position >= bands_) break;
                EqBand& band = job_.bands[job_.order[position]];
                double* memory = &band.channel[0].y1;
                for (int piece = 0; piece < 4; ++piece) {
                    _mm_storeu_pd(memory + 2 * piece, _mm_load_pd(&memoryOrder[piece][2 * g]));
                }
                // Only an input so large that the filter overflows gets here; that channel of the
                // band starts afresh rather than keep Inf or NaN for good (memories are never
                // cleared).
                for (int c = 0; c < 2; ++c) {
                    if (((finite >> (2 * g + c)) & 1u) == 0) band.channel[c] = ChannelState{};
                }
            }
        });
    }

    // All ones in the lanes that hold a finite value.
    static __m128d Finite(__m128d v) {
        return _mm_cmple_pd(_mm_andnot_pd(_mm_set1_pd(-0.0), v), _mm_set1_pd(DBL_MAX));
    }

    // A sample that is not finite enters the bank as silence: one NaN or Inf from the host would
    // otherwise stay in the band memories and silence the plug-in for good. Lane 0 channel 0.
    __m128d InputFrame(int t) const {
        const __m128d frame = _mm_set_pd(job_.in[1][t], job_.in[0][t]);
        return _mm_and_pd(frame, Finite(frame));
    }

    // Groups of stage j whose band has a sample in step t: those that have started, less those
    // that have finished, among the enabled bands.
    unsigned ActiveGroups(int t, int j) const {
        return (Started(t - j * kStageSpan) & ~Started(t - frames_ - j * kStageSpan)) &
               enabledGroups_[j];
    }

    // Groups g with g * kOwnDelay <= steps.
    static unsigned Started(int steps) {
        if (steps < 0) return 0;
        const int count = steps / kOwnDelay + 1;
        return count >= G ? kAllGroups : (1u << count) - 1u;
    }

    // One step: every stage (last first, so each reads its front's output of the previous step).
    // kEveryBand: all bands have a sample, no stage is skipped or masked.
    template <bool kEveryBand>
    CORVALEN_ALWAYS_INLINE void Step(int t, __m128d frame) {
        EachStageDescending([&](auto stage) CORVALEN_ALWAYS_INLINE {
            constexpr int j = decltype(stage)::value;
            unsigned groups = kAllGroups;
            Stage& s = stages_[j];
            if constexpr (!kEveryBand) {
                groups = ActiveGroups(t, j);
                if (groups == 0) {
                    if constexpr (kOwnDelay == 2) s.before = s.y1;
                    return;
                }
            }
            // The own groups' earlier output: of the step before, or of the one before that (which
            // is y2 while every band is at work, and `before` otherwise).
            Vec own = s.y1;
            if constexpr (kOwnDelay == 2) own = kEveryBand ? s.y2 : s.before;
            Vec x;
            if constexpr (j == 0) {
                x = L::EnterPair(own, frame);
            } else {
                x = L::Follow(own, stages_[j - 1].y1);
            }
            if constexpr (kOwnDelay == 2 && !kEveryBand) s.before = s.y1;
            // (((b0*x + b1*x1) + b2*x2) - a1*y1) - a2*y2, the order of the formula.
            Vec y = L::Add(L::Mul(s.b0, x), L::Mul(s.b1, s.x1));
            y = L::Add(y, L::Mul(s.b2, s.x2));
            y = L::Sub(y, L::Mul(s.a1, s.y1));
            y = L::Sub(y, L::Mul(s.a2, s.y2));
            if (kEveryBand || groups == kAllGroups) {
                s.x2 = s.x1;
                s.x1 = x;
                s.y2 = s.y1;
                s.y1 = y;
            } else {
                const auto mask = L::GroupMask(groups);
                s.x2 = L::Select(mask, s.x1, s.x2);
                s.x1 = L::Select(mask, x, s.x1);
                s.y2 = L::Select(mask, s.y1, s.y2);
                s.y1 = L::Select(mask, y, s.y1);
            }
        });
    }

    // The last band's output of step t is frame t - Start(last band), times the gain.
    void Output(int t, typename L::PairSelector lastBand, __m128d gain) {
        const __m128d frame = _mm_mul_pd(gain, L::TakePair(stages_[S - 1].y1, lastBand));
        const int n = t - Start(bands_ - 1);
        _mm_storel_pd(&job_.out[0][n], frame);
        _mm_storeh_pd(&job_.out[1][n], frame);
    }

    // Frame t is read in step t and its output written in step t + Start(last band) or later,
    // after every read of that step: in-place buffers are safe.
    CORVALEN_ALWAYS_INLINE void Filter() {
        const __m128d gain = _mm_set1_pd(job_.gain);
        const auto lastBand = L::SelectPair(bands_ - 1 - (S - 1) * G);
        const int firstOutput = Start(bands_ - 1);
        const int steps = frames_ + firstOutput;
        const __m128d silence = _mm_setzero_pd();
        int t = 0;
        for (; t < firstOutput; ++t) Step<false>(t, t < frames_ ? InputFrame(t) : silence);
        for (; t < frames_; ++t) {
            Step<true>(t, InputFrame(t));
            Output(t, lastBand, gain);
        }
        // Every band stepped in the last step, if it was a full one: y2 is then what `before` is.
        if (kOwnDelay == 2 && frames_ > firstOutput) {
            for (Stage& s : stages_) s.before = s.y2;
        }
        for (; t < steps; ++t) {
            Step<false>(t, t < frames_ ? InputFrame(t) : silence);
            Output(t, lastBand, gain);
        }
    }

    const BankJob& job_;
    const int bands_;
    const int frames_;
    unsigned enabledGroups_[S];
    Stage stages_[S];
};

// Runs the pipeline with as many stages as the enabled bands need.
template <class L, int S = (kBandCount + L::kBandsPerVector - 1) / L::kBandsPerVector>
void FilterBank(const BankJob& job) {
    if constexpr (S > 1) {
        if (job.count <= (S - 1) * L::kBandsPerVector) {
            FilterBank<L, S - 1>(job);
            return;
        }
    }
    // The two-step delay doubles the pipeline's depth: worth it only where the block is long
    // enough for the faster steps to win back the longer fill and drain.
    if constexpr (L::kLongBlockOwnDelay == 2) {
        if (job.frames >= L::kLongBlockFrames) {
            StaggeredBank<L, S, 2>::Run(job);
            return;
        }
    }
    StaggeredBank<L, S, 1>::Run(job);
}

}  // namespace corvalen::pipeline

#undef CORVALEN_ALWAYS_INLINE

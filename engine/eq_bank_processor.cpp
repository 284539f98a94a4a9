#include "engine/eq_bank_processor.h"

#include <emmintrin.h>

#include <cfloat>
#include <cmath>

namespace corvalen {

namespace {

// One band for both channels: lane 0 is channel 0, lane 1 channel 1.
struct PackedBand {
  __m128d b0, b1, b2, a1, a2;
  __m128d x1, x2, y1, y2;
};

// A sample that is not finite enters the bank as silence: one NaN or Inf from the host would
// otherwise stay in the band memories (they are never cleared) and silence the plug-in for good.
inline double FiniteOrZero(double x) { return std::fabs(x) <= DBL_MAX ? x : 0.0; }

inline __m128d FilterPacked(PackedBand& b, __m128d x) {
  // (((b0*x + b1*x1) + b2*x2) - a1*y1) - a2*y2, the order of the scalar formula.
  __m128d y = _mm_add_pd(_mm_mul_pd(b.b0, x), _mm_mul_pd(b.b1, b.x1));
  y = _mm_add_pd(y, _mm_mul_pd(b.b2, b.x2));
  y = _mm_sub_pd(y, _mm_mul_pd(b.a1, b.y1));
  y = _mm_sub_pd(y, _mm_mul_pd(b.a2, b.y2));
  b.x2 = b.x1;
  b.x1 = x;
  b.y2 = b.y1;
  b.y1 = y;
  return y;
}

void LoadBand(const EqBand& band, PackedBand& packed) {
  packed.b0 = _mm_set1_pd(band.taps.b0);
  packed.b1 = _mm_set1_pd(band.taps.b1);
  packed.b2 = _mm_set1_pd(band.taps.b2);
  packed.a1 = _mm_set1_pd(band.taps.a1);
  packed.a2 = _mm_set1_pd(band.taps.a2);
  packed.x1 = _mm_set_pd(band.channel[1].x1, band.channel[0].x1);
  packed.x2 = _mm_set_pd(band.channel[1].x2, band.channel[0].x2);
  packed.y1 = _mm_set_pd(band.channel[1].y1, band.channel[0].y1);
  packed.y2 = _mm_set_pd(band.channel[1].y2, band.channel[0].y2);
}

bool Finite(const ChannelState& s) {
  return std::isfinite(s.x1) && std::isfinite(s.x2) && std::isfinite(s.y1) &&
         std::isfinite(s.y2);
}

void StoreBand(const PackedBand& packed, EqBand& band) {
  double lanes[2];
  const __m128d* fields[4] = {&packed.y1, &packed.y2, &packed.x1, &packed.x2};
  double* targets[2][4] = {
      {&band.channel[0].y1, &band.channel[0].y2, &band.channel[0].x1, &band.channel[0].x2},
      {&band.channel[1].y1, &band.channel[1].y2, &band.channel[1].x1, &band.channel[1].x2}};
  for (int f = 0; f < 4; ++f) {
    _mm_storeu_pd(lanes, *fields[f]);
    *targets[0][f] = lanes[0];
    *targets[1][f] = lanes[1];
  }
  // Only a finite input so large that the filter overflows can get here; start that channel of
  // the band afresh rather than keep Inf or NaN in it.
  for (ChannelState& state : band.channel) {
    if (!Finite(state)) state = ChannelState{};
  }
}

inline void WriteFrame(__m128d y, __m128d gain, double* out0, double* out1, int n) {
  double lanes[2];
  _mm_storeu_pd(lanes, _mm_mul_pd(gain, y));
  out0[n] = lanes[0];
  out1[n] = lanes[1];
}

}  // namespace

void ProcessEqBank(EqBand* bands, const EngineState& state, const double* const* inputs,
                   double* const* outputs, int frames) {
  if (frames <= 0) return;
  const double* in0 = inputs[0];
  const double* in1 = inputs[1];
  double* out0 = outputs[0];
  double* out1 = outputs[1];
  const double gainValue = std::pow(10.0, state.outputGainDb * 0.05);
  const __m128d gain = _mm_set1_pd(gainValue);

  PackedBand packed[kBandCount];
  int bandIndex[kBandCount];
  int m = 0;
  if (state.bypass == 0) {
    for (int k = 0; k < kBandCount; ++k) {
      if (state.bandEnabled[k] != 0) {
        bandIndex[m] = k;
        LoadBand(bands[k], packed[m]);
        ++m;
      }
    }
  }
  if (m == 0) {
    for (int n = 0; n < frames; ++n) {
      out0[n] = gainValue * in0[n];
      out1[n] = gainValue * in1[n];
    }
    return;
  }

  // pipe[j] holds the input waiting for enabled band j: the output band j - 1 produced in the
  // previous step. Bands run from the last to the first within a step, so each reads its input
  // before the band in front of it replaces it. In step t band j filters sample t - j; the last
  // band's output for sample t - (m - 1) leaves in the same step. The input of sample t is read
  // in step t and its output written in step t - 1 + m or later, so in-place buffers are safe.
  __m128d pipe[kBandCount + 1];
  const int steps = frames + m - 1;
  const int fullFrom = m - 1;      // first step in which every band has a sample
  const int fullUntil = frames;    // first step in which band 0 has none
  for (int t = 0; t < steps; ++t) {
    if (t < frames) pipe[0] = _mm_set_pd(FiniteOrZero(in1[t]), FiniteOrZero(in0[t]));
    if (t >= fullFrom && t < fullUntil) {
      for (int j = m - 1; j >= 0; --j) pipe[j + 1] = FilterPacked(packed[j], pipe[j]);
    } else {
      const int lastBand = t < m - 1 ? t : m - 1;
      const int firstBand = t < frames ? 0 : t - frames + 1;
      for (int j = lastBand; j >= firstBand; --j) pipe[j + 1] = FilterPacked(packed[j], pipe[j]);
    }
    if (t >= m - 1) WriteFrame(pipe[m], gain, out0, out1, t - (m - 1));
  }

  for (int j = 0; j < m; ++j) StoreBand(packed[j], bands[bandIndex[j]]);
}

}  // namespace corvalen

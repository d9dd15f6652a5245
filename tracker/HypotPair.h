// Two hypotenuses per SSE2 register with the bits of the C library's hypot.
//
// glibc 2.35 and later compute hypot(x, y) for finite arguments, with
// ax = max(|x|, |y|) and ay = min(|x|, |y|) in 2^-459 <= ay, ax <= 2^511, as
//   ay <= ax * 2^-54:  ax + ay
//   otherwise:         h = sqrt(ax*ax + ay*ay), then one correction step
//                      (Borges, "An improved algorithm for hypot(a,b)", 2019)
// and scale the arguments outside that range. Each lane below does those
// IEEE operations in that order; a lane outside the range (tiny but not
// zero, huge, infinite or NaN) is handed to the library itself. A zero ay
// gives ax + ay in both. The test beside the tracker compares the two on
// every magnitude, so a C library that computes hypot otherwise fails it.
#ifndef STROLVEX_TRACKER_HYPOTPAIR_H
#define STROLVEX_TRACKER_HYPOTPAIR_H

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cmath>

namespace particle_steps {

inline __m128d hypotPair(__m128d x, __m128d y) {
  const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
  const __m128d absX = _mm_and_pd(x, magnitude), absY = _mm_and_pd(y, magnitude);
  const __m128d ax = _mm_max_pd(absX, absY), ay = _mm_min_pd(absX, absY);

  const __m128d h = _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(ax, ax), _mm_mul_pd(ay, ay)));
  const __m128d twoAy = _mm_add_pd(ay, ay);
  // h <= 2 ay: the two sides are close.
  const __m128d deltaNear = _mm_sub_pd(h, ay);
  const __m128d t1Near = _mm_mul_pd(_mm_sub_pd(_mm_add_pd(deltaNear, deltaNear), ax), ax);
  const __m128d axMinusAy = _mm_sub_pd(ax, ay);
  const __m128d t2Near =
      _mm_mul_pd(_mm_sub_pd(deltaNear, _mm_add_pd(axMinusAy, axMinusAy)), deltaNear);
  // Otherwise.
  const __m128d deltaFar = _mm_sub_pd(h, ax);
  const __m128d t1Far = _mm_mul_pd(_mm_add_pd(deltaFar, deltaFar), _mm_sub_pd(ax, twoAy));
  const __m128d t2Far = _mm_add_pd(_mm_mul_pd(_mm_sub_pd(_mm_mul_pd(_mm_set1_pd(4.0), deltaFar), ay), ay),
                                   _mm_mul_pd(deltaFar, deltaFar));
  const __m128d near = _mm_cmple_pd(h, twoAy);
  const __m128d sum = _mm_or_pd(_mm_and_pd(near, _mm_add_pd(t1Near, t2Near)),
                                _mm_andnot_pd(near, _mm_add_pd(t1Far, t2Far)));
  const __m128d corrected = _mm_sub_pd(h, _mm_div_pd(sum, _mm_add_pd(h, h)));

  const __m128d negligible = _mm_cmple_pd(ay, _mm_mul_pd(ax, _mm_set1_pd(0x1p-54)));
  const __m128d result =
      _mm_or_pd(_mm_and_pd(negligible, _mm_add_pd(ax, ay)), _mm_andnot_pd(negligible, corrected));

  // Lanes the library scales or treats specially (a NaN fails every test).
  // Both magnitudes are tested: max and min pass a NaN over.
  const __m128d large = _mm_set1_pd(0x1p511);
  const __m128d ordinary = _mm_and_pd(_mm_and_pd(_mm_cmple_pd(absX, large), _mm_cmple_pd(absY, large)),
                                      _mm_or_pd(_mm_cmpge_pd(ay, _mm_set1_pd(0x1p-459)),
                                                _mm_cmpeq_pd(ay, _mm_setzero_pd())));
  const int lanes = _mm_movemask_pd(ordinary);
  if (lanes == 3) return result;
  double out[2], xs[2], ys[2];
  _mm_storeu_pd(out, result);
  _mm_storeu_pd(xs, x);
  _mm_storeu_pd(ys, y);
  for (int lane = 0; lane < 2; ++lane)
    if (!(lanes & (1 << lane))) out[lane] = std::hypot(xs[lane], ys[lane]);
  return _mm_loadu_pd(out);
}

}  // namespace particle_steps

#endif
#endif

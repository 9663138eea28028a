// Built with -mavx. No header with inline functions here (see
// end_pairs_avx.h).
#include "world/end_pairs_avx.h"

#include <immintrin.h>

namespace vorlund {

int nearEndPairsAvx(const double* a, int na, const double* b, int nb, double range2, int* near, int room) {
  if (nb > kNearLanesMaxEnds) return -1;
  // The second object's positions as columns, padded to whole fours.
  alignas(32) double bx[kNearLanesMaxEnds], by[kNearLanesMaxEnds], bz[kNearLanesMaxEnds];
  const int whole = nb / 4 * 4;
  for (int j = 0; j < whole; j += 4) {
    // x0 y0 z0 x1 | y1 z1 x2 y2 | z2 x3 y3 z3 into x, y and z.
    const double* p = b + 3 * j;
    const __m256d r0 = _mm256_loadu_pd(p), r1 = _mm256_loadu_pd(p + 4), r2 = _mm256_loadu_pd(p + 8);
    const __m256d xy = _mm256_blend_pd(r0, r1, 0b1100);         // x0 y0 x2 y2
    const __m256d zx = _mm256_permute2f128_pd(r0, r2, 0x21);    // z0 x1 z2 x3
    const __m256d yz = _mm256_blend_pd(r1, r2, 0b1100);         // y1 z1 y3 z3
    _mm256_store_pd(bx + j, _mm256_shuffle_pd(xy, zx, 0b1010));
    _mm256_store_pd(by + j, _mm256_shuffle_pd(xy, yz, 0b0101));
    _mm256_store_pd(bz + j, _mm256_shuffle_pd(zx, yz, 0b1010));
  }
  const int blocks = (nb + 3) / 4;
  for (int j = whole; j < 4 * blocks; ++j) {
    const bool end = j < nb;
    bx[j] = end ? b[3 * j] : 0;
    by[j] = end ? b[3 * j + 1] : 0;
    bz[j] = end ? b[3 * j + 2] : 0;
  }
  const int lastLanes = nb == whole ? 0b1111 : (1 << (nb - whole)) - 1;
  const __m256d limit = _mm256_set1_pd(range2);
  int count = 0;
  for (int ia = 0; ia < na; ++ia) {
    const __m256d ax = _mm256_set1_pd(a[3 * ia]), ay = _mm256_set1_pd(a[3 * ia + 1]),
                  az = _mm256_set1_pd(a[3 * ia + 2]);
    for (int block = 0; block < blocks; ++block) {
      const int j = 4 * block;
      const __m256d dx = _mm256_sub_pd(ax, _mm256_load_pd(bx + j));
      const __m256d dy = _mm256_sub_pd(ay, _mm256_load_pd(by + j));
      const __m256d dz = _mm256_sub_pd(az, _mm256_load_pd(bz + j));
      const __m256d d2 =
          _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)), _mm256_mul_pd(dz, dz));
      int lanes = _mm256_movemask_pd(_mm256_cmp_pd(d2, limit, _CMP_NGT_UQ));
      if (block == blocks - 1) lanes &= lastLanes;
      for (; lanes != 0; lanes &= lanes - 1) {
        if (count == room) return -1;
        near[count++] = ia * nb + j + __builtin_ctz(static_cast<unsigned>(lanes));
      }
    }
  }
  return count;
}

}  // namespace vorlund

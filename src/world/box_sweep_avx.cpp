// Built with -mavx. No header with inline functions here (see
// box_sweep_avx.h).
#include "world/box_sweep_avx.h"

#include <immintrin.h>

namespace vorlund {

int laterOverlapsAvx(const SweepColumns& c, int a, int* later, int room) {
  const __m256d aMinX = _mm256_set1_pd(c.minX[a]), aMaxX = _mm256_set1_pd(c.maxX[a]);
  const __m256d aMinY = _mm256_set1_pd(c.minY[a]), aMaxY = _mm256_set1_pd(c.maxY[a]);
  const __m256d aMinZ = _mm256_set1_pd(c.minZ[a]), aMaxZ = _mm256_set1_pd(c.maxZ[a]);
  int count = 0;
  for (int b = a + 1; b < c.count; b += 4) {
    // The lower x rise with b: once one box starts past a's end, so do all
    // after it, the padding included.
    const __m256d starts = _mm256_cmp_pd(_mm256_loadu_pd(c.minX + b), aMaxX, _CMP_LT_OQ);
    const int reach = _mm256_movemask_pd(starts);
    if (reach == 0) break;
    __m256d overlap = _mm256_and_pd(starts, _mm256_cmp_pd(aMinX, _mm256_loadu_pd(c.maxX + b), _CMP_LT_OQ));
    overlap = _mm256_and_pd(overlap, _mm256_cmp_pd(aMinY, _mm256_loadu_pd(c.maxY + b), _CMP_LT_OQ));
    overlap = _mm256_and_pd(overlap, _mm256_cmp_pd(_mm256_loadu_pd(c.minY + b), aMaxY, _CMP_LT_OQ));
    overlap = _mm256_and_pd(overlap, _mm256_cmp_pd(aMinZ, _mm256_loadu_pd(c.maxZ + b), _CMP_LT_OQ));
    overlap = _mm256_and_pd(overlap, _mm256_cmp_pd(_mm256_loadu_pd(c.minZ + b), aMaxZ, _CMP_LT_OQ));
    for (int lanes = _mm256_movemask_pd(overlap); lanes != 0; lanes &= lanes - 1) {
      if (count == room) return -1;
      later[count++] = b + __builtin_ctz(static_cast<unsigned>(lanes));
    }
    if (reach != 0b1111) break;
  }
  return count;
}

}  // namespace vorlund

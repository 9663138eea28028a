// Built with -mavx. No standard header here: an inline function emitted from
// this file with AVX instructions could be the copy the linker keeps for the
// whole program.
#include "world/step_trig_avx.h"

#include <immintrin.h>
#include <sleef.h>

namespace vorlund {

void stepTrigAvx4(double a0, double a1, double a2, double a3, double* c, double* s) {
  const Sleef___m256d_2 r = Sleef_cinz_sincosd4_u35avx(_mm256_set_pd(a3, a2, a1, a0));
  _mm256_storeu_pd(s, r.x);
  _mm256_storeu_pd(c, r.y);
}

void stepTrigAvxMany(const double* a, int count, double* c, double* s) {
  for (int i = 0; i < count; i += 4) {
    const Sleef___m256d_2 r = Sleef_cinz_sincosd4_u35avx(_mm256_loadu_pd(a + i));
    _mm256_storeu_pd(s + i, r.x);
    _mm256_storeu_pd(c + i, r.y);
  }
}

}  // namespace vorlund

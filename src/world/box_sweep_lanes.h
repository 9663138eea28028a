// The sweep of the contact broad phase, one later box per lane, written once
// for four lanes (box_sweep_avx.cpp) and eight (box_sweep_wide_avx512.cpp):
// each lane makes the comparisons of boxesOverlap, strict and false on a
// NaN as they are. Included only by those files.
#pragma once

#include "world/box_sweep_avx.h"
#include "world/lane_math_avx.h"
#if defined(__AVX512F__)
#include "world/lane_math_avx512.h"
#endif

namespace vorlund {
namespace {

template <class L>
inline int laterOverlapsLanes(const SweepColumns& c, int a, int* later, int room) {
  using R = typename L::Reg;
  using M = typename L::Mask;
  static_assert(L::kCount - 1 <= kSweepPadding);
  const R aMinX = L::all(c.minX[a]), aMaxX = L::all(c.maxX[a]);
  const R aMinY = L::all(c.minY[a]), aMaxY = L::all(c.maxY[a]);
  const R aMinZ = L::all(c.minZ[a]), aMaxZ = L::all(c.maxZ[a]);
  int count = 0;
  for (int b = a + 1; b < c.count; b += L::kCount) {
    // The lower x rise with b: once one box starts past a's end, so do all
    // after it, the padding included.
    const M starts = less(L::load(c.minX + b), aMaxX);
    const int reach = maskBits(starts);
    if (reach == 0) break;
    M overlap = both(starts, less(aMinX, L::load(c.maxX + b)));
    overlap = both(overlap, less(aMinY, L::load(c.maxY + b)));
    overlap = both(overlap, less(L::load(c.minY + b), aMaxY));
    overlap = both(overlap, less(aMinZ, L::load(c.maxZ + b)));
    overlap = both(overlap, less(L::load(c.minZ + b), aMaxZ));
    for (int lanes = maskBits(overlap); lanes != 0; lanes &= lanes - 1) {
      if (count == room) return -1;
      later[count++] = b + __builtin_ctz(static_cast<unsigned>(lanes));
    }
    if (reach != (1 << L::kCount) - 1) break;
  }
  return count;
}

}  // namespace
}  // namespace vorlund

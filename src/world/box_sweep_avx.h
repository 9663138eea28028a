// The sweep of the contact broad phase, four boxes per instruction, in a file
// of its own built for AVX: each lane makes the comparisons of boxesOverlap,
// strict and false on a NaN as they are. Plain addresses only, as in
// stick_springs_avx.h.
#pragma once

namespace vorlund {

// The boxes in the broad phase's order (by the lower x), one column per
// bound, and three more rows past `count` whose lower x is +infinity, so
// that four lanes may read past the last box and stop there.
struct SweepColumns {
  const double* minX;
  const double* maxX;
  const double* minY;
  const double* maxY;
  const double* minZ;
  const double* maxZ;
  int count;
};
// Rows of padding the columns hold past `count`.
inline constexpr int kSweepPadding = 3;

// The boxes b > a, in order, that overlap box a, written to `later` (at
// most `room`). Returns their count, or -1 when there are more: the caller
// then sweeps box a one by one. Only called when the processor has AVX.
int laterOverlapsAvx(const SweepColumns& boxes, int a, int* later, int room);

}  // namespace vorlund

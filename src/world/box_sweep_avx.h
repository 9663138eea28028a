// The sweep of the contact broad phase, four or eight boxes per instruction,
// in files of their own built for AVX and for AVX-512 (see box_sweep_lanes.h).
// Plain addresses only, as in stick_springs_avx.h.
#pragma once

namespace vorlund {

// The boxes in the broad phase's order (by the lower x), one column per
// bound, and seven more rows past `count` whose lower x is +infinity, so
// that four or eight lanes may read past the last box and stop there.
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
inline constexpr int kSweepPadding = 7;

// The boxes b > a, in order, that overlap box a, written to `later` (at
// most `room`). Returns their count, or -1 when there are more: the caller
// then sweeps box a one by one. Only called when the processor has AVX.
int laterOverlapsAvx(const SweepColumns& boxes, int a, int* later, int room);
// The same eight boxes at a time, built for AVX-512 and only called when the
// processor has it.
int laterOverlapsAvx512(const SweepColumns& boxes, int a, int* later, int room);

}  // namespace vorlund

// The end pairs of two objects that may lie within reach, four pairs per
// instruction, in a file of its own built for AVX: each lane measures the
// squared distance as the contact phase does, operation for operation. Plain
// addresses only, as in stick_springs_avx.h.
#pragma once

namespace vorlund {

// The most ends of the second object the lanes take; more go one by one.
inline constexpr int kNearLanesMaxEnds = 64;

// The pairs (ia, jb) of the positions a[0 .. na) and b[0 .. nb) (3 doubles
// each) whose squared distance is not above `range2` (or is not a number),
// as ia * nb + jb in the order of ia, then jb, written to `near`. Returns
// their count, or -1 when nb is above kNearLanesMaxEnds or more than `room`
// pairs come out: the caller then measures the pairs one by one. Only called
// when the processor has AVX.
int nearEndPairsAvx(const double* a, int na, const double* b, int nb, double range2, int* near, int room);

}  // namespace vorlund

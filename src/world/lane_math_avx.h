// The arithmetic of the step's AVX lanes: a double per lane, three of them
// for a vector of the world, each operation the one Vec3 does per component
// in the same order. Included only by the files built for AVX; the functions
// are internal to each, so no copy of them with AVX instructions can stand in
// for code of the other files.
#pragma once

#include <immintrin.h>

// Each file of lanes is built twice: for AVX, and for the AVX-512VL path
// (VORLUND_LANES_AVX512), the same four lanes and operations in registers
// twice as many, where the sixteen of AVX spill to memory. LANES(f) names
// one build's copy of a function: fAvx or fAvx512.
#if defined(VORLUND_LANES_AVX512)
#define VORLUND_LANES(name) name##Avx512
#else
#define VORLUND_LANES(name) name##Avx
#endif

namespace vorlund {
namespace {

using V = __m256d;

// A vector of three components, each a lane per stick or end.
struct V3 {
  V x, y, z;
};

inline V add(V a, V b) { return _mm256_add_pd(a, b); }
inline V sub(V a, V b) { return _mm256_sub_pd(a, b); }
inline V mul(V a, V b) { return _mm256_mul_pd(a, b); }
inline V all(double x) { return _mm256_set1_pd(x); }
inline V negate(V a) { return _mm256_xor_pd(a, _mm256_set1_pd(-0.0)); }
inline V3 add(const V3& a, const V3& b) { return {add(a.x, b.x), add(a.y, b.y), add(a.z, b.z)}; }
inline V3 sub(const V3& a, const V3& b) { return {sub(a.x, b.x), sub(a.y, b.y), sub(a.z, b.z)}; }
inline V3 negate(const V3& a) { return {negate(a.x), negate(a.y), negate(a.z)}; }
// Each component times k, as Vec3's `a * k` and `k * a` both do.
inline V3 scale(const V3& a, V k) { return {mul(a.x, k), mul(a.y, k), mul(a.z, k)}; }
inline V dot(const V3& a, const V3& b) { return add(add(mul(a.x, b.x), mul(a.y, b.y)), mul(a.z, b.z)); }
inline V length(const V3& a) { return _mm256_sqrt_pd(dot(a, a)); }

inline V less(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
// b where the mask is set, else a. By bits: the compiler made a blend of a
// comparison's mask into branches lane by lane.
inline V pick(V a, V b, V mask) { return _mm256_or_pd(_mm256_and_pd(mask, b), _mm256_andnot_pd(mask, a)); }

// Four rows of four doubles (one per stick or end) turned into four columns
// (one per field), and back: the transpose is its own inverse.
inline void transpose(V r0, V r1, V r2, V r3, V (&c)[4]) {
  const V a = _mm256_unpacklo_pd(r0, r1), b = _mm256_unpackhi_pd(r0, r1);
  const V e = _mm256_unpacklo_pd(r2, r3), f = _mm256_unpackhi_pd(r2, r3);
  c[0] = _mm256_permute2f128_pd(a, e, 0x20);
  c[1] = _mm256_permute2f128_pd(b, f, 0x20);
  c[2] = _mm256_permute2f128_pd(a, e, 0x31);
  c[3] = _mm256_permute2f128_pd(b, f, 0x31);
}

// Four doubles from `offset` of each lane's address, as columns; the
// lanes' addresses are `double*` or `const double*`.
template <class Address>
inline void loadColumns(const Address (&lanes)[4], int offset, V (&c)[4]) {
  transpose(_mm256_loadu_pd(lanes[0] + offset), _mm256_loadu_pd(lanes[1] + offset),
            _mm256_loadu_pd(lanes[2] + offset), _mm256_loadu_pd(lanes[3] + offset), c);
}
// The inverse: the columns back as four doubles at `offset` of each lane.
inline void storeColumns(double* const (&lanes)[4], int offset, V c0, V c1, V c2, V c3) {
  V rows[4];
  transpose(c0, c1, c2, c3, rows);
  for (int i = 0; i < 4; ++i) _mm256_storeu_pd(lanes[i] + offset, rows[i]);
}

// A frame of nine doubles (rows x, y, z) from `offset` of each lane's address.
template <class Address>
inline void loadFrame(const Address (&lanes)[4], int offset, V3 (&rows)[3]) {
  V low[4], high[4];
  loadColumns(lanes, offset, low);
  loadColumns(lanes, offset + 4, high);
  const int last = offset + 8;
  rows[0] = {low[0], low[1], low[2]};
  rows[1] = {low[3], high[0], high[1]};
  rows[2] = {high[2], high[3], _mm256_set_pd(lanes[3][last], lanes[2][last], lanes[1][last], lanes[0][last])};
}
// The inverse: the rows back as nine doubles at `offset` of each lane.
inline void storeFrame(double* const (&lanes)[4], int offset, const V3 (&rows)[3]) {
  storeColumns(lanes, offset, rows[0].x, rows[0].y, rows[0].z, rows[1].x);
  storeColumns(lanes, offset + 4, rows[1].y, rows[1].z, rows[2].x, rows[2].y);
  alignas(32) double last[4];
  _mm256_store_pd(last, rows[2].z);
  for (int i = 0; i < 4; ++i) lanes[i][offset + 8] = last[i];
}

}  // namespace
}  // namespace vorlund

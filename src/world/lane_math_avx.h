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
inline V3 pick(const V3& a, const V3& b, V mask) {
  return {pick(a.x, b.x, mask), pick(a.y, b.y, mask), pick(a.z, b.z, mask)};
}

// What the kernels written for both widths (four lanes here, eight in
// lane_math_avx512.h) call by the same names. A mask is a register of all
// ones or all zeros per lane here, mask bits there.
inline V quotient(V a, V b) { return _mm256_div_pd(a, b); }
inline V greater(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
inline V atLeast(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
inline V either(V a, V b) { return _mm256_or_pd(a, b); }
inline V both(V a, V b) { return _mm256_and_pd(a, b); }
inline int maskBits(V mask) { return _mm256_movemask_pd(mask); }
// x where the mask is set, else +0 (no bits).
inline V keepOnly(V mask, V x) { return _mm256_and_pd(mask, x); }
// The lanes' bits as such.
inline V andBits(V a, V b) { return _mm256_and_pd(a, b); }
inline V orBits(V a, V b) { return _mm256_or_pd(a, b); }
inline V andNotBits(V a, V b) { return _mm256_andnot_pd(a, b); }  // ~a & b
// |x| by its sign bit cleared.
inline V magnitude(V x) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), x); }
// Rounded to a float and back.
inline V roundedToFloat(V x) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(x)); }
inline void storeLanes(double* to, V v) { _mm256_storeu_pd(to, v); }

// The vector masks of the lane bits 0 to 15, read from memory: built in
// registers from the bits, the compiler turned every choice they make into
// branches lane by lane.
struct LaneMasks {
  alignas(32) long long lanes[1 << 4][4];
  constexpr LaneMasks() : lanes() {
    for (int bits = 0; bits < 1 << 4; ++bits)
      for (int i = 0; i < 4; ++i) lanes[bits][i] = bits & 1 << i ? -1 : 0;
  }
};
inline constexpr LaneMasks kLaneMasks;

// The lanes whose three values have no bit set (all +0).
inline V allClear(V x, V y, V z) {
  const V any = _mm256_or_pd(x, _mm256_or_pd(y, z));
  const int bits = _mm256_movemask_pd(_mm256_cmp_pd(any, _mm256_setzero_pd(), _CMP_EQ_OQ)) & ~_mm256_movemask_pd(any);
  return _mm256_load_pd(reinterpret_cast<const double*>(kLaneMasks.lanes[bits]));
}
// The values of a double field of four lane records.
template <class Record>
inline V laneValues(const Record (&lanes)[4], double Record::*field) {
  return _mm256_set_pd(lanes[3].*field, lanes[2].*field, lanes[1].*field, lanes[0].*field);
}

// The four lanes as the kernels of both widths take them (a class rather
// than the register type: GCC drops a vector type's attributes from a
// template argument): the types, and what no argument's type tells apart.
struct FourLanes {
  using Reg = V;
  using Mask = V;
  using Vec = V3;
  static constexpr int kCount = 4;
  static V all(double x) { return _mm256_set1_pd(x); }
  static V load(const double* p) { return _mm256_loadu_pd(p); }
  static V bitsInEvery(unsigned long long b) {
    return _mm256_castsi256_pd(_mm256_set1_epi64x(static_cast<long long>(b)));
  }
  // Lanes whose bit is set.
  static V laneMask(int bits) { return _mm256_load_pd(reinterpret_cast<const double*>(kLaneMasks.lanes[bits & 15])); }
};

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

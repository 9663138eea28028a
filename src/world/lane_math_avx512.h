// The arithmetic of the step's eight-lane AVX-512 kernels: a double per lane
// of a 512-bit register, lane masks in the mask registers, each operation the
// one Vec3 does per component in the same order, as in lane_math_avx.h.
// Included only by files built for AVX-512; internal to each, like that one.
#pragma once

#include "world/lane_math_avx.h"

// GCC 12 takes the unused sources that the 512-bit intrinsics leave
// undefined on purpose for uninitialized values, and says so at every use.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace vorlund {
namespace {

inline constexpr int kWideLanes = 8;

using W = __m512d;
using WMask = __mmask8;  // lane i is bit i

struct W3 {
  W x, y, z;
};

inline W add(W a, W b) { return _mm512_add_pd(a, b); }
inline W sub(W a, W b) { return _mm512_sub_pd(a, b); }
inline W mul(W a, W b) { return _mm512_mul_pd(a, b); }
inline W3 add(const W3& a, const W3& b) { return {add(a.x, b.x), add(a.y, b.y), add(a.z, b.z)}; }
inline W3 sub(const W3& a, const W3& b) { return {sub(a.x, b.x), sub(a.y, b.y), sub(a.z, b.z)}; }
inline W3 scale(const W3& a, W k) { return {mul(a.x, k), mul(a.y, k), mul(a.z, k)}; }
inline W dot(const W3& a, const W3& b) { return add(add(mul(a.x, b.x), mul(a.y, b.y)), mul(a.z, b.z)); }
inline W length(const W3& a) { return _mm512_sqrt_pd(dot(a, a)); }
// The sign bit flipped, as AVX's xor with -0.0 (by integers: AVX-512F has no
// logic on doubles).
inline W negate(W a) {
  return _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(a), _mm512_set1_epi64(1LL << 63)));
}
inline W3 negate(const W3& a) { return {negate(a.x), negate(a.y), negate(a.z)}; }

inline WMask less(W a, W b) { return _mm512_cmp_pd_mask(a, b, _CMP_LT_OQ); }
// b where the mask is set, else a: an exact choice, as the bit form of AVX's.
inline W pick(W a, W b, WMask mask) { return _mm512_mask_blend_pd(mask, a, b); }
inline W3 pick(const W3& a, const W3& b, WMask mask) {
  return {pick(a.x, b.x, mask), pick(a.y, b.y, mask), pick(a.z, b.z, mask)};
}

// The names of lane_math_avx.h for the kernels of both widths.
inline W quotient(W a, W b) { return _mm512_div_pd(a, b); }
inline WMask greater(W a, W b) { return _mm512_cmp_pd_mask(a, b, _CMP_GT_OQ); }
inline WMask atLeast(W a, W b) { return _mm512_cmp_pd_mask(a, b, _CMP_GE_OQ); }
inline WMask either(WMask a, WMask b) { return a | b; }
inline WMask both(WMask a, WMask b) { return a & b; }
inline int maskBits(WMask mask) { return mask; }
inline W keepOnly(WMask mask, W x) { return _mm512_maskz_mov_pd(mask, x); }
// By integers: AVX-512F has no logic on doubles.
inline __m512i asBits(W w) { return _mm512_castpd_si512(w); }
inline W asDoubles(__m512i i) { return _mm512_castsi512_pd(i); }
inline W andBits(W a, W b) { return asDoubles(_mm512_and_si512(asBits(a), asBits(b))); }
inline W orBits(W a, W b) { return asDoubles(_mm512_or_si512(asBits(a), asBits(b))); }
inline W andNotBits(W a, W b) { return asDoubles(_mm512_andnot_si512(asBits(a), asBits(b))); }
inline W magnitude(W x) { return _mm512_abs_pd(x); }
inline W roundedToFloat(W x) { return _mm512_cvtps_pd(_mm512_cvtpd_ps(x)); }
inline void storeLanes(double* to, W v) { _mm512_storeu_pd(to, v); }
inline WMask allClear(W x, W y, W z) {
  return _mm512_cmpeq_epi64_mask(_mm512_or_si512(asBits(x), _mm512_or_si512(asBits(y), asBits(z))),
                                 _mm512_setzero_si512());
}
template <class Record>
inline W laneValues(const Record (&lanes)[kWideLanes], double Record::*field) {
  return _mm512_set_pd(lanes[7].*field, lanes[6].*field, lanes[5].*field, lanes[4].*field, lanes[3].*field,
                       lanes[2].*field, lanes[1].*field, lanes[0].*field);
}

// The eight lanes as the kernels of both widths take them (see FourLanes).
struct EightLanes {
  using Reg = W;
  using Mask = WMask;
  using Vec = W3;
  static constexpr int kCount = kWideLanes;
  static W all(double x) { return _mm512_set1_pd(x); }
  static W load(const double* p) { return _mm512_loadu_pd(p); }
  static W bitsInEvery(unsigned long long b) { return asDoubles(_mm512_set1_epi64(static_cast<long long>(b))); }
  static WMask laneMask(int bits) { return static_cast<WMask>(bits); }
};

// The two halves of a register and back.
inline W join(V low, V high) { return _mm512_insertf64x4(_mm512_castpd256_pd512(low), high, 1); }
inline V lowHalf(W w) { return _mm512_castpd512_pd256(w); }
inline V highHalf(W w) { return _mm512_extractf64x4_pd(w, 1); }

// Eight rows of four doubles into four columns of eight, with the rows i and
// i + 4 in one register: pairs of doubles within each 128-bit quarter, then
// the quarters picked from two registers.
inline void transposeWide(W r04, W r15, W r26, W r37, W (&c)[4]) {
  const __m512i even = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0), odd = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
  const W a = _mm512_unpacklo_pd(r04, r15), b = _mm512_unpackhi_pd(r04, r15);
  const W e = _mm512_unpacklo_pd(r26, r37), f = _mm512_unpackhi_pd(r26, r37);
  c[0] = _mm512_permutex2var_pd(a, even, e);
  c[1] = _mm512_permutex2var_pd(b, even, f);
  c[2] = _mm512_permutex2var_pd(a, odd, e);
  c[3] = _mm512_permutex2var_pd(b, odd, f);
}

// Four doubles from `offset` of each of eight lanes' addresses, as columns.
template <class Address>
inline void loadColumns(const Address (&lanes)[kWideLanes], int offset, W (&c)[4]) {
  W rows[4];
  for (int i = 0; i < 4; ++i)
    rows[i] = join(_mm256_loadu_pd(lanes[i] + offset), _mm256_loadu_pd(lanes[i + 4] + offset));
  transposeWide(rows[0], rows[1], rows[2], rows[3], c);
}

// The inverse: the columns back as four doubles at `offset` of each lane.
inline void storeColumns(double* const (&lanes)[kWideLanes], int offset, W c0, W c1, W c2, W c3) {
  // The quarters go back where they came from by the same two picks.
  const __m512i even = _mm512_set_epi64(13, 12, 5, 4, 9, 8, 1, 0), odd = _mm512_set_epi64(15, 14, 7, 6, 11, 10, 3, 2);
  const W a = _mm512_permutex2var_pd(c0, even, c2), e = _mm512_permutex2var_pd(c0, odd, c2);
  const W b = _mm512_permutex2var_pd(c1, even, c3), f = _mm512_permutex2var_pd(c1, odd, c3);
  const W rows[4] = {_mm512_unpacklo_pd(a, b), _mm512_unpackhi_pd(a, b), _mm512_unpacklo_pd(e, f),
                     _mm512_unpackhi_pd(e, f)};
  for (int i = 0; i < 4; ++i) {
    _mm256_storeu_pd(lanes[i] + offset, lowHalf(rows[i]));
    _mm256_storeu_pd(lanes[i + 4] + offset, highHalf(rows[i]));
  }
}

// A frame of nine doubles (rows x, y, z) from `offset` of each lane's address.
template <class Address>
inline void loadFrame(const Address (&lanes)[kWideLanes], int offset, W3 (&rows)[3]) {
  W low[4], high[4];
  loadColumns(lanes, offset, low);
  loadColumns(lanes, offset + 4, high);
  const int last = offset + 8;
  rows[0] = {low[0], low[1], low[2]};
  rows[1] = {low[3], high[0], high[1]};
  rows[2] = {high[2], high[3],
             _mm512_set_pd(lanes[7][last], lanes[6][last], lanes[5][last], lanes[4][last], lanes[3][last],
                           lanes[2][last], lanes[1][last], lanes[0][last])};
}
// The inverse: the rows back as nine doubles at `offset` of each lane.
inline void storeFrame(double* const (&lanes)[kWideLanes], int offset, const W3 (&rows)[3]) {
  storeColumns(lanes, offset, rows[0].x, rows[0].y, rows[0].z, rows[1].x);
  storeColumns(lanes, offset + 4, rows[1].y, rows[1].z, rows[2].x, rows[2].y);
  alignas(64) double last[kWideLanes];
  _mm512_store_pd(last, rows[2].z);
  for (int i = 0; i < kWideLanes; ++i) lanes[i][offset + 8] = last[i];
}

}  // namespace
}  // namespace vorlund

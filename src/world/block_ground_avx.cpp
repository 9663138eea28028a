// Built with -mavx. No header with inline functions here but the lanes' own
// (see block_ground_avx.h).
#include "world/block_ground_avx.h"

#include "world/lane_math_avx.h"

namespace vorlund {

namespace {

inline V equal(V a, double b) { return _mm256_cmp_pd(a, all(b), _CMP_EQ_OQ); }
// std::max(a, b) and std::min(a, b): the first one unless the comparison
// picks the second, so a NaN and the zeros' signs come out as there.
inline V maxOf(V a, V b) { return pick(a, b, less(a, b)); }
inline V minOf(V a, V b) { return pick(a, b, less(b, a)); }

// Out of a ramp through the top, to the foot of the perpendicular on its
// slope, as the world's outOfRamp does along either axis.
struct RampExit {
  V along, z;
};
inline RampExit outOfRamp(V along, V z, V depth, V cell, V width, V startHeight, V endHeight) {
  const V s = sub(endHeight, startHeight);
  const V t = _mm256_div_pd(mul(depth, width), add(mul(width, width), mul(s, s)));
  const V moved = sub(along, mul(s, t));
  const V lifted = add(z, mul(width, t));
  const V falls = _mm256_cmp_pd(s, _mm256_setzero_pd(), _CMP_LE_OQ);
  return {pick(maxOf(moved, mul(cell, width)), minOf(moved, mul(add(cell, all(1)), width)), falls),
          pick(maxOf(startHeight, lifted), maxOf(endHeight, lifted), falls)};
}

}  // namespace

namespace {

// Inlined into each entry point: called out of line, it was reached by a
// jump and returned without clearing the registers' upper halves, which
// slowed all the SSE code that ran after it.
[[gnu::always_inline]] inline GroundLanes groundOf(const BlockGrid& grid, V x, V y, V z,
                                                   double (&q)[3][kGroundLanes]) {
  const V w = all(grid.cellWidth), dp = all(grid.cellDepth);
  const V zero = _mm256_setzero_pd(), size = all(grid.size);
  const V over = _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(x, zero, _CMP_GE_OQ), less(x, size)),
                               _mm256_and_pd(_mm256_cmp_pd(y, zero, _CMP_GE_OQ), less(y, size)));
  const int offGrid = ~_mm256_movemask_pd(over) & ((1 << kGroundLanes) - 1);

  // The cell under each point and its four neighbours. A point off the grid
  // reads cell 0, 0 and its answer is not given.
  const V gx = _mm256_div_pd(x, w), gy = _mm256_div_pd(y, dp);
  const __m128i none = _mm_setzero_si128();
  const __m128i i =
      _mm_max_epi32(_mm_min_epi32(_mm256_cvttpd_epi32(gx), _mm_set1_epi32(grid.lastColumn)), none);
  const __m128i j = _mm_max_epi32(_mm_min_epi32(_mm256_cvttpd_epi32(gy), _mm_set1_epi32(grid.lastRow)), none);
  const V ci = _mm256_cvtepi32_pd(i), cj = _mm256_cvtepi32_pd(j);
  const V fx = sub(gx, ci), fy = sub(gy, cj);
  alignas(16) int column[kGroundLanes], row[kGroundLanes];
  _mm_store_si128(reinterpret_cast<__m128i*>(column), i);
  _mm_store_si128(reinterpret_cast<__m128i*>(row), j);
  const MapCell* c[kGroundLanes];
  for (int lane = 0; lane < kGroundLanes; ++lane)
    c[lane] = grid.cells + grid.columns * (row[lane] + 1) + column[lane] + 1;
  // Put together in registers: four values stored one by one and read back
  // as a vector wait until the stores have reached the cache.
  const auto heights = [&c](int offset) {
    return _mm256_setr_pd(c[0][offset].height, c[1][offset].height, c[2][offset].height, c[3][offset].height);
  };
  const V hc = heights(0), hl = heights(-1), hr = heights(1);
  const V hd = heights(-grid.columns), hu = heights(grid.columns);
  const V kinds = _mm256_setr_pd(c[0]->kind, c[1]->kind, c[2]->kind, c[3]->kind);
  const V rampX = equal(kinds, CELL_RAMP_X), rampY = equal(kinds, CELL_RAMP_Y);
  const V surface = pick(pick(hc, add(hl, mul(sub(hr, hl), fx)), rampX), add(hd, mul(sub(hu, hd), fy)), rampY);
  const V d = sub(surface, z);
  const V inside = _mm256_and_pd(_mm256_cmp_pd(d, zero, _CMP_GE_OQ), over);
  const int bits = _mm256_movemask_pd(inside);
  if (bits == 0) {
    _mm256_storeu_pd(q[0], x);
    _mm256_storeu_pd(q[1], y);
    _mm256_storeu_pd(q[2], z);
    return {0, offGrid};
  }

  // Near a side of a higher block a point leaves sideways, through the nearer
  // side, first along x, then along y from what is left of its depth.
  const V one = all(1);
  const V rightEdge = mul(add(ci, one), w), leftEdge = mul(ci, w);
  const V dRight = sub(rightEdge, x), dLeft = sub(x, leftEdge);
  const V toRight = _mm256_and_pd(greater(d, dRight), greater(hc, hr));
  const V toLeft = _mm256_andnot_pd(toRight, _mm256_and_pd(greater(d, dLeft), greater(hc, hl)));
  const V pushedX = _mm256_or_pd(toRight, toLeft);
  const V sideX = pick(pick(x, leftEdge, toLeft), rightEdge, toRight);
  const V sideZ = pick(pick(z, maxOf(hl, z), toLeft), maxOf(hr, z), toRight);
  const V depth = pick(pick(d, dLeft, toLeft), dRight, toRight);
  const V upEdge = mul(add(cj, one), dp), downEdge = mul(cj, dp);
  const V dUp = sub(upEdge, y), dDown = sub(y, downEdge);
  const V toUp = _mm256_and_pd(greater(depth, dUp), greater(hc, hu));
  const V toDown = _mm256_andnot_pd(toUp, _mm256_and_pd(greater(depth, dDown), greater(hc, hd)));
  const V pushedY = _mm256_or_pd(toUp, toDown);

  // Else out through the top; most points that leave so are on a level block.
  const V top = _mm256_andnot_pd(_mm256_or_pd(pushedX, pushedY), inside);
  const V topX = _mm256_and_pd(top, rampX), topY = _mm256_and_pd(top, rampY);
  V qx = sideX, qy = y, topZ = surface;
  if (_mm256_movemask_pd(_mm256_or_pd(topX, topY)) != 0) {
    const RampExit alongX = outOfRamp(x, z, d, ci, w, hl, hr);
    const RampExit alongY = outOfRamp(y, z, d, cj, dp, hd, hu);
    topZ = pick(pick(surface, alongX.z, rampX), alongY.z, rampY);
    qx = pick(qx, alongX.along, topX);
    qy = pick(qy, alongY.along, topY);
  }
  qx = pick(qx, x, pushedY);
  qy = pick(pick(qy, downEdge, toDown), upEdge, toUp);
  V qz = pick(sideZ, topZ, top);
  qz = pick(pick(qz, maxOf(hd, sideZ), toDown), maxOf(hu, sideZ), toUp);
  _mm256_storeu_pd(q[0], pick(x, qx, inside));
  _mm256_storeu_pd(q[1], pick(y, qy, inside));
  _mm256_storeu_pd(q[2], pick(z, qz, inside));
  return {bits, offGrid};
}

}  // namespace

GroundLanes VORLUND_LANES(blockGround)(const BlockGrid& grid, const double (&p)[3][kGroundLanes],
                           double (&q)[3][kGroundLanes]) {
  return groundOf(grid, _mm256_loadu_pd(p[0]), _mm256_loadu_pd(p[1]), _mm256_loadu_pd(p[2]), q);
}

GroundLanes VORLUND_LANES(blockGroundAt)(const BlockGrid& grid, const double* const (&at)[kGroundLanes],
                             double (&q)[3][kGroundLanes]) {
  V c[4];
  loadColumns(at, 0, c);
  return groundOf(grid, c[0], c[1], c[2], q);
}

int VORLUND_LANES(otherCells)(const BlockGrid& grid, const double* const (&a)[kGroundLanes],
                  const double* const (&b)[kGroundLanes]) {
  V first[4], second[4];
  loadColumns(a, 0, first);
  loadColumns(b, 0, second);
  // Compared as truncated reals, as sameCell does: far-away points must not
  // overflow an int.
  const auto column = [](V x, V width) { return _mm256_round_pd(_mm256_div_pd(x, width), _MM_FROUND_TO_ZERO); };
  const V w = all(grid.cellWidth), dp = all(grid.cellDepth);
  const V same = _mm256_and_pd(_mm256_cmp_pd(column(first[0], w), column(second[0], w), _CMP_EQ_OQ),
                               _mm256_cmp_pd(column(first[1], dp), column(second[1], dp), _CMP_EQ_OQ));
  return ~_mm256_movemask_pd(same) & ((1 << kGroundLanes) - 1);
}

}  // namespace vorlund

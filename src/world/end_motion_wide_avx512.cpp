// Built for AVX-512. No header with inline functions here but the lanes' own
// (see end_motion_avx.h); the limits and gains are constants only.
//
// The motion of eight ends at once, each lane what the four-lane kernel does
// for one end, operation for operation: the chain of roots and quotients
// from an end's ground contact to its velocity is long, and eight lanes run
// it once for twice the ends.
#include <sleef.h>

#include "world/end_motion_avx.h"
#include "world/lane_math_avx512.h"
#include "world/physical_ranges.h"
#include "world/physics_constants.h"

namespace vorlund {

namespace {

static_assert(kWideLanes == kWideMotionLanes);

inline WMask laneBits(int bits) { return static_cast<WMask>(bits); }

// std::clamp's comparisons: lo below lo, hi above hi, else x (a NaN too).
inline W clamp(W x, W lo, W hi) { return pick(pick(x, hi, less(hi, x)), lo, less(x, lo)); }

// turnFrame's rotations of one row, about x, then y, then z.
inline void turnRow(W3& r, const W (&c)[3], const W (&s)[3]) {
  W y = sub(mul(r.y, c[0]), mul(r.z, s[0])), z = add(mul(r.y, s[0]), mul(r.z, c[0]));
  r.y = y;
  r.z = z;
  W x = sub(mul(r.x, c[1]), mul(r.z, s[1]));
  z = add(mul(r.x, s[1]), mul(r.z, c[1]));
  r.x = x;
  r.z = z;
  x = sub(mul(r.x, c[2]), mul(r.y, s[2]));
  y = add(mul(r.x, s[2]), mul(r.y, c[2]));
  r.x = x;
  r.y = y;
}

inline __m512i asBits(W w) { return _mm512_castpd_si512(w); }
inline W asDoubles(__m512i i) { return _mm512_castsi512_pd(i); }

// Turns every lane's frame by its spin; a spin of +0, +0, +0 (all bits clear)
// leaves the frame's bits as they are, as the scalar step skips it.
inline void turnFrames(double* const (&ends)[kWideLanes], const W3& spin) {
  const __m512i any = _mm512_or_si512(asBits(spin.x), _mm512_or_si512(asBits(spin.y), asBits(spin.z)));
  const WMask still = _mm512_cmpeq_epi64_mask(any, _mm512_setzero_si512());
  if (still == kAllWide) return;
  W c[3], s[3];
  const W angles[3] = {spin.x, spin.y, spin.z};
  for (int i = 0; i < 3; ++i) {
    const Sleef___m512d_2 r = Sleef_cinz_sincosd8_u35avx512fnofma(angles[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
  W3 rows[3];
  loadFrame(ends, kEndFrame, rows);
  for (W3& r : rows) {
    const W3 before = r;
    turnRow(r, c, s);
    r = pick(r, before, still);
  }
  storeFrame(ends, kEndFrame, rows);
}

inline __m512i bits(unsigned long long b) { return _mm512_set1_epi64(static_cast<long long>(b)); }
inline __m512i pickBits(__m512i a, __m512i b, WMask mask) { return _mm512_mask_blend_epi64(mask, a, b); }

// The contact and state of each lane's end after its ground contact, as the
// four-lane kernel sets them (see there).
inline W contactAndState(W old, WMask inside, WMask touched, WMask slides, WMask wet) {
  const __m512i was = asBits(old), counter = bits(0xFFFF), one = bits(1);
  const __m512i sliding = bits(static_cast<unsigned long long>(kEndSliding) << kEndStateShift);
  const __m512i inWater = bits(static_cast<unsigned long long>(kEndInWater) << kEndStateShift);
  const __m512i count = _mm512_maskz_mov_epi64(inside, pickBits(one, _mm512_and_si512(was, counter), touched));
  __m512i now = _mm512_or_si512(_mm512_andnot_si512(counter, was), count);
  const WMask held = inside & touched;
  now = pickBits(now, pickBits(_mm512_andnot_si512(sliding, now), _mm512_or_si512(now, sliding), slides), held);
  return asDoubles(pickBits(_mm512_andnot_si512(inWater, now), _mm512_or_si512(now, inWater), wet));
}

}  // namespace

MotionLanes moveEightEndsAvx512(double* const (&ends)[kWideMotionLanes], int contact, const MotionRules& rules,
                                const GivenGround (*ground)[2]) {
  W c0[4], c1[4], c2[4], c3[4], c4[4], c5[4];
  loadColumns(ends, 0, c0);
  loadColumns(ends, kEndVelocity + 1, c1);
  loadColumns(ends, kEndSpin + 2, c2);
  loadColumns(ends, kEndTorque, c3);
  loadColumns(ends, kEndAnchor + 1, c4);
  loadColumns(ends, kEndBuoyancy, c5);
  static_assert(kEndVelocity + 1 == 4 && kEndSpin + 2 == 8 && kEndAnchor + 1 == 16 && kEndMass == 19);
  const W3 p{c0[0], c0[1], c0[2]};
  W3 v{c0[3], c1[0], c1[1]};
  W3 spin{c1[2], c1[3], c2[0]};
  W3 force{c2[1], c2[2], c2[3]};
  const W3 torque{c3[0], c3[1], c3[2]};
  W3 anchor{c3[3], c4[0], c4[1]};
  const W m = c4[3], buoyancy = c5[0], friction = c5[1];
  const W zero = _mm512_setzero_pd();

  // Where the ground or a fence puts the end.
  W3 q = p;
  WMask inside = 0;
  if (ground != nullptr) {
    const GivenGround(&g)[2] = *ground;
    q = {join(_mm256_load_pd(g[0].q[0]), _mm256_load_pd(g[1].q[0])),
         join(_mm256_load_pd(g[0].q[1]), _mm256_load_pd(g[1].q[1])),
         join(_mm256_load_pd(g[0].q[2]), _mm256_load_pd(g[1].q[2]))};
    inside = laneBits((g[0].inside & 15) | (g[1].inside & 15) << 4);
  } else {
    if (rules.fence) {
      const W size = wide(rules.size);
      W* axes[2] = {&q.x, &q.y};
      for (W* axis : axes) {
        const WMask before = less(*axis, zero), beyond = less(size, *axis);
        *axis = pick(pick(*axis, size, beyond), zero, before);
        inside |= before | beyond;
      }
    }
    const WMask under = less(p.z, zero);
    q.z = pick(q.z, zero, under);
    inside |= under;
  }

  // On the ground: pushed out, and held at the anchor by static friction, or
  // sliding with the anchor dragged along; the first touch only anchors.
  // The roots and the quotient of the friction only count for the ends held
  // on the ground, and take the divider longest: none are worked out when no
  // lane holds.
  const W3 push = scale(sub(q, p), wide(GROUND_PUSH));
  const WMask touched = laneBits(contact);
  W3 P = push;
  WMask slides = 0;
  if ((inside & touched) != 0) {
    const W3 h = sub(anchor, q);
    const W limit = mul(mul(wide(FRICTION_LIMIT_FACTOR), friction), length(push));
    const W held = length(h);
    slides = less(limit, held);
    const W share = _mm512_div_pd(limit, held);
    const W3 slid = add(push, scale(h, mul(wide(0.5), share)));
    const W3 slidAnchor = add(scale(anchor, share), scale(q, sub(wide(1), share)));
    const W3 inContact = pick(add(push, h), slid, slides);
    P = pick(push, inContact, touched);
    anchor = pick(anchor, pick(q, pick(anchor, slidAnchor, slides), touched), inside);
  } else {
    anchor = pick(anchor, q, inside);
  }
  P = pick(W3{zero, zero, zero}, P, inside);
  if (rules.lowDamping) v = pick(v, scale(v, wide(GROUND_VELOCITY_KEEP)), inside & touched);

  const W mass = pick(wide(FALLBACK_MASS), m, less(zero, m));
  P.z = sub(P.z, mul(wide(GRAVITY), mass));
  const WMask wet = less(p.z, wide(rules.water));
  P.z = pick(P.z, add(P.z, mul(wide(BUOYANCY), buoyancy)), wet);
  force = add(force, P);
  // 1 / 1 is 1: the quotient waits for the divider only for other masses.
  const W one = wide(1.0);
  const W perMass = _mm512_cmp_pd_mask(mass, one, _CMP_NEQ_UQ) == 0 ? one : _mm512_div_pd(one, mass);
  v = add(v, scale(force, perMass));
  spin = add(spin, scale(torque, perMass));
  const W damp = wide(rules.damp);
  v = scale(v, damp);
  spin = scale(spin, damp);
  const W lo = wide(-kVelocityLimit), hi = wide(kVelocityLimit);
  v = {clamp(v.x, lo, hi), clamp(v.y, lo, hi), clamp(v.z, lo, hi)};
  const W3 moved = add(p, v);

  storeColumns(ends, 0, moved.x, moved.y, moved.z, v.x);
  storeColumns(ends, kEndVelocity + 1, v.y, v.z, spin.x, spin.y);
  storeColumns(ends, kEndSpin + 2, spin.z, force.x, force.y, force.z);
  storeColumns(ends, kEndTorque, torque.x, torque.y, torque.z, anchor.x);
  storeColumns(ends, kEndAnchor + 1, anchor.y, anchor.z, contactAndState(c4[2], inside, touched, slides, wet), m);
  turnFrames(ends, spin);
  return {static_cast<int>(inside)};
}

}  // namespace vorlund

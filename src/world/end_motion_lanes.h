// The motion of stick ends, one per lane, written once for both register
// widths: four lanes of AVX (end_motion_avx.cpp, built for AVX and again for
// AVX-512VL) and eight of AVX-512 (end_motion_wide_avx512.cpp). Each lane
// does what the motion phase does for one end, operation for operation, down
// to the turn of the end's frame by its spin with the step's sines, and its
// contact and state bits. Included only by those files.
#pragma once

#include <sleef.h>

#include "world/end_motion_avx.h"
#include "world/lane_math_avx.h"
#if defined(__AVX512F__)
#include "world/lane_math_avx512.h"
#endif
#include "world/physical_ranges.h"
#include "world/physics_constants.h"

namespace vorlund {
namespace {

// The deterministic sines of three registers of angles.
inline void sinCos3(const V (&angles)[3], V (&s)[3], V (&c)[3]) {
#if defined(__AVX512F__)
  // Eight angles cost the library's deterministic sines what four do (the
  // same bits as its AVX entry point): the first two registers share a call.
  const Sleef___m512d_2 xy = Sleef_cinz_sincosd8_u35avx512fnofma(join(angles[0], angles[1]));
  s[0] = lowHalf(xy.x);
  s[1] = highHalf(xy.x);
  c[0] = lowHalf(xy.y);
  c[1] = highHalf(xy.y);
  const Sleef___m256d_2 z = Sleef_cinz_sincosd4_u35avx(angles[2]);
  s[2] = z.x;
  c[2] = z.y;
#else
  for (int i = 0; i < 3; ++i) {
    const Sleef___m256d_2 r = Sleef_cinz_sincosd4_u35avx(angles[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
#endif
}
#if defined(__AVX512F__)
inline void sinCos3(const W (&angles)[3], W (&s)[3], W (&c)[3]) {
  for (int i = 0; i < 3; ++i) {
    const Sleef___m512d_2 r = Sleef_cinz_sincosd8_u35avx512fnofma(angles[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
}
#endif

// Where the caller's lookup of the ground puts each lane's end, along one
// axis: one GivenGround per four lanes.
inline V givenAxis(FourLanes, const GivenGround* ground, int axis) { return _mm256_load_pd(ground[0].q[axis]); }
#if defined(__AVX512F__)
inline W givenAxis(EightLanes, const GivenGround* ground, int axis) {
  return join(_mm256_load_pd(ground[0].q[axis]), _mm256_load_pd(ground[1].q[axis]));
}
#endif

// std::clamp's comparisons: lo below lo, hi above hi, else x (a NaN too).
template <class L, class R = typename L::Reg>
inline R clamp(R x, R lo, R hi) {
  return pick(pick(x, hi, less(hi, x)), lo, less(x, lo));
}

// turnFrame's rotations of one row, about x, then y, then z.
template <class L, class R = typename L::Reg>
inline void turnRow(typename L::Vec& r, const R (&c)[3], const R (&s)[3]) {
  R y = sub(mul(r.y, c[0]), mul(r.z, s[0])), z = add(mul(r.y, s[0]), mul(r.z, c[0]));
  r.y = y;
  r.z = z;
  R x = sub(mul(r.x, c[1]), mul(r.z, s[1]));
  z = add(mul(r.x, s[1]), mul(r.z, c[1]));
  r.x = x;
  r.z = z;
  x = sub(mul(r.x, c[2]), mul(r.y, s[2]));
  y = add(mul(r.x, s[2]), mul(r.y, c[2]));
  r.x = x;
  r.y = y;
}

// Turns every lane's frame by its spin; a spin of +0, +0, +0 (an end nothing
// turns) leaves the frame's bits as they are, as the scalar step skips it.
template <class L>
inline void turnFrames(double* const (&ends)[L::kCount], const typename L::Vec& spin) {
  using R = typename L::Reg;
  using R3 = typename L::Vec;
  const typename L::Mask still = allClear(spin.x, spin.y, spin.z);
  if (maskBits(still) == (1 << L::kCount) - 1) return;
  R c[3], s[3];
  sinCos3({spin.x, spin.y, spin.z}, s, c);
  R3 rows[3];
  loadFrame(ends, kEndFrame, rows);
  for (R3& r : rows) {
    const R3 before = r;
    turnRow<L>(r, c, s);
    r = pick(r, before, still);
  }
  storeFrame(ends, kEndFrame, rows);
}

// The contact and state of each lane's end after its ground contact, as the
// scalar step sets them: outside the ground the contact ends; on it, a first
// touch counts 1 and a held contact keeps its count and learns whether it
// slid; the water bit follows the level. Other bits (and the padding after
// the state) keep theirs.
template <class L, class R = typename L::Reg, class M = typename L::Mask>
inline R contactAndState(R old, M inside, M touched, M slides, M wet) {
  const R counter = L::bitsInEvery(0xFFFF), one = L::bitsInEvery(1);
  const R sliding = L::bitsInEvery(static_cast<unsigned long long>(kEndSliding) << kEndStateShift);
  const R inWater = L::bitsInEvery(static_cast<unsigned long long>(kEndInWater) << kEndStateShift);
  const R count = keepOnly(inside, pick(one, andBits(old, counter), touched));
  R now = orBits(andNotBits(counter, old), count);
  const M held = both(inside, touched);
  now = pick(now, pick(andNotBits(sliding, now), orBits(now, sliding), slides), held);
  return pick(andNotBits(inWater, now), orBits(now, inWater), wet);
}

// The ends (pointers to their positions) moved, on flat ground within the
// rules' fence unless `ground` (one per four lanes) gives where the ground
// puts them; `contact` has the bits of the lanes whose end touched the
// ground at the last step. The lanes whose end is inside come back.
template <class L>
inline int moveLanes(double* const (&ends)[L::kCount], int contact, const MotionRules& rules,
                     const GivenGround* ground) {
  using R = typename L::Reg;
  using R3 = typename L::Vec;
  using M = typename L::Mask;
  R c0[4], c1[4], c2[4], c3[4], c4[4], c5[4];
  loadColumns(ends, 0, c0);                 // position, velocity x
  loadColumns(ends, kEndVelocity + 1, c1);  // velocity y z, spin x y
  loadColumns(ends, kEndSpin + 2, c2);      // spin z, force
  loadColumns(ends, kEndTorque, c3);        // torque, anchor x
  loadColumns(ends, kEndAnchor + 1, c4);    // anchor y z, (contact and state), mass
  loadColumns(ends, kEndBuoyancy, c5);      // buoyancy, friction
  static_assert(kEndVelocity + 1 == 4 && kEndSpin + 2 == 8 && kEndAnchor + 1 == 16 && kEndMass == 19);
  const R3 p{c0[0], c0[1], c0[2]};
  R3 v{c0[3], c1[0], c1[1]};
  R3 spin{c1[2], c1[3], c2[0]};
  R3 force{c2[1], c2[2], c2[3]};
  const R3 torque{c3[0], c3[1], c3[2]};
  R3 anchor{c3[3], c4[0], c4[1]};
  const R m = c4[3], buoyancy = c5[0], friction = c5[1];
  const R zero = L::all(0.0);

  // Where the ground or a fence puts the end.
  R3 q = p;
  M inside = L::laneMask(0);
  if (ground != nullptr) {
    q = {givenAxis(L{}, ground, 0), givenAxis(L{}, ground, 1), givenAxis(L{}, ground, 2)};
    int bits = 0;
    for (int i = 0; i < L::kCount / kMotionLanes; ++i) bits |= (ground[i].inside & 15) << (i * kMotionLanes);
    inside = L::laneMask(bits);
  } else {
    if (rules.fence) {
      const R size = L::all(rules.size);
      R* axes[2] = {&q.x, &q.y};
      for (R* axis : axes) {
        const M before = less(*axis, zero), beyond = less(size, *axis);
        *axis = pick(pick(*axis, size, beyond), zero, before);
        inside = either(inside, either(before, beyond));
      }
    }
    const M under = less(p.z, zero);
    q.z = pick(q.z, zero, under);
    inside = either(inside, under);
  }

  // On the ground: pushed out, and held at the anchor by static friction, or
  // sliding with the anchor dragged along; the first touch only anchors. The
  // roots and the quotient of the friction only count for the ends held on
  // the ground, and take the divider longest: none are worked out when no
  // lane holds.
  const R3 push = scale(sub(q, p), L::all(GROUND_PUSH));
  const M touched = L::laneMask(contact);
  R3 P = push;
  M slides = L::laneMask(0);
  if (maskBits(both(inside, touched)) != 0) {
    const R3 h = sub(anchor, q);
    const R limit = mul(mul(L::all(FRICTION_LIMIT_FACTOR), friction), length(push));
    const R held = length(h);
    slides = less(limit, held);
    const R share = quotient(limit, held);
    const R3 slid = add(push, scale(h, mul(L::all(0.5), share)));
    const R3 slidAnchor = add(scale(anchor, share), scale(q, sub(L::all(1), share)));
    const R3 inContact = pick(add(push, h), slid, slides);
    P = pick(push, inContact, touched);
    anchor = pick(anchor, pick(q, pick(anchor, slidAnchor, slides), touched), inside);
  } else {
    anchor = pick(anchor, q, inside);
  }
  P = pick(R3{zero, zero, zero}, P, inside);
  if (rules.lowDamping) v = pick(v, scale(v, L::all(GROUND_VELOCITY_KEEP)), both(inside, touched));

  const R mass = pick(L::all(FALLBACK_MASS), m, less(zero, m));
  P.z = sub(P.z, mul(L::all(GRAVITY), mass));
  const M wet = less(p.z, L::all(rules.water));
  P.z = pick(P.z, add(P.z, mul(L::all(BUOYANCY), buoyancy)), wet);
  force = add(force, P);
  // 1 / 1 is 1: the quotient waits for the divider only for other masses.
  const R one = L::all(1.0);
  const R perMass = maskBits(either(less(mass, one), less(one, mass))) == 0 ? one : quotient(one, mass);
  v = add(v, scale(force, perMass));
  spin = add(spin, scale(torque, perMass));
  const R damp = L::all(rules.damp);
  v = scale(v, damp);
  spin = scale(spin, damp);
  const R lo = L::all(-kVelocityLimit), hi = L::all(kVelocityLimit);
  v = {clamp<L>(v.x, lo, hi), clamp<L>(v.y, lo, hi), clamp<L>(v.z, lo, hi)};
  const R3 moved = add(p, v);

  storeColumns(ends, 0, moved.x, moved.y, moved.z, v.x);
  storeColumns(ends, kEndVelocity + 1, v.y, v.z, spin.x, spin.y);
  storeColumns(ends, kEndSpin + 2, spin.z, force.x, force.y, force.z);
  storeColumns(ends, kEndTorque, torque.x, torque.y, torque.z, anchor.x);
  storeColumns(ends, kEndAnchor + 1, anchor.y, anchor.z, contactAndState<L>(c4[2], inside, touched, slides, wet), m);
  turnFrames<L>(ends, spin);
  return maskBits(inside);
}

}  // namespace
}  // namespace vorlund

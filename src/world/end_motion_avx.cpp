// Built with -mavx. No header with inline functions here but the lanes' own
// (see end_motion_avx.h); the limits and gains are constants only.
#include "world/end_motion_avx.h"

#include <sleef.h>

#include "world/lane_math_avx.h"
#include "world/physical_ranges.h"
#include "world/physics_constants.h"

namespace vorlund {

namespace {

inline V3 pick(const V3& a, const V3& b, V mask) {
  return {pick(a.x, b.x, mask), pick(a.y, b.y, mask), pick(a.z, b.z, mask)};
}
// std::clamp's comparisons: lo below lo, hi above hi, else x (a NaN too).
inline V clamp(V x, V lo, V hi) { return pick(pick(x, hi, less(hi, x)), lo, less(x, lo)); }

// The vector masks of the lane bits 0 to 15, read from memory: built in
// registers from the bits, the compiler turned every choice they make into
// branches lane by lane.
struct LaneMasks {
  alignas(32) long long lanes[1 << kMotionLanes][kMotionLanes];
  constexpr LaneMasks() : lanes() {
    for (int bits = 0; bits < 1 << kMotionLanes; ++bits)
      for (int i = 0; i < kMotionLanes; ++i) lanes[bits][i] = bits & 1 << i ? -1 : 0;
  }
};
constexpr LaneMasks kLaneMasks;

// Lanes whose bit is set, as a vector mask.
inline V laneMask(int bits) { return _mm256_load_pd(reinterpret_cast<const double*>(kLaneMasks.lanes[bits & 15])); }

// turnFrame's rotations of one row, about x, then y, then z.
inline void turnRow(V3& r, const V (&c)[3], const V (&s)[3]) {
  V y = sub(mul(r.y, c[0]), mul(r.z, s[0])), z = add(mul(r.y, s[0]), mul(r.z, c[0]));
  r.y = y;
  r.z = z;
  V x = sub(mul(r.x, c[1]), mul(r.z, s[1]));
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
inline void turnFrames(double* const (&ends)[kMotionLanes], const V3& spin) {
  const V any = _mm256_or_pd(spin.x, _mm256_or_pd(spin.y, spin.z));
  const int still = _mm256_movemask_pd(_mm256_cmp_pd(any, _mm256_setzero_pd(), _CMP_EQ_OQ)) & ~_mm256_movemask_pd(any);
  if (still == (1 << kMotionLanes) - 1) return;
  V c[3], s[3];
#if defined(VORLUND_LANES_AVX512)
  // Eight angles cost the library's deterministic sines what four do (the
  // same bits as its AVX entry point): the x and y turns share one call. The
  // halves move by the masked forms, whose unmasked ones GCC 12 warns about.
  constexpr __mmask8 kWhole = 0xFF;
  const __m512d xy = _mm512_mask_insertf64x4(_mm512_setzero_pd(), kWhole, _mm512_castpd256_pd512(spin.x), spin.y, 1);
  const Sleef___m512d_2 r = Sleef_cinz_sincosd8_u35avx512fnofma(xy);
  s[0] = _mm512_mask_extractf64x4_pd(spin.x, kWhole, r.x, 0);
  s[1] = _mm512_mask_extractf64x4_pd(spin.x, kWhole, r.x, 1);
  c[0] = _mm512_mask_extractf64x4_pd(spin.x, kWhole, r.y, 0);
  c[1] = _mm512_mask_extractf64x4_pd(spin.x, kWhole, r.y, 1);
  const Sleef___m256d_2 z = Sleef_cinz_sincosd4_u35avx(spin.z);
  s[2] = z.x;
  c[2] = z.y;
#else
  const V angles[3] = {spin.x, spin.y, spin.z};
  for (int i = 0; i < 3; ++i) {
    const Sleef___m256d_2 r = Sleef_cinz_sincosd4_u35avx(angles[i]);
    s[i] = r.x;
    c[i] = r.y;
  }
#endif
  V3 rows[3];
  loadFrame(ends, kEndFrame, rows);
  const V keep = laneMask(still);
  for (V3& r : rows) {
    const V3 before = r;
    turnRow(r, c, s);
    r = pick(r, before, keep);
  }
  storeFrame(ends, kEndFrame, rows);
}

// A constant of 64 bits in every lane.
inline V bits(unsigned long long b) { return _mm256_castsi256_pd(_mm256_set1_epi64x(static_cast<long long>(b))); }

// The contact and state of each lane's end after its ground contact, as the
// scalar step sets them: outside the ground the contact ends; on it, a first
// touch counts 1 and a held contact keeps its count and learns whether it
// slid; the water bit follows the level. Other bits (and the padding after
// the state) keep theirs.
inline V contactAndState(V old, V inside, V touched, V slides, V wet) {
  const V counter = bits(0xFFFF), one = bits(1);
  const V sliding = bits(static_cast<unsigned long long>(kEndSliding) << kEndStateShift);
  const V inWater = bits(static_cast<unsigned long long>(kEndInWater) << kEndStateShift);
  const V count = _mm256_and_pd(inside, pick(one, _mm256_and_pd(old, counter), touched));
  V now = _mm256_or_pd(_mm256_andnot_pd(counter, old), count);
  const V held = _mm256_and_pd(inside, touched);
  now = pick(now, pick(_mm256_andnot_pd(sliding, now), _mm256_or_pd(now, sliding), slides), held);
  return pick(_mm256_andnot_pd(inWater, now), _mm256_or_pd(now, inWater), wet);
}

}  // namespace

MotionLanes VORLUND_LANES(moveEnds)(double* const (&ends)[kMotionLanes], int contact, const MotionRules& rules,
                        const GivenGround* ground) {
  V c0[4], c1[4], c2[4], c3[4], c4[4], c5[4];
  loadColumns(ends, 0, c0);                // position, velocity x
  loadColumns(ends, kEndVelocity + 1, c1);  // velocity y z, spin x y
  loadColumns(ends, kEndSpin + 2, c2);      // spin z, force
  loadColumns(ends, kEndTorque, c3);        // torque, anchor x
  loadColumns(ends, kEndAnchor + 1, c4);    // anchor y z, (contact and state), mass
  loadColumns(ends, kEndBuoyancy, c5);      // buoyancy, friction
  static_assert(kEndVelocity + 1 == 4 && kEndSpin + 2 == 8 && kEndAnchor + 1 == 16 && kEndMass == 19);
  const V3 p{c0[0], c0[1], c0[2]};
  V3 v{c0[3], c1[0], c1[1]};
  V3 spin{c1[2], c1[3], c2[0]};
  V3 force{c2[1], c2[2], c2[3]};
  const V3 torque{c3[0], c3[1], c3[2]};
  V3 anchor{c3[3], c4[0], c4[1]};
  const V m = c4[3], buoyancy = c5[0], friction = c5[1];
  const V zero = _mm256_setzero_pd();

  // Where the ground or a fence puts the end.
  V3 q = p;
  V inside = zero;
  if (ground != nullptr) {
    q = {_mm256_load_pd(ground->q[0]), _mm256_load_pd(ground->q[1]), _mm256_load_pd(ground->q[2])};
    inside = laneMask(ground->inside);
  } else {
    if (rules.fence) {
      const V size = all(rules.size);
      V* axes[2] = {&q.x, &q.y};
      for (V* axis : axes) {
        const V before = less(*axis, zero), beyond = less(size, *axis);
        *axis = pick(pick(*axis, size, beyond), zero, before);
        inside = _mm256_or_pd(inside, _mm256_or_pd(before, beyond));
      }
    }
    const V under = less(p.z, zero);
    q.z = pick(q.z, zero, under);
    inside = _mm256_or_pd(inside, under);
  }

  // On the ground: pushed out, and held at the anchor by static friction, or
  // sliding with the anchor dragged along; the first touch only anchors.
  // The roots and the quotient of the friction only count for the ends held
  // on the ground, and take the divider longest: none are worked out when no
  // lane holds.
  const V3 push = scale(sub(q, p), all(GROUND_PUSH));
  const V touched = laneMask(contact);
  V3 P = push;
  V slides = zero;
  if (_mm256_movemask_pd(_mm256_and_pd(inside, touched)) != 0) {
    const V3 h = sub(anchor, q);
    const V limit = mul(mul(all(FRICTION_LIMIT_FACTOR), friction), length(push));
    const V held = length(h);
    slides = less(limit, held);
    const V share = _mm256_div_pd(limit, held);
    const V3 slid = add(push, scale(h, mul(all(0.5), share)));
    const V3 slidAnchor = add(scale(anchor, share), scale(q, sub(all(1), share)));
    const V3 inContact = pick(add(push, h), slid, slides);
    P = pick(push, inContact, touched);
    anchor = pick(anchor, pick(q, pick(anchor, slidAnchor, slides), touched), inside);
  } else {
    anchor = pick(anchor, q, inside);
  }
  P = pick(V3{zero, zero, zero}, P, inside);
  if (rules.lowDamping) v = pick(v, scale(v, all(GROUND_VELOCITY_KEEP)), _mm256_and_pd(inside, touched));

  const V mass = pick(all(FALLBACK_MASS), m, less(zero, m));
  P.z = sub(P.z, mul(all(GRAVITY), mass));
  const V wet = less(p.z, all(rules.water));
  P.z = pick(P.z, add(P.z, mul(all(BUOYANCY), buoyancy)), wet);
  force = add(force, P);
  // 1 / 1 is 1: the quotient waits for the divider only for other masses.
  const V one = all(1.0);
  const V perMass = _mm256_movemask_pd(_mm256_cmp_pd(mass, one, _CMP_NEQ_UQ)) == 0 ? one : _mm256_div_pd(one, mass);
  v = add(v, scale(force, perMass));
  spin = add(spin, scale(torque, perMass));
  const V damp = all(rules.damp);
  v = scale(v, damp);
  spin = scale(spin, damp);
  const V lo = all(-kVelocityLimit), hi = all(kVelocityLimit);
  v = {clamp(v.x, lo, hi), clamp(v.y, lo, hi), clamp(v.z, lo, hi)};
  const V3 moved = add(p, v);

  storeColumns(ends, 0, moved.x, moved.y, moved.z, v.x);
  storeColumns(ends, kEndVelocity + 1, v.y, v.z, spin.x, spin.y);
  storeColumns(ends, kEndSpin + 2, spin.z, force.x, force.y, force.z);
  storeColumns(ends, kEndTorque, torque.x, torque.y, torque.z, anchor.x);
  storeColumns(ends, kEndAnchor + 1, anchor.y, anchor.z, contactAndState(c4[2], inside, touched, slides, wet), m);
  turnFrames(ends, spin);
  return {_mm256_movemask_pd(inside)};
}

}  // namespace vorlund

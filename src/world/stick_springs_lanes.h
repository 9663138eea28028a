// The spring arithmetic of sticks, one per lane, written once for both
// register widths: four lanes of AVX (stick_springs_avx.cpp, built for AVX
// and again for AVX-512VL) and eight of AVX-512
// (stick_springs_wide_avx512.cpp). Each lane does what stickSpring and the
// water drag on its ends do, operation for operation. Included only by those
// files.
#pragma once

#include "world/lane_math_avx.h"
#if defined(__AVX512F__)
#include "world/lane_math_avx512.h"
#endif
#include "world/physics_constants.h"
#include "world/stick_springs_avx.h"

namespace vorlund {
namespace {

template <class R3>
inline R3 cross(const R3& a, const R3& b) {
  return {sub(mul(a.y, b.z), mul(a.z, b.y)), sub(mul(a.z, b.x), mul(a.x, b.z)), sub(mul(a.x, b.y), mul(a.y, b.x))};
}
// g.x * u.x + g.y * u.y + g.z * u.z for the rows of frame g.
template <class R3>
inline R3 localToWorld(const R3 (&g)[3], const R3& u) {
  return add(add(scale(g[0], u.x), scale(g[1], u.y)), scale(g[2], u.z));
}

// Three doubles from each lane's address (a fourth is read and not used).
template <class L>
inline typename L::Vec loadVec3(const double* const (&p)[L::kCount]) {
  typename L::Reg c[4];
  loadColumns(p, 0, c);
  return {c[0], c[1], c[2]};
}

template <int N, typename Field>
inline void gather(const SpringLane (&lanes)[N], Field field, const double* (&p)[N]) {
  for (int i = 0; i < N; ++i) p[i] = lanes[i].*field;
}

// Three doubles `offset` doubles after each lane's address.
template <class L>
inline typename L::Vec loadVec3At(const SpringLane (&lanes)[L::kCount], const double* SpringLane::*field,
                                  int offset) {
  const double* p[L::kCount];
  for (int i = 0; i < L::kCount; ++i) p[i] = lanes[i].*field + offset;
  return loadVec3<L>(p);
}

template <int N, class R>
inline void store(double (&out)[kSpringOutputs][N], int field, R v) {
  storeLanes(out[field], v);
}
template <int N, class R3>
inline void store3(double (&out)[kSpringOutputs][N], int field, const R3& v) {
  storeLanes(out[field], v.x);
  storeLanes(out[field + 1], v.y);
  storeLanes(out[field + 2], v.z);
}

// This step's errors into each stick's own fields: the position error with
// the frame's first double after it (rewritten with the frame), then the
// frame's rows.
template <int N, class R3>
inline void storeErrors(const SpringLane (&lanes)[N], const R3& d, const R3 (&E)[3]) {
  double* diff[N];
  double* orient[N];
  for (int i = 0; i < N; ++i) {
    diff[i] = lanes[i].prevDiff;
    orient[i] = lanes[i].prevOrient;
  }
  storeColumns(diff, 0, d.x, d.y, d.z, E[0].x);
  storeFrame(orient, 0, E);
}

// What an end's torque gains from a turn R and a pull F at lever arm q - p:
// (R.x + c.x, R.y - c.y, R.z + c.z) for c = cross(q - p, F).
template <class R3>
inline R3 torqueGain(const R3& R, const R3& q, const R3& p, const R3& F) {
  const R3 c = cross(sub(q, p), F);
  return {add(R.x, c.x), sub(R.y, c.y), add(R.z, c.z)};
}

// waterDrag for each lane's end at velocity v where `wet`: the part of v
// across the stick d = first - second (l2, its squared length rounded to a
// float as waterDrag rounds it), taken off the force F; a stick of almost no
// length feels none.
template <class L, class R = typename L::Reg, class R3 = typename L::Vec, class M = typename L::Mask>
inline R3 dragged(const R3& F, const R3& d, R l2, const R3& v, M wet) {
  const M drags = both(wet, atLeast(l2, L::all(static_cast<double>(WATER_DRAG_MIN_LENGTH2))));
  if (maskBits(drags) == 0) return F;
  const R q = quotient(dot(d, v), l2);
  const R3 across = sub(v, scale(d, q));
  const R3 slowed = sub(F, scale(across, L::all(WATER_DRAG)));
  return pick(F, slowed, drags);
}

template <class L>
inline void springLanes(const SpringLane (&lanes)[L::kCount], const SpringRules& rules,
                        double (&out)[kSpringOutputs][L::kCount]) {
  using R = typename L::Reg;
  using R3 = typename L::Vec;
  using M = typename L::Mask;
  const bool derivative = rules.derivative;
  const double* p[L::kCount];
  R3 firstFrame[3], secondFrame[3], stickFrame[3];
  gather(lanes, &SpringLane::firstFrame, p);
  loadFrame(p, 0, firstFrame);
  gather(lanes, &SpringLane::secondFrame, p);
  loadFrame(p, 0, secondFrame);
  gather(lanes, &SpringLane::stickFrame, p);
  loadFrame(p, 0, stickFrame);
  gather(lanes, &SpringLane::firstPos, p);
  const R3 firstPos = loadVec3<L>(p);
  gather(lanes, &SpringLane::secondPos, p);
  const R3 secondPos = loadVec3<L>(p);
  gather(lanes, &SpringLane::rest, p);
  const R3 rest = loadVec3<L>(p);

  R3 G[3];
  for (int i = 0; i < 3; ++i) G[i] = localToWorld(firstFrame, stickFrame[i]);
  const R3 t = add(firstPos, localToWorld(G, rest));
  const R3 d = sub(t, secondPos);
  R3 F = scale(d, L::all(SPRING_GAIN));
  R3 E[3];
  for (int i = 0; i < 3; ++i) E[i] = sub(secondFrame[i], G[i]);

  if (derivative) {
    const R gain = L::all(DERIVATIVE_GAIN);
    gather(lanes, &SpringLane::prevDiff, p);
    F = add(F, scale(sub(d, loadVec3<L>(p)), gain));
    R3 previous[3];
    gather(lanes, &SpringLane::prevOrient, p);
    loadFrame(p, 0, previous);
    storeErrors(lanes, d, E);
    for (int i = 0; i < 3; ++i) E[i] = add(E[i], scale(sub(E[i], previous[i]), gain));
  }

  const R3 turn = add(add(cross(G[0], E[0]), cross(G[1], E[1])), cross(G[2], E[2]));
  const R gain = L::all(ORIENTATION_GAIN), negativeGain = L::all(-ORIENTATION_GAIN);
  const R3 turned{mul(negativeGain, turn.x), mul(gain, turn.y), mul(negativeGain, turn.z)};
  store(out, kOutStrain, length(F));
  // Below the water level an end's share of the pull loses the drag of its
  // velocity; its torque gains from what is left.
  const R3 v = sub(firstPos, secondPos);
  const R water = L::all(rules.water);
  const M firstWet = less(firstPos.z, water), secondWet = less(secondPos.z, water);
  R3 firstForce = negate(F), secondForce = F;
  if (maskBits(either(firstWet, secondWet)) != 0) {
    const R3 firstVelocity = loadVec3At<L>(lanes, &SpringLane::firstPos, kEndVelocityAfterPosition);
    const R3 secondVelocity = loadVec3At<L>(lanes, &SpringLane::secondPos, kEndVelocityAfterPosition);
    const R l2 = roundedToFloat(dot(v, v));
    firstForce = dragged<L>(firstForce, v, l2, firstVelocity, firstWet);
    secondForce = dragged<L>(secondForce, v, l2, secondVelocity, secondWet);
  }
  store3(out, kOutFirstForce, firstForce);
  store3(out, kOutFirstTorque, torqueGain(negate(turned), t, firstPos, firstForce));
  store3(out, kOutSecondForce, secondForce);
  store3(out, kOutSecondTorque, torqueGain(turned, secondPos, secondPos, secondForce));

  // The joint loads: -dot(B.o.z, G.y), and l.y cos - l.z sin of the twist for
  // l, the second end's x axis in the stick's first-end frame.
  store(out, kOutBendX, negate(dot(secondFrame[2], G[1])));
  store(out, kOutBendZ, sub(mul(dot(G[1], secondFrame[0]), laneValues(lanes, &SpringLane::twistCos)),
                            mul(dot(G[2], secondFrame[0]), laneValues(lanes, &SpringLane::twistSin))));

  // (1 + |v.z| / |v|) sun asym factor for v from the second end to the first;
  // nothing for a stick of no length.
  const R size = length(v);
  const R share = add(L::all(1.0), quotient(magnitude(v.z), size));
  const R earned = mul(mul(mul(share, L::all(rules.sun)), laneValues(lanes, &SpringLane::assimilation)),
                       L::all(ASSIMILATION_FACTOR));
  store(out, kOutAssimilation, keepOnly(greater(size, L::all(0.0)), earned));
}

}  // namespace
}  // namespace vorlund

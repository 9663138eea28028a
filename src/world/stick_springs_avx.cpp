// Built with -mavx. No header with inline functions here but the lanes' own
// (see stick_springs_avx.h); the gains are constants only.
#include "world/stick_springs_avx.h"

#include "world/lane_math_avx.h"
#include "world/physics_constants.h"

namespace vorlund {

namespace {

inline V3 cross(const V3& a, const V3& b) {
  return {sub(mul(a.y, b.z), mul(a.z, b.y)), sub(mul(a.z, b.x), mul(a.x, b.z)), sub(mul(a.x, b.y), mul(a.y, b.x))};
}
// g.x * u.x + g.y * u.y + g.z * u.z for the rows of frame g.
inline V3 localToWorld(const V3 (&g)[3], const V3& u) {
  return add(add(scale(g[0], u.x), scale(g[1], u.y)), scale(g[2], u.z));
}

// Three doubles from each lane's address (a fourth is read and not used).
inline V3 loadVec3(const double* const (&p)[kSpringLanes]) {
  V c[4];
  loadColumns(p, 0, c);
  return {c[0], c[1], c[2]};
}

template <typename Field>
inline void gather(const SpringLane (&lanes)[kSpringLanes], Field field, const double* (&p)[kSpringLanes]) {
  for (int i = 0; i < kSpringLanes; ++i) p[i] = lanes[i].*field;
}

// Three doubles `offset` doubles after each lane's address.
inline V3 loadVec3At(const SpringLane (&lanes)[kSpringLanes], const double* SpringLane::*field, int offset) {
  const double* p[kSpringLanes];
  for (int i = 0; i < kSpringLanes; ++i) p[i] = lanes[i].*field + offset;
  return loadVec3(p);
}

inline void store(double (&out)[kSpringOutputs][kSpringLanes], int field, V v) { _mm256_storeu_pd(out[field], v); }
inline void store(double (&out)[kSpringOutputs][kSpringLanes], int field, const V3& v) {
  store(out, field, v.x);
  store(out, field + 1, v.y);
  store(out, field + 2, v.z);
}

// This step's errors into each stick's own fields: the position error with
// the frame's first double after it (rewritten with the frame), then the
// frame's rows.
inline void storeErrors(const SpringLane (&lanes)[kSpringLanes], const V3& d, const V3 (&E)[3]) {
  double* diff[kSpringLanes];
  double* orient[kSpringLanes];
  for (int i = 0; i < kSpringLanes; ++i) {
    diff[i] = lanes[i].prevDiff;
    orient[i] = lanes[i].prevOrient;
  }
  storeColumns(diff, 0, d.x, d.y, d.z, E[0].x);
  storeFrame(orient, 0, E);
}

// What an end's torque gains from a turn R and a pull F at lever arm q - p:
// (R.x + c.x, R.y - c.y, R.z + c.z) for c = cross(q - p, F).
inline V3 torqueGain(const V3& R, const V3& q, const V3& p, const V3& F) {
  const V3 c = cross(sub(q, p), F);
  return {add(R.x, c.x), sub(R.y, c.y), add(R.z, c.z)};
}

// The stick's squared length as waterDrag rounds it, to a float.
inline V dragLength2(const V3& d) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(dot(d, d))); }

// waterDrag for each lane's end at velocity v where `wet`: the part of v
// across the stick d = first - second (l2, its dragLength2), taken off the
// force F; a stick of almost no length feels none.
inline V3 dragged(const V3& F, const V3& d, V l2, const V3& v, V wet) {
  const V drags =
      _mm256_and_pd(wet, _mm256_cmp_pd(l2, all(static_cast<double>(WATER_DRAG_MIN_LENGTH2)), _CMP_GE_OQ));
  if (_mm256_movemask_pd(drags) == 0) return F;
  const V q = _mm256_div_pd(dot(d, v), l2);
  const V3 across = sub(v, scale(d, q));
  const V3 slowed = sub(F, scale(across, all(WATER_DRAG)));
  return {pick(F.x, slowed.x, drags), pick(F.y, slowed.y, drags), pick(F.z, slowed.z, drags)};
}

inline V laneValues(const SpringLane (&lanes)[kSpringLanes], double SpringLane::*field) {
  return _mm256_set_pd(lanes[3].*field, lanes[2].*field, lanes[1].*field, lanes[0].*field);
}

}  // namespace

void VORLUND_LANES(stickSprings)(const SpringLane (&lanes)[kSpringLanes], const SpringRules& rules,
                     double (&out)[kSpringOutputs][kSpringLanes]) {
  const bool derivative = rules.derivative;
  const double* p[kSpringLanes];
  V3 firstFrame[3], secondFrame[3], stickFrame[3];
  gather(lanes, &SpringLane::firstFrame, p);
  loadFrame(p, 0, firstFrame);
  gather(lanes, &SpringLane::secondFrame, p);
  loadFrame(p, 0, secondFrame);
  gather(lanes, &SpringLane::stickFrame, p);
  loadFrame(p, 0, stickFrame);
  gather(lanes, &SpringLane::firstPos, p);
  const V3 firstPos = loadVec3(p);
  gather(lanes, &SpringLane::secondPos, p);
  const V3 secondPos = loadVec3(p);
  gather(lanes, &SpringLane::rest, p);
  const V3 rest = loadVec3(p);

  V3 G[3];
  for (int i = 0; i < 3; ++i) G[i] = localToWorld(firstFrame, stickFrame[i]);
  const V3 t = add(firstPos, localToWorld(G, rest));
  const V3 d = sub(t, secondPos);
  V3 F = scale(d, all(SPRING_GAIN));
  V3 E[3];
  for (int i = 0; i < 3; ++i) E[i] = sub(secondFrame[i], G[i]);

  if (derivative) {
    const V gain = all(DERIVATIVE_GAIN);
    gather(lanes, &SpringLane::prevDiff, p);
    F = add(F, scale(sub(d, loadVec3(p)), gain));
    V3 previous[3];
    gather(lanes, &SpringLane::prevOrient, p);
    loadFrame(p, 0, previous);
    storeErrors(lanes, d, E);
    for (int i = 0; i < 3; ++i) E[i] = add(E[i], scale(sub(E[i], previous[i]), gain));
  }

  const V3 turn = add(add(cross(G[0], E[0]), cross(G[1], E[1])), cross(G[2], E[2]));
  const V gain = all(ORIENTATION_GAIN), negativeGain = all(-ORIENTATION_GAIN);
  const V3 R{mul(negativeGain, turn.x), mul(gain, turn.y), mul(negativeGain, turn.z)};
  store(out, kOutStrain, length(F));
  // Below the water level an end's share of the pull loses the drag of its
  // velocity; its torque gains from what is left.
  const V3 v = sub(firstPos, secondPos);
  const V water = all(rules.water);
  const V firstWet = less(firstPos.z, water), secondWet = less(secondPos.z, water);
  V3 firstForce = negate(F), secondForce = F;
  if (_mm256_movemask_pd(_mm256_or_pd(firstWet, secondWet)) != 0) {
    const V3 firstVelocity = loadVec3At(lanes, &SpringLane::firstPos, kEndVelocityAfterPosition);
    const V3 secondVelocity = loadVec3At(lanes, &SpringLane::secondPos, kEndVelocityAfterPosition);
    const V l2 = dragLength2(v);
    firstForce = dragged(firstForce, v, l2, firstVelocity, firstWet);
    secondForce = dragged(secondForce, v, l2, secondVelocity, secondWet);
  }
  store(out, kOutFirstForce, firstForce);
  store(out, kOutFirstTorque, torqueGain(negate(R), t, firstPos, firstForce));
  store(out, kOutSecondForce, secondForce);
  store(out, kOutSecondTorque, torqueGain(R, secondPos, secondPos, secondForce));

  // The joint loads: -dot(B.o.z, G.y), and l.y cos - l.z sin of the twist for
  // l, the second end's x axis in the stick's first-end frame.
  store(out, kOutBendX, negate(dot(secondFrame[2], G[1])));
  store(out, kOutBendZ, sub(mul(dot(G[1], secondFrame[0]), laneValues(lanes, &SpringLane::twistCos)),
                            mul(dot(G[2], secondFrame[0]), laneValues(lanes, &SpringLane::twistSin))));

  // (1 + |v.z| / |v|) sun asym factor for v from the second end to the first;
  // nothing for a stick of no length.
  const V size = length(v);
  const V share = add(all(1.0), _mm256_div_pd(_mm256_andnot_pd(all(-0.0), v.z), size));
  const V earned = mul(mul(mul(share, all(rules.sun)), laneValues(lanes, &SpringLane::assimilation)),
                       all(ASSIMILATION_FACTOR));
  store(out, kOutAssimilation, _mm256_and_pd(earned, _mm256_cmp_pd(size, _mm256_setzero_pd(), _CMP_GT_OQ)));
}

}  // namespace vorlund

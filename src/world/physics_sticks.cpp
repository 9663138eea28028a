// The stick springs of the physics step: each stick pulls its second end
// toward where the first end's frame and the joint angles put it, turns both
// ends toward the stick's orientation, measures the joint loads, feels water
// drag and block edges, and earns by assimilation.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "world/energy.h"
#include "world/life.h"
#include "world/physics_constants.h"
#include "world/step_lanes.h"
#include "world/step_trig.h"
#include "world/stick_springs_avx.h"

namespace vorlund {

namespace {

// The lanes read four doubles where a position, a rest vector or an error
// starts, and nine from a frame: the fields after them lie in the same element,
// and the error written four wide runs into the frame of errors written next.
static_assert(offsetof(ses, p) + 4 * sizeof(double) <= sizeof(ses));
static_assert(offsetof(ses, v) == offsetof(ses, p) + kEndVelocityAfterPosition * sizeof(double) &&
              offsetof(ses, v) + 4 * sizeof(double) <= sizeof(ses));
static_assert(offsetof(est, rest) + 4 * sizeof(double) <= sizeof(est));
static_assert(offsetof(est, prevOrient) == offsetof(est, prevDiff) + sizeof(Vec3));
static_assert(sizeof(Frame) == 9 * sizeof(double) && sizeof(Vec3) == 3 * sizeof(double));
// A group of stick lanes tells its sticks' cells apart in one call of the ground lanes.
static_assert(kGroundLanes == kSpringLanes);

// Adds force F acting at point q (and the turn R) to stick end S.
inline void apply(ses& S, const Vec3& q, const Vec3& F, const Vec3& R) {
  S.force += F;
  const Vec3 c = cross(q - S.p, F);
  S.torque += Vec3(R.x + c.x, R.y - c.y, R.z + c.z);
}

// Water resists the part of the end's velocity across the stick. Inlined,
// so that the force stays in registers: read back from memory right after
// its parts were written one by one, it waited on the store buffer.
[[gnu::always_inline]] inline void waterDrag(const est& k, const ses& S, Vec3& F) {
  const Vec3 d = k.e[0]->p - k.e[1]->p;
  const float l2 = static_cast<float>(d.length2());
  if (!(l2 >= WATER_DRAG_MIN_LENGTH2)) return;
  F -= WATER_DRAG * (S.v - d * (dot(d, S.v) / l2));
}

// What a stick's spring does to its ends in one step, before water drag.
struct SpringPull {
  Vec3 target;  // where the second end should be, world space
  Vec3 force;   // on the second end; the first end receives -force
  Vec3 turn;    // on the second end; the first end receives -turn
};

// The spring of one stick (both ends present): where the first end's frame
// and the joint put the second end, and the pull and turn the ends receive.
// Records the stick's strain and joint loads and, with `derivative` (the
// low-damping model), its errors of this step. It reads the ends and writes
// only the stick, so the lanes (stick_springs_avx.h) can work out four
// sticks before any end receives its pull.
SpringPull stickSpring(est& k, bool derivative, double twistCos, double twistSin) {
  const ses& A = *k.e[0];
  const ses& B = *k.e[1];
  Frame G;
  G.x = localToWorld(A.o, k.frame.x);
  G.y = localToWorld(A.o, k.frame.y);
  G.z = localToWorld(A.o, k.frame.z);

  const Vec3 t = A.p + localToWorld(G, k.rest);
  const Vec3 d = t - B.p;
  Vec3 F = SPRING_GAIN * d;
  Vec3 E[3] = {B.o.x - G.x, B.o.y - G.y, B.o.z - G.z};

  if (derivative) {
    F += DERIVATIVE_GAIN * (d - k.prevDiff);
    k.prevDiff = d;
    Vec3* previous[3] = {&k.prevOrient.x, &k.prevOrient.y, &k.prevOrient.z};
    for (int i = 0; i < 3; ++i) {
      const Vec3 q = *previous[i];
      *previous[i] = E[i];
      E[i] += DERIVATIVE_GAIN * (E[i] - q);
    }
  }

  const Vec3 turn = cross(G.x, E[0]) + cross(G.y, E[1]) + cross(G.z, E[2]);
  const Vec3 R(-ORIENTATION_GAIN * turn.x, ORIENTATION_GAIN * turn.y, -ORIENTATION_GAIN * turn.z);
  k.strain = F.length();

  const Vec3 l = worldToLocal(G, B.o.x);
  k.bend = Vec3(-dot(B.o.z, G.y), 0, l.y * twistCos - l.z * twistSin);
  return {t, F, R};
}

// The j-th of a stick's block samples (1 to BLOCK_SAMPLES) lies this share of
// the way from its first end a, along span = b - a.
inline double sampleShare(int j) { return j / (BLOCK_SAMPLES + 1.0); }
inline Vec3 blockSample(const Vec3& a, const Vec3& span, int j) { return a + sampleShare(j) * span; }

// The push of a block edge on the sample q that the ground puts at `corrected`.
inline void pushFromSample(ses& A, ses& B, double f, const Vec3& q, const Vec3& corrected) {
  const Vec3 u = BLOCK_PUSH * (corrected - q);
  // The end the sample is measured from receives f, not 1 - f.
  A.force += f * u;
  B.force += (1 - f) * u;
}

// The block samples of up to four sticks that cross from one cell to another,
// looked up four at a time. Nothing moves the ends in this phase, so they are
// all looked up before the pushes are added in stick order.
class StickSamples {
 public:
  // The samples of a stick from a to b, after those added before.
  void add(const Vec3& a, const Vec3& b) {
    const Vec3 span = b - a;
    for (int j = 1; j <= BLOCK_SAMPLES; ++j) set(p_, count_++, blockSample(a, span, j));
  }
  void lookUp(const world& ground) {
    if (count_ == 0) return;
    // A spare lane repeats the group's first point; its answer is never read.
    for (int n = count_; n % kGroundLanes != 0; ++n) set(p_, n, get(p_, n - n % kGroundLanes));
    for (int g = 0; g * kGroundLanes < count_; ++g)
      inside_ |= static_cast<uint64_t>(ground.insideGroundOfFour(p_[g], q_[g])) << (g * kGroundLanes);
  }
  // Adds the pushes of the next stick's samples to its ends.
  void push(ses& A, ses& B) {
    for (int j = 1; j <= BLOCK_SAMPLES; ++j, ++next_)
      if (inside_ >> next_ & 1) pushFromSample(A, B, sampleShare(j), get(p_, next_), get(q_, next_));
  }

 private:
  static constexpr int kGroups = kSpringLanes * BLOCK_SAMPLES / kGroundLanes;
  static_assert(kGroups * kGroundLanes == kSpringLanes * BLOCK_SAMPLES && kGroups * kGroundLanes <= 64);
  using Points = double[kGroups][3][kGroundLanes];
  static void set(Points& at, int n, const Vec3& v) {
    double(&lanes)[3][kGroundLanes] = at[n / kGroundLanes];
    lanes[0][n % kGroundLanes] = v.x;
    lanes[1][n % kGroundLanes] = v.y;
    lanes[2][n % kGroundLanes] = v.z;
  }
  static Vec3 get(const Points& at, int n) {
    const double(&lanes)[3][kGroundLanes] = at[n / kGroundLanes];
    return Vec3(lanes[0][n % kGroundLanes], lanes[1][n % kGroundLanes], lanes[2][n % kGroundLanes]);
  }
  Points p_;
  Points q_;
  uint64_t inside_ = 0;
  int count_ = 0;
  int next_ = 0;
};

}  // namespace

void Life::sticks(org& o, StickGroup& group) {
  const SimSettings& s = rules();
  const double water = world.waterLevel();
  const bool blocks = world.activeType() == WORLD_BLOCKS;
  const bool earns = !(o.flags & ORG_GROWING);
  const bool derivative = s.model == 1;
  // Block edges push the ends after the spring did, and the sticks earn, in
  // stick order; the lanes below do the same.
  const auto blocksAndEarning = [&](est& k, double earned) {
    ses& A = *k.e[0];
    ses& B = *k.e[1];
    if (blocks && !world.sameCell(A.p, B.p)) {
      const Vec3 span = B.p - A.p;
      for (int j = 1; j <= BLOCK_SAMPLES; ++j) {
        const Vec3 q = blockSample(A.p, span, j);
        Vec3 corrected;
        if (world.insideGround(q, corrected)) pushFromSample(A, B, sampleShare(j), q, corrected);
      }
    }
    if (earns) o.energy_p += earned;
  };

  if (stepLanes() == nullptr) {
    for (const auto& kp : o.l_est) {
      est& k = *kp;
      if (k.e[0] == nullptr || k.e[1] == nullptr) continue;
      double twistCos, twistSin;
      k.angleTrig[0].of(k.r.x, twistCos, twistSin);
      const SpringPull pull = stickSpring(k, derivative, twistCos, twistSin);
      ses& A = *k.e[0];
      ses& B = *k.e[1];
      Vec3 F = pull.force;
      Vec3 FA = -F;
      if (A.p.z < water) waterDrag(k, A, FA);
      if (B.p.z < water) waterDrag(k, B, F);
      apply(A, pull.target, FA, -pull.turn);
      apply(B, B.p, F, pull.turn);
      blocksAndEarning(k, earns ? assimilation(k, s.sun) : 0);
    }
    return;
  }

  // The sticks wait in the group, with those of the objects before, until
  // they fill the lanes.
  const int width = stepLanes()->stickSpringsEight != nullptr ? kWideSpringLanes : kSpringLanes;
  for (const auto& kp : o.l_est) {
    est& k = *kp;
    if (k.e[0] == nullptr || k.e[1] == nullptr) continue;
    const int i = group.count;
    SpringLane& lane = group.in[i];
    k.angleTrig[0].of(k.r.x, lane.twistCos, lane.twistSin);
    lane.firstFrame = &k.e[0]->o.x.x;
    lane.firstPos = &k.e[0]->p.x;
    lane.secondFrame = &k.e[1]->o.x.x;
    lane.secondPos = &k.e[1]->p.x;
    lane.stickFrame = &k.frame.x.x;
    lane.rest = &k.rest.x;
    lane.prevDiff = &k.prevDiff.x;
    lane.prevOrient = &k.prevOrient.x.x;
    lane.assimilation = k.asym;
    group.sticks[i] = &k;
    group.owners[i] = earns ? &o : nullptr;
    if (++group.count == width) flushSticks(group);
  }
}

void Life::flushSticks(StickGroup& group) {
  const int count = group.count;
  if (count == 0) return;
  group.count = 0;
  const SimSettings& s = rules();
  const double water = world.waterLevel();
  const SpringRules shared{s.model == 1, s.sun, water};
  // Four sticks or eight at a time, then their ends receive the pulls in
  // stick order. Out of water the lanes have worked out the torques too.
  if (count > kSpringLanes)
    runSpringLanes<kWideSpringLanes>(group, count, stepLanes()->stickSpringsEight, shared);
  else
    runSpringLanes<kSpringLanes>(group, count, stepLanes()->stickSprings, shared);
}

template <int Lanes>
void Life::runSpringLanes(StickGroup& group, int count, SpringKernel<Lanes> kernel, const SpringRules& rules) {
  // The group's first lanes; the spare ones repeat its first stick.
  SpringLane (&in)[Lanes] = *reinterpret_cast<SpringLane(*)[Lanes]>(&group.in);
  for (int i = count; i < Lanes; ++i) in[i] = in[0];
  alignas(64) double out[kSpringOutputs][Lanes];
  kernel(in, rules, out);
  for (int from = 0; from < count; from += kSpringLanes)
    applySpringPulls(group, from, std::min(count, from + kSpringLanes), out);
}

template <int Lanes>
void Life::applySpringPulls(const StickGroup& group, int from, int to, const double (&out)[kSpringOutputs][Lanes]) {
  // The block samples of these (at most four) sticks, looked up together.
  StickSamples samples;
  int crossing = 0;
  if (world.activeType() == WORLD_BLOCKS) {
    const double* first[kGroundLanes];
    const double* second[kGroundLanes];
    for (int i = 0; i < kGroundLanes; ++i) {
      // Past `to` a lane repeats the group's first stick; its answer is dropped.
      const SpringLane& lane = group.in[from + i < to ? from + i : 0];
      first[i] = lane.firstPos;
      second[i] = lane.secondPos;
    }
    crossing = world.otherCellsOfFour(first, second) & ((1 << (to - from)) - 1);
    for (int i = 0; i < to - from; ++i)
      if (crossing & 1 << i) samples.add(group.sticks[from + i]->e[0]->p, group.sticks[from + i]->e[1]->p);
    samples.lookUp(world);
  }
  for (int i = from; i < to; ++i) {
    est& k = *group.sticks[i];
    ses& A = *k.e[0];
    ses& B = *k.e[1];
    const auto vec = [&out, i](int field) { return Vec3(out[field][i], out[field + 1][i], out[field + 2][i]); };
    k.strain = out[kOutStrain][i];
    k.bend = Vec3(out[kOutBendX][i], 0, out[kOutBendZ][i]);
    A.force += vec(kOutFirstForce);
    A.torque += vec(kOutFirstTorque);
    B.force += vec(kOutSecondForce);
    B.torque += vec(kOutSecondTorque);
    if (crossing & 1 << (i - from)) samples.push(A, B);
    if (group.owners[i] != nullptr) group.owners[i]->energy_p += out[kOutAssimilation][i];
  }
}

}  // namespace vorlund

#include "world/muscle.h"

#include <algorithm>
#include <cmath>

#include "world/neuro_net.h"
#include "world/org.h"

namespace vorlund {

namespace {

// t when within s of f, else one step of s from f toward t.
double approach(double f, double t, double s) {
  if (std::fabs(t - f) <= s) return t;
  return t > f ? f + s : f - s;
}

// x when |x| <= s, else s with the sign of x (0 counts as negative).
double limit(double x, double s) {
  if (std::fabs(x) <= s) return x;
  return x > 0 ? s : -s;
}

}  // namespace

double muscleMove(neuro& n, double current, double target, double load, double lowest, double highest,
                  const SimSettings& settings) {
  const double lo = std::min(lowest, highest);
  const double hi = std::max(lowest, highest);
  const double power = n.place != nullptr ? n.place->ruch : 0;
  const double strength = MUSCLE_STRENGTH_RATE * power;
  n.overload &= static_cast<uint16_t>(~NEURO_OVERLOAD);

  double speed, force, goal;
  if (settings.oldneurons) {
    speed = MUSCLE_OLD_SPEED_RATE * power;
    force = MUSCLE_FORCE_FACTOR * load;
    goal = target;
  } else {
    if (!(strength > 0)) {
      // A muscle without power cannot move and cannot hold any load; the
      // proportional goal below would divide by its zero strength.
      if (load != 0) n.overload |= NEURO_OVERLOAD;
      n.muscleVel = 0;
      return std::clamp(current, lo, hi);
    }
    speed = std::min(MUSCLE_SPEED_RATE * power, MUSCLE_SPEED_CAP);
    force = MUSCLE_FORCE_FACTOR * limit(load, strength);
    const double a = approach(current, target, speed);
    // The load pushes the goal away from the target in proportion to the
    // share of the muscle's strength it takes.
    if (load >= 0) {
      goal = std::min(load * speed / strength + a, hi);
      if (load > strength) n.overload |= NEURO_OVERLOAD;
    } else {
      goal = std::max(load * speed / strength + a, lo);
      if (load < -strength) n.overload |= NEURO_OVERLOAD;
    }
  }

  n.muscleVel = approach(n.muscleVel, limit(goal - current, speed), MUSCLE_ACCELERATION);
  double next = current;
  if (goal > current && n.muscleVel > 0)
    next = std::min(current + n.muscleVel, goal);
  else if (goal < current && n.muscleVel < 0)
    next = std::max(current + n.muscleVel, goal);
  // Whatever the load and output were, the joint stays within its range.
  if (next < lo) next = lo;
  if (next > hi) next = hi;

  if (n.kto != nullptr) {
    const double staticWork = std::fabs(force) * settings.em_stat;
    const double dynamicWork =
        std::max(0.0, MUSCLE_DYNAMIC_FACTOR * (current - next) * force * settings.em_dyn);
    n.kto->energy_m += MUSCLE_WORK_SCALE * (staticWork + dynamicWork);
  }
  return next;
}

namespace {

// Moves the muscle of `n` one step; true when its stick's angles changed,
// so that the stick's frame must be rebuilt.
bool moveMuscle(neuro& n, const SimSettings& settings) {
  est* k = n.place;
  if (k == nullptr) return false;
  if (n.typster == NEURO_MUSCLE_ROTATE) {
    const double next = muscleMove(n, k->r.x, n.stan * NEURO_ANGLE_SCALE + k->r0.x, k->bend.x,
                                   k->r0.x - NEURO_ANGLE_SCALE, k->r0.x + NEURO_ANGLE_SCALE, settings);
    if (next == k->r.x) return false;
    k->r.x = next;
    return true;
  }
  if (n.typster == NEURO_MUSCLE_BEND) {
    const double range = k->zakz * NEURO_ANGLE_SCALE;
    const double target = k->zakz * n.stan * NEURO_ANGLE_SCALE + k->r0.z;
    const double next = muscleMove(n, k->r.z, target, k->bend.z, k->r0.z - range, k->r0.z + range, settings);
    if (next == k->r.z) return false;
    k->r.z = next;
    return true;
  }
  return false;
}

// The frames of the sticks one creature's muscles moved, rebuilt together
// once all its muscles have moved, the sines of every changed angle in one
// batch. No muscle reads a frame, and a frame depends on nothing but its
// stick's angles, so it ends as rebuilding it after each move would leave it.
class MovedJoints {
 public:
  void add(est& k) {
    for (int i = 0; i < count_; ++i)
      if (sticks_[i] == &k) return;  // bent and twisted: rebuilt once
    if (count_ == kGroup) rebuild();
    sticks_[count_++] = &k;
  }

  void rebuild() {
    int n = 0;
    for (int i = 0; i < count_; ++i) {
      const est& k = *sticks_[i];
      const double angles[3] = {k.r.x, k.r.y, k.r.z};
      for (int axis = 0; axis < 3; ++axis)
        if (!k.angleTrig[axis].holds(angles[axis])) {
          angles_[n] = angles[axis];
          slot_[n++] = 3 * i + axis;
        }
    }
    cosSinPadded(angles_, n, c_, s_);
    for (int j = 0; j < n; ++j) sticks_[slot_[j] / 3]->angleTrig[slot_[j] % 3] = CosSinMemo{angles_[j], c_[j], s_[j]};
    for (int i = 0; i < count_; ++i) {
      est& k = *sticks_[i];
      const CosSinMemo(&m)[3] = k.angleTrig;
      Frame f;
      turnFrame(f, m[0].c, m[0].s, m[1].c, m[1].s, m[2].c, m[2].s);
      k.frame = f;
    }
    count_ = 0;
  }

 private:
  static constexpr int kGroup = 8;
  static constexpr int kAngles = trigBatchRoom(3 * kGroup);
  est* sticks_[kGroup];
  double angles_[kAngles], c_[kAngles], s_[kAngles];
  int slot_[kAngles];
  int count_ = 0;
};

}  // namespace

void driveMuscle(neuro& n, const SimSettings& settings) {
  if (moveMuscle(n, settings)) n.place->frame = frameFromAnglesStep(n.place->r, n.place->angleTrig);
}

void driveMuscles(org& creature, const SimSettings& settings) {
  MovedJoints moved;
  for (const auto& n : creature.l_neu)
    if (moveMuscle(*n, settings)) moved.add(*n->place);
  moved.rebuild();
}

}  // namespace vorlund

// The neural network of a creature: the inputs its neurons sense, the state
// update of one network step and the muscles that neurons drive. The world
// reaches the network only through NeuroSurroundings, so the network does not
// depend on how the simulator keeps its world and object lists.
#pragma once

#include <algorithm>

#include "world/body.h"
#include "world/sim_settings.h"
#include "world/vec3.h"

namespace vorlund {

class org;

// Angle a muscle output of 1 turns a joint by (radians).
constexpr double NEURO_ANGLE_SCALE = 3.141;
// Bounds of a neuron's internal state.
constexpr double NEURO_STATE_LIMIT = 10.0;
// Below this the sigmoid is -1 without computing an exponential.
constexpr double NEURO_SIGMOID_CUTOFF = -30.0;
// Old state rule: gain of the output error and the share of the state kept.
constexpr double NEURO_OLD_GAIN = 0.2;
constexpr double NEURO_OLD_KEEP = 0.5;
// Smell is the sum of energy / distance^2 times this; distances below the
// minimum count as the minimum.
constexpr double NEURO_SMELL_SCALE = 0.01;
constexpr double NEURO_SMELL_MIN_DISTANCE = 1.0;
// Touch: a free end starts at this reading and each probe inside the ground adds the step.
constexpr double NEURO_TOUCH_FREE = -1.0;
constexpr double NEURO_TOUCH_STEP = 0.2;
constexpr int NEURO_TOUCH_PROBES = 4;

// What the network senses of the world around a creature. The simulator
// implements it over its world map and its two object lists.
class NeuroSurroundings {
 public:
  virtual ~NeuroSurroundings() = default;
  // Whether p lies inside the ground; `q` receives the corrected point.
  virtual bool insideGround(const Vec3& p, Vec3& q) const = 0;
  // Every object in the world (living creatures, then food), observed.
  virtual int objectCount() const = 0;
  virtual const org* object(int i) const = 0;
  // The smell at `at`: the sum over every object but `owner` that has energy
  // of its energy / squared distance, in object order and before scaling.
  // This walks `object`; a world may answer from a copy it keeps hot.
  virtual double smellSum(const Vec3& at, const org* owner) const;
};

// One object's term of the smell sum at `at`.
inline double smellTerm(const Vec3& center, double energy, const Vec3& at) {
  const double r = std::max((center - at).length(), NEURO_SMELL_MIN_DISTANCE);
  return energy / (r * r);
}

// The contribution of one input to its neuron's sum; stores the sensed value in `val`.
double inputValue(wej& input, const neuro& owner, const NeuroSurroundings& world);

// One network step of a creature: every neuron's new state from the current
// outputs, then every output from its new state.
void updateNetwork(org& creature, const NeuroSurroundings& world, const SimSettings& settings);

}  // namespace vorlund

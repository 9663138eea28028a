// The muscles neurons drive: a rotating muscle twists its stick about the
// stick's own axis, a bending muscle bends the joint at the stick's first end.
// Each step a muscle moves its angle toward the neuron's output, slowed by the
// load on the joint, and books its work as an energy cost of the owner.
#pragma once

#include "world/body.h"
#include "world/sim_settings.h"

namespace vorlund {

class org;

// A muscle's strength is this share of its stick's power.
constexpr double MUSCLE_STRENGTH_RATE = 0.1;
// Force of a muscle per unit of load it holds.
constexpr double MUSCLE_FORCE_FACTOR = 10.0;
// Top speed (radians per step): this share of the power, at most the cap.
constexpr double MUSCLE_SPEED_RATE = 0.32;
constexpr double MUSCLE_SPEED_CAP = 0.08;
// Old muscle rule: top speed is this share of the power.
constexpr double MUSCLE_OLD_SPEED_RATE = 0.08;
// The muscle's speed changes by at most this much per step.
constexpr double MUSCLE_ACCELERATION = 0.01;
// Dynamic work per unit of angle moved against the force.
constexpr double MUSCLE_DYNAMIC_FACTOR = 12.5;
// Work settings are given in 100 time steps.
constexpr double MUSCLE_WORK_SCALE = 0.01;

// Moves a joint angle one step: from `current` toward `target` against the
// load `load`, never beyond [lowest, highest]. Sets or clears the neuron's
// overload bit and adds the work to its owner's energy_m. Returns the new angle.
double muscleMove(neuro& n, double current, double target, double load, double lowest, double highest,
                  const SimSettings& settings);

// One muscle step of a neuron that controls a muscle (nothing for the others).
void driveMuscle(neuro& n, const SimSettings& settings);
// One muscle step of every neuron of a creature, in list order. The caller
// skips creatures that are growing or waiting to stand still.
void driveMuscles(org& creature, const SimSettings& settings);

}  // namespace vorlund

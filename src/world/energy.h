// The energy account and life cycle of one simulated object: growth to full
// size, idle metabolism with aging, the performance measurement and the
// assimilation of a stick. The physics step calls these at fixed points; the
// deaths that follow from them belong to the world (Life).
#pragma once

#include <cmath>

#include "world/body.h"
#include "world/org.h"
#include "world/physics_constants.h"
#include "world/sim_settings.h"

namespace vorlund {

// Metabolism and work settings are given per 100 time steps.
constexpr double ENERGY_PER_STEP_SCALE = 0.01;
// Idle metabolism doubles every 1000 x `aging` steps: ln 2 / 1000 per step.
constexpr double AGING_RATE = 0.0006931471806;
// Beyond this exponent the aging multiplier would overflow to infinity.
constexpr double AGING_EXPONENT_CAP = 700.0;
// A centre moving less than this per period stands still.
constexpr double STANDING_STILL = 0.01;
// `testvel` beyond this would shift the period out of an int.
constexpr int MEASURE_SHIFT_MAX = 30;

// One step of the growing phase: free energy, and the sticks scaled toward
// their full length. Clears ORG_GROWING once the starting energy is reached.
void growthStep(org& o, const SimSettings& s);

// Idle metabolism for the age before this step, then one step older.
void metabolismAndAge(org& o, const SimSettings& s);

// The measuring period in steps, 2^testvel.
int measurePeriod(const SimSettings& s);

// The performance measurement right after the age step. Returns true when the
// age is a multiple of the period (the period part ran).
bool measurePerformance(org& o, const SimSettings& s);

// What a stick earns by assimilation in one step: a vertical stick twice what
// a level one does. A stick of no length has no direction and earns nothing.
// Inline: the stick loop of every step calls it, and its square root and
// division overlap with the next stick's work only when the compiler sees them.
inline double assimilation(const est& k, double sun) {
  if (k.e[0] == nullptr || k.e[1] == nullptr) return 0;
  const Vec3 v = k.e[0]->p - k.e[1]->p;
  const double len = v.length();
  if (!(len > 0)) return 0;
  return (1.0 + std::fabs(v.z) / len) * sun * k.asym * ASSIMILATION_FACTOR;
}

// The balance of the step, booked into the energy. Inline: the motion phase
// books every object, an energy ball included.
inline void bookBalance(org& o) {
  o.energy_b = o.energy_p - o.energy_m;
  o.energy += o.energy_b;
}

}  // namespace vorlund

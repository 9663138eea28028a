#include "world/energy.h"

#include <algorithm>
#include <cmath>

namespace vorlund {

void growthStep(org& o, const SimSettings& s) {
  o.energy += s.grow;
  o.grownEnergy += s.grow;
  if (o.grownEnergy >= o.startEnergy) {
    o.grownEnergy = o.startEnergy;
    o.flags &= static_cast<uint16_t>(~ORG_GROWING);
    o.prevCenter = o.center;
  }
  // With no starting energy (Energy0 of 0) there is nothing to grow toward:
  // the sticks are full length rather than 0/0.
  const double share = o.startEnergy > 0 ? o.grownEnergy / o.startEnergy : 1.0;
  for (const auto& k : o.l_est) k->rest = k->rest0 * share;
}

void metabolismAndAge(org& o, const SimSettings& s) {
  double rate = 1.0;
  if (s.aging != 0) {
    const double exponent = o.lifespan * AGING_RATE / s.aging;
    rate = std::exp(std::min(exponent, AGING_EXPONENT_CAP));
  }
  const int sticks = o.estCount() > 0 ? o.estCount() : 1;
  o.energy_m += rate * sticks * s.e_meta * ENERGY_PER_STEP_SCALE;
  o.wiek += 1;
  o.lifespan = o.wiek;
}

int measurePeriod(const SimSettings& s) { return 1 << std::clamp(s.testvel, 0, MEASURE_SHIFT_MAX); }

bool measurePerformance(org& o, const SimSettings& s) {
  if (o.flags & ORG_STATS) {
    o.sumZ += o.center.z;
    o.vertpos = o.sumZ / o.wiek;
  }
  const int period = measurePeriod(s);
  // A power of two: the age is a multiple of it when its low bits are clear
  // (for a negative age as well), which takes no division.
  if ((o.wiek & (period - 1)) != 0) return false;
  const Vec3 d = o.center - o.prevCenter;
  if (o.flags & ORG_STATS) {
    const double horizontal = std::hypot(d.x, d.y);
    o.drogawiek += period;
    o.distance += horizontal;
    o.velocity = o.distance / o.drogawiek;
    // Only whole units count: small vertical jitter is no vertical movement.
    const double vertical = std::fabs(std::trunc(d.z));
    o.sumVZ += vertical;
    o.vertvel = o.sumVZ / o.drogawiek;
    o.c_velocity = horizontal / period;
    o.lastVZ = std::floor(vertical / period);
  } else if (o.flags & ORG_WAITSTILL) {
    if (d.length() < STANDING_STILL) {
      o.flags |= ORG_STATS;
      o.flags &= static_cast<uint16_t>(~ORG_WAITSTILL);
    }
  } else if (d.z >= 0) {
    o.flags |= ORG_STATS;
  }
  o.prevCenter = o.center;
  return true;
}

}  // namespace vorlund

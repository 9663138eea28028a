// The motion of the physics step: ground contact with static and sliding
// friction, gravity and buoyancy, then every stick end moves by its damped
// velocity and turns by its spin; finally the object's energy balance.
#include <algorithm>

#include "world/energy.h"
#include "world/life.h"
#include "world/physical_ranges.h"
#include "world/physics_constants.h"
#include "world/step_trig.h"

namespace vorlund {

void Life::motion(org& o, std::vector<TouchEvent>& touched) {
  const bool lowDamping = rules().model == 1;
  const double water = world.waterLevel();
  // No end's motion reads another end's frame, so the turns can wait for a
  // group's sines to come in one batch.
  FrameTurns turns;
  for (const auto& sp : o.l_ses) {
    ses& S = *sp;
    Vec3 P;
    Vec3 q;
    if (world.insideGround(S.p, q)) {
      P = GROUND_PUSH * (q - S.p);
      if (S.contact) {
        const Vec3 h = S.anchor - q;
        const double limit = FRICTION_LIMIT_FACTOR * S.tarcie * P.length();
        const double held = h.length();
        if (held > limit) {
          // Too much to hold: the end slides and drags its anchor along.
          const double c = limit / held;
          P += 0.5 * c * h;
          S.anchor = c * S.anchor + (1 - c) * q;
          S.state |= SES_SLIDING;
        } else {
          P += h;
          S.state &= static_cast<uint16_t>(~SES_SLIDING);
        }
        if (lowDamping) S.v *= GROUND_VELOCITY_KEEP;
      } else {
        // The first touch only records where the end landed.
        if (!touchHooks.empty()) touched.push_back({&o, &S});
        S.contact = 1;
        S.anchor = q;
      }
    } else {
      S.contact = 0;
    }
    const double mass = S.m > 0 ? S.m : FALLBACK_MASS;
    P.z -= GRAVITY * mass;
    if (S.p.z < water) {
      P.z += BUOYANCY * S.buoy;
      S.state |= SES_INWATER;
    } else {
      S.state &= static_cast<uint16_t>(~SES_INWATER);
    }
    S.force += P;
    S.v += S.force / mass;
    S.spin += S.torque / mass;
    S.v *= damp;
    S.spin *= damp;
    // Sticks pulling on a light end can make the explicit step overshoot more
    // at every step; no real motion comes near the checker's velocity range,
    // and holding to it keeps such a body finite.
    S.v = Vec3(std::clamp(S.v.x, -kVelocityLimit, kVelocityLimit), std::clamp(S.v.y, -kVelocityLimit, kVelocityLimit),
               std::clamp(S.v.z, -kVelocityLimit, kVelocityLimit));
    S.p += S.v;
    if (!turns.add(S.o, S.spin)) turns.apply();
  }
  turns.apply();
  bookBalance(o);
}

}  // namespace vorlund

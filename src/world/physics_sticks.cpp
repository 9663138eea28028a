// The stick springs of the physics step: each stick pulls its second end
// toward where the first end's frame and the joint angles put it, turns both
// ends toward the stick's orientation, measures the joint loads, feels water
// drag and block edges, and earns by assimilation.
#include <cmath>

#include "world/energy.h"
#include "world/life.h"
#include "world/physics_constants.h"

namespace vorlund {

namespace {

// Adds force F acting at point q (and the turn R) to stick end S.
inline void apply(ses& S, const Vec3& q, const Vec3& F, const Vec3& R) {
  S.force += F;
  const Vec3 c = cross(q - S.p, F);
  S.torque += Vec3(R.x + c.x, R.y - c.y, R.z + c.z);
}

// Water resists the part of the end's velocity across the stick.
void waterDrag(const est& k, const ses& S, Vec3& F) {
  const Vec3 d = k.e[0]->p - k.e[1]->p;
  const float l2 = static_cast<float>(d.length2());
  if (!(l2 >= WATER_DRAG_MIN_LENGTH2)) return;
  F -= WATER_DRAG * (S.v - d * (dot(d, S.v) / l2));
}

}  // namespace

void Life::sticks(org& o) {
  const SimSettings& s = rules();
  const double water = world.waterLevel();
  const bool blocks = world.activeType() == WORLD_BLOCKS;
  const bool earns = !(o.flags & ORG_GROWING);
  for (const auto& kp : o.l_est) {
    est& k = *kp;
    if (k.e[0] == nullptr || k.e[1] == nullptr) continue;
    ses& A = *k.e[0];
    ses& B = *k.e[1];

    Frame G;
    G.x = localToWorld(A.o, k.frame.x);
    G.y = localToWorld(A.o, k.frame.y);
    G.z = localToWorld(A.o, k.frame.z);

    const Vec3 t = A.p + localToWorld(G, k.rest);
    const Vec3 d = t - B.p;
    Vec3 F = SPRING_GAIN * d;
    Vec3 E[3] = {B.o.x - G.x, B.o.y - G.y, B.o.z - G.z};

    if (s.model == 1) {
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
    double twistCos, twistSin;
    k.angleTrig[0].of(k.r.x, twistCos, twistSin);
    k.bend = Vec3(-dot(B.o.z, G.y), 0, l.y * twistCos - l.z * twistSin);

    Vec3 FA = -F;
    const Vec3 RA = -R;
    if (A.p.z < water) waterDrag(k, A, FA);
    if (B.p.z < water) waterDrag(k, B, F);
    apply(A, t, FA, RA);
    apply(B, B.p, F, R);

    if (blocks && !world.sameCell(A.p, B.p)) {
      const Vec3 span = B.p - A.p;
      for (int j = 1; j <= BLOCK_SAMPLES; ++j) {
        const double f = j / (BLOCK_SAMPLES + 1.0);
        const Vec3 q = A.p + f * span;
        Vec3 corrected;
        if (!world.insideGround(q, corrected)) continue;
        const Vec3 u = BLOCK_PUSH * (corrected - q);
        // The end the sample is measured from receives f, not 1 - f.
        A.force += f * u;
        B.force += (1 - f) * u;
      }
    }

    if (earns) o.energy_p += assimilation(k, s.sun);
  }
}

}  // namespace vorlund

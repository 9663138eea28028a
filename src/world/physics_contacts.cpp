// The contact phase of the physics step: stick ends of different objects
// whose boxes overlap eat (a creature from food or from a growing creature),
// break sticks out of each other (destructive collisions) or push apart.
// Pairs go in the order (i, j), i < j, of the two-list view, since who eats
// first and who breaks whom depend on it; a broken stick starts the phase again.
#include <algorithm>

#include "world/life.h"
#include "world/physics_constants.h"

namespace vorlund {

namespace {

// Kinds of contact between two objects.
constexpr int CONTACT_DESTRUCTIVE = 0;  // two full-grown creatures, destructive collisions on
constexpr int CONTACT_EATING = 1;       // exactly one side is food or growing
constexpr int CONTACT_PUSH = 2;         // anything else

// A growing creature counts as food.
int sideKind(const org& o) { return (o.flags & ORG_GROWING) ? ORG_FOOD : o.typ; }

// Squared distances above this are beyond EAT_RANGE whatever the rounding of
// the square root, so such pairs of ends skip it; the rest take the exact test.
constexpr double EAT_RANGE2_CLEAR = EAT_RANGE * EAT_RANGE * (1 + 1e-9);

// The stick that suffers when end `s` of `o` is hit.
est* hitStick(const org& o, const ses& s) { return s.owner != nullptr ? s.owner : o.getEst(0); }

}  // namespace

void Life::contacts() {
  bool again = true;
  while (again) {
    again = false;
    // The force phase copied every object; after a broken stick (or any
    // other change since the layout) this thread copies them afresh.
    if (!snapshot_.fits(all)) {
      snapshot_.layout(all);
      for (int i = 0; i < all.size(); ++i) snapshot_.copyShape(i, *all.get(i));
    }
    // Handling a pair moves no end; only a broken stick changes the objects, and it starts over.
    contactBroadPhase_.find(snapshot_.boxes());
    for (const ContactPair& pair : contactBroadPhase_.pairs())
      if (contactPair(pair.first, pair.second)) {
        again = true;
        break;
      }
  }
}

bool Life::contactPair(int i, int j) {
  org& oi = *all.get(i);
  org& oj = *all.get(j);
  const int tA = sideKind(oi), tB = sideKind(oj);
  int kind = tA + tB;
  if (kind != CONTACT_EATING && !rules().descol) kind = CONTACT_PUSH;
  const Vec3* const pi = snapshot_.positions(i);
  const Vec3* const pj = snapshot_.positions(j);
  const int ni = oi.sesCount(), nj = oj.sesCount();
  for (int ia = 0; ia < ni; ++ia) {
    for (int jb = 0; jb < nj; ++jb) {
      // The packed copies hold the same bits as the ends' own positions.
      const Vec3& ap = pi[ia];
      const Vec3& bp = pj[jb];
      const Vec3 dv = ap - bp;
      if (dv.length2() > EAT_RANGE2_CLEAR) continue;
      const double dist = dv.length();
      if (dist > EAT_RANGE) continue;
      ses& a = *oi.getSes(ia);
      ses& b = *oj.getSes(jb);

      if (kind == CONTACT_EATING) {
        const bool aEats = tA == ORG_CREATURE;
        ses& eater = aEats ? a : b;
        if (eater.state & SES_ATE) continue;
        // Food whose energy is already used up gives nothing (rather than
        // taking from the eater).
        const org& meal = aEats ? oj : oi;
        const double amount = std::min(std::max(meal.energy, 0.0), eater.wchl * eater.wchl);
        eater.state |= SES_ATE;
        eater.foodPos = aEats ? bp : ap;
        const double signedAmount = aEats ? amount : -amount;
        oi.energy_p += signedAmount;
        oj.energy_m += signedAmount;
        continue;
      }

      if (dist > PUSH_RANGE) continue;

      if (kind == CONTACT_DESTRUCTIVE) {
        est* ka = hitStick(oi, a);
        est* kb = hitStick(oj, b);
        // Both exist only when both objects have sticks, so the energy per
        // stick below never divides by zero.
        if (ka != nullptr && kb != nullptr) {
          const double va = a.v.length(), vb = b.v.length();
          const double ea = oi.energy / oi.estCount(), eb = oj.energy / oj.estCount();
          if (va > vb && eb * kb->odpor < ea * ka->odpor) {
            if (breakStick(oi, oj, kb)) return true;
          } else if (vb > va && ea * ka->odpor < eb * kb->odpor) {
            if (breakStick(oj, oi, ka)) return true;
          }
        }
      }

      Vec3 u;
      if (dist > CLOSE_RANGE) {
        u = dv * ((1 - dist) * PUSH_GAIN / (dist * dist));
      } else {
        u.x = ap.x > bp.x ? CLOSE_PUSH : -CLOSE_PUSH;
        u.y = ap.y > bp.y ? CLOSE_PUSH : -CLOSE_PUSH;
        u.z = ap.z > bp.z ? CLOSE_PUSH : -CLOSE_PUSH;
      }
      a.force += u;
      b.force -= u;
    }
  }
  return false;
}

}  // namespace vorlund

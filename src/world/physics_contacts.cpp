// The contact phase of the physics step: stick ends of different objects
// whose boxes overlap eat (a creature from food or from a growing creature),
// break sticks out of each other (destructive collisions) or push apart.
// The ends within reach are measured over the workers, pair by pair; what
// they do then goes in the order (i, j), i < j, of the two-list view on this
// thread, since who eats first and who breaks whom depend on it; a broken
// stick starts the phase again.
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

// Appends the ends of objects i and j of the snapshot that lie within
// eating range, in the order (end of i, end of j).
void scanPair(const StepSnapshot& snapshot, int pairIndex, const ContactPair& pair, std::vector<EndContact>& out) {
  const Vec3* const pi = snapshot.positions(pair.first);
  const Vec3* const pj = snapshot.positions(pair.second);
  const int ni = snapshot.endCount(pair.first), nj = snapshot.endCount(pair.second);
  for (int ia = 0; ia < ni; ++ia) {
    for (int jb = 0; jb < nj; ++jb) {
      const Vec3 dv = pi[ia] - pj[jb];
      if (dv.length2() > EAT_RANGE2_CLEAR) continue;
      const double dist = dv.length();
      if (dist > EAT_RANGE) continue;
      out.push_back({pairIndex, ia, jb, dv, dist});
    }
  }
}

}  // namespace

void Life::contacts() {
  bool again = true;
  while (again) {
    // The force phase copied every object; after a broken stick (or any
    // other change since the layout) this thread copies them afresh.
    if (!snapshot_.fits(all)) {
      snapshot_.layout(all);
      for (int i = 0; i < all.size(); ++i) snapshot_.copyShape(i, *all.get(i));
    }
    // Handling a pair moves no end, so every end pair can be measured first;
    // only a broken stick changes the objects, and it starts over.
    contactBroadPhase_.find(snapshot_.boxes());
    findEndContacts(contactBroadPhase_.pairs());
    again = applyEndContacts(contactBroadPhase_.pairs());
  }
}

void Life::findEndContacts(std::span<const ContactPair> pairs) {
  for (auto& found : endContacts_) found.clear();
  const int count = static_cast<int>(pairs.size());
  if (!workers_ || stepWork_ < minWorkToShare) {
    for (int p = 0; p < count; ++p) scanPair(snapshot_, p, pairs[static_cast<std::size_t>(p)], endContacts_[0]);
    return;
  }
  struct Context {
    const StepSnapshot* snapshot;
    std::span<const ContactPair> pairs;
    std::vector<std::vector<EndContact>>* found;
  } context{&snapshot_, pairs, &endContacts_};
  // A pair costs about the product of its two objects' ends.
  const StepPartition ranges = partitionByWeight(count, workers_->threads(), [&](int p) {
    const ContactPair& pair = pairs[static_cast<std::size_t>(p)];
    return 1 + snapshot_.endCount(pair.first) * snapshot_.endCount(pair.second);
  });
  workers_->run(
      ranges,
      [](void* c, int part, int begin, int end) {
        const Context& ctx = *static_cast<const Context*>(c);
        std::vector<EndContact>& out = (*ctx.found)[static_cast<std::size_t>(part)];
        for (int p = begin; p < end; ++p) scanPair(*ctx.snapshot, p, ctx.pairs[static_cast<std::size_t>(p)], out);
      },
      &context);
}

bool Life::applyEndContacts(std::span<const ContactPair> pairs) {
  org* oi = nullptr;
  org* oj = nullptr;
  int tA = 0, kind = CONTACT_PUSH, current = -1;
  // The ranges follow the pair order, and so do the contacts within each.
  for (const auto& found : endContacts_) {
    for (const EndContact& c : found) {
      if (c.pair != current) {
        current = c.pair;
        const ContactPair& pair = pairs[static_cast<std::size_t>(current)];
        oi = all.get(pair.first);
        oj = all.get(pair.second);
        tA = sideKind(*oi);
        kind = tA + sideKind(*oj);
        if (kind != CONTACT_EATING && !rules().descol) kind = CONTACT_PUSH;
      }
      // The packed copies hold the same bits as the ends' own positions.
      const Vec3& ap = snapshot_.positions(pairs[static_cast<std::size_t>(current)].first)[c.a];
      const Vec3& bp = snapshot_.positions(pairs[static_cast<std::size_t>(current)].second)[c.b];
      ses& a = *oi->getSes(c.a);
      ses& b = *oj->getSes(c.b);

      if (kind == CONTACT_EATING) {
        const bool aEats = tA == ORG_CREATURE;
        ses& eater = aEats ? a : b;
        if (eater.state & SES_ATE) continue;
        // Food whose energy is already used up gives nothing (rather than
        // taking from the eater).
        const org& meal = aEats ? *oj : *oi;
        const double amount = std::min(std::max(meal.energy, 0.0), eater.wchl * eater.wchl);
        eater.state |= SES_ATE;
        eater.foodPos = aEats ? bp : ap;
        const double signedAmount = aEats ? amount : -amount;
        oi->energy_p += signedAmount;
        oj->energy_m += signedAmount;
        continue;
      }

      const double dist = c.dist;
      if (dist > PUSH_RANGE) continue;

      if (kind == CONTACT_DESTRUCTIVE) {
        est* ka = hitStick(*oi, a);
        est* kb = hitStick(*oj, b);
        // Both exist only when both objects have sticks, so the energy per
        // stick below never divides by zero.
        if (ka != nullptr && kb != nullptr) {
          const double va = a.v.length(), vb = b.v.length();
          const double ea = oi->energy / oi->estCount(), eb = oj->energy / oj->estCount();
          if (va > vb && eb * kb->odpor < ea * ka->odpor) {
            if (breakStick(*oi, *oj, kb)) return true;
          } else if (vb > va && ea * ka->odpor < eb * kb->odpor) {
            if (breakStick(*oj, *oi, ka)) return true;
          }
        }
      }

      Vec3 u;
      if (dist > CLOSE_RANGE) {
        u = c.dv * ((1 - dist) * PUSH_GAIN / (dist * dist));
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

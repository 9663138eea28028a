// The contact phase of the physics step: stick ends of different objects
// whose boxes overlap eat (a creature from food or from a growing creature),
// break sticks out of each other (destructive collisions) or push apart.
// The ends within reach are measured over the workers, pair by pair; what
// they do then goes in the order (i, j), i < j, of the two-list view, since
// who eats first and who breaks whom depend on it: on this thread, or, in a
// shared step without breaks, on every range for its own objects. A broken
// stick starts the phase again.
#include <algorithm>

#include "world/end_pairs_avx.h"
#include "world/life.h"
#include "world/pair_order.h"
#include "world/physics_constants.h"
#include "world/step_lanes.h"

namespace vorlund {

namespace {

// Kinds of contact between two objects.
constexpr int CONTACT_DESTRUCTIVE = 0;  // two full-grown creatures, destructive collisions on
constexpr int CONTACT_EATING = 1;       // exactly one side is food or growing
constexpr int CONTACT_PUSH = 2;         // anything else

// Squared distances above this are beyond EAT_RANGE whatever the rounding of
// the square root, so such pairs of ends skip it; the rest take the exact test.
constexpr double EAT_RANGE2_CLEAR = EAT_RANGE * EAT_RANGE * (1 + 1e-9);
// End pairs within reach the lanes hand over per pair of objects; more (two
// bodies heaped on each other) are measured one by one.
constexpr int kNearPairsRoom = 256;

// The push on end a of contact `c` (b takes the opposite), a and b at `ap`
// and `bp`, within PUSH_RANGE.
Vec3 pushOf(const EndContact& c, const Vec3& ap, const Vec3& bp) {
  const double dist = c.dist;
  if (dist > CLOSE_RANGE) return c.dv * ((1 - dist) * PUSH_GAIN / (dist * dist));
  return Vec3(ap.x > bp.x ? CLOSE_PUSH : -CLOSE_PUSH, ap.y > bp.y ? CLOSE_PUSH : -CLOSE_PUSH,
              ap.z > bp.z ? CLOSE_PUSH : -CLOSE_PUSH);
}

// The pairs every range of the sweep found, all in `ordered`, in the order
// (first, second) over `count` objects; `scratch` and `buckets` are kept by
// the caller (see orderByPair).
void orderPairs(const std::vector<RangeList<TouchingPair>>& found, int count, std::vector<TouchingPair>& ordered,
                std::vector<TouchingPair>& scratch, std::vector<std::size_t>& buckets) {
  ordered.clear();
  for (const auto& range : found) ordered.insert(ordered.end(), range.begin(), range.end());
  orderByPair(ordered, scratch, buckets, count);
}

// The stick that suffers when end `s` of `o` is hit.
est* hitStick(const org& o, const ses& s) { return s.owner != nullptr ? s.owner : o.getEst(0); }

// Appends the ends of objects i < j of the snapshot that lie within eating
// range to `ends`, in the order (end of i, end of j), and the pair to
// `touching` when it has any.
void scanPair(const StepSnapshot& snapshot, int i, int j, int part, std::vector<EndContact>& ends,
              std::vector<TouchingPair>& touching) {
  const Vec3* const pi = snapshot.positions(i);
  const Vec3* const pj = snapshot.positions(j);
  const int ni = snapshot.endCount(i), nj = snapshot.endCount(j);
  const int begin = static_cast<int>(ends.size());
  const auto measure = [&](int ia, int jb) {
    const Vec3 dv = pi[ia] - pj[jb];
    const double dist = dv.length();
    if (dist > EAT_RANGE) return;
    ends.push_back({ia, jb, dv, dist});
  };
  // Four pairs at a time find the few within reach. A single end of the
  // second object (a ball, as in most pairs) gains nothing from them: laying
  // out the first object's ends for the lanes costs more than they save.
  int near[kNearPairsRoom];
  const StepLanes* const lanes = nj > 1 ? stepLanes() : nullptr;
  const int found =
      lanes != nullptr ? lanes->nearEndPairs(&pi[0].x, ni, &pj[0].x, nj, EAT_RANGE2_CLEAR, near, kNearPairsRoom) : -1;
  if (found >= 0) {
    for (int n = 0; n < found; ++n) measure(near[n] / nj, near[n] % nj);
  } else {
    for (int ia = 0; ia < ni; ++ia)
      for (int jb = 0; jb < nj; ++jb)
        if (!((pi[ia] - pj[jb]).length2() > EAT_RANGE2_CLEAR)) measure(ia, jb);
  }
  const int end = static_cast<int>(ends.size());
  if (end != begin) touching.push_back({i, j, part, begin, end});
}

}  // namespace

bool Life::contacts(bool mayDefer) {
  // The force phase copied every object; when one no longer fitted the
  // layout, or after a broken stick changed the ends, this thread copies
  // them afresh.
  bool copied = snapshot_.copiedAll(all);
  for (;;) {
    if (!copied) {
      snapshot_.layout(all);
      for (int i = 0; i < all.size(); ++i) snapshot_.copyShape(i, *all.get(i));
    }
    // Handling a pair moves no end, so every end pair can be measured first;
    // only a broken stick changes the objects, and it starts over.
    findEndContacts();
    // Eating and pushing change only the two objects of a pair: the
    // motion phase's ranges may apply them, each to its own objects.
    if (mayDefer) return true;
    orderEndContacts();
    if (!applyEndContacts()) return false;
    copied = snapshot_.fits(all);
  }
}

void Life::findEndContacts() {
  for (auto& found : endContacts_) found.clear();
  for (auto& found : touching_) found.clear();
  const std::span<const WorldBox> boxes = snapshot_.boxes();
  const auto scan = [this](int part, int i, int j) {
    const std::size_t p = static_cast<std::size_t>(part);
    scanPair(snapshot_, i, j, part, endContacts_[p], touching_[p]);
  };
  if (!sharesStep()) {
    if (!contactBroadPhase_.sort(boxes, snapshot_.owners())) {
      scanAllPairs(boxes);
      return;
    }
    contactBroadPhase_.sweep(0, contactBroadPhase_.sortedCount(), [&scan](int i, int j) { scan(0, i, j); });
    return;
  }
  // Each range sorts all boxes in a broad phase of its own, then sweeps its
  // share of them. It first asks for the end positions its pairs compare,
  // which the force phase copied on every core: they come in during the sort.
  PhaseBalance& balance = balances_[static_cast<std::size_t>(StepPhase::Contacts)];
  const StepPartition& ranges = balance.ranges(static_cast<int>(boxes.size()), workers_->threads(), [](int) { return 1; });
  auto sortAndSweep = [&](int part, int begin, int end) {
    ContactBroadPhase& own = rangeBroadPhases_[static_cast<std::size_t>(part)];
    snapshot_.prefetchPositions();
    if (!own.sort(boxes, snapshot_.owners())) {
      if (part == 0) scanAllPairs(boxes);  // every range's sort fails alike
      return;
    }
    own.sweep(begin, std::min(end, own.sortedCount()), [&scan, part](int i, int j) { scan(part, i, j); });
  };
  workers_->run(
      ranges, [](void* c, int part, int begin, int end) { (*static_cast<decltype(sortAndSweep)*>(c))(part, begin, end); },
      &sortAndSweep);
  balance.adjust(workers_->lastTimes());
}

void Life::scanAllPairs(std::span<const WorldBox> boxes) {
  // A box that is not a number: the broad phase tests every pair.
  contactBroadPhase_.find(boxes);
  for (const ContactPair& pair : contactBroadPhase_.pairs())
    scanPair(snapshot_, pair.first, pair.second, 0, endContacts_[0], touching_[0]);
}

void Life::orderEndContacts() {
  // Who eats first and who breaks whom follow the pair order, whichever
  // range found a pair; pairs are distinct, so the order is the same for any
  // split of the sweep.
  orderPairs(touching_, all.size(), touchingOrdered_, touchingScratch_, touchingBuckets_);
}

bool Life::applyEndContacts() {
  for (const TouchingPair& pair : touchingOrdered_) {
    org* const oi = all.get(pair.first);
    org* const oj = all.get(pair.second);
    const int tA = contactSide(*oi);
    int kind = tA + contactSide(*oj);
    if (kind != CONTACT_EATING && !rules().descol) kind = CONTACT_PUSH;
    const Vec3* const pi = snapshot_.positions(pair.first);
    const Vec3* const pj = snapshot_.positions(pair.second);
    const std::vector<EndContact>& found = endContacts_[static_cast<std::size_t>(pair.part)];
    for (int k = pair.begin; k < pair.end; ++k) {
      const EndContact& c = found[static_cast<std::size_t>(k)];
      // The packed copies hold the same bits as the ends' own positions.
      const Vec3& ap = pi[c.a];
      const Vec3& bp = pj[c.b];
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

      const Vec3 u = pushOf(c, ap, bp);
      a.force += u;
      b.force -= u;
    }
  }
  return false;
}

void Life::applyOwnEndContacts(const RangeStretches& own, RangeContacts& mine) {
  // Every range puts all pairs in order itself rather than waiting for one.
  orderPairs(touching_, all.size(), mine.ordered, mine.scratch, mine.buckets);
  // An end eats once a step, at its first eating contact in pair order;
  // the range follows that for every eater, its own or not, by stamps that
  // need no clearing.
  const std::size_t ends = static_cast<std::size_t>(snapshot_.endTotal());
  if (mine.ateIn.size() < ends) mine.ateIn.resize(ends, 0);
  if (++mine.stamp == 0) {
    std::fill(mine.ateIn.begin(), mine.ateIn.end(), 0);
    mine.stamp = 1;
  }
  const std::uint32_t stamp = mine.stamp;
  for (const TouchingPair& pair : mine.ordered) {
    const bool ownsI = own.holds(pair.first);
    const bool ownsJ = own.holds(pair.second);
    const int tA = snapshot_.contactSide(pair.first);
    const bool eating = tA + snapshot_.contactSide(pair.second) == CONTACT_EATING;
    if (!eating && !ownsI && !ownsJ) continue;
    const Vec3* const pi = snapshot_.positions(pair.first);
    const Vec3* const pj = snapshot_.positions(pair.second);
    ses* const* const ei = snapshot_.ends(pair.first);
    ses* const* const ej = snapshot_.ends(pair.second);
    const std::vector<EndContact>& found = endContacts_[static_cast<std::size_t>(pair.part)];
    for (int k = pair.begin; k < pair.end; ++k) {
      const EndContact& c = found[static_cast<std::size_t>(k)];
      const Vec3& ap = pi[c.a];
      const Vec3& bp = pj[c.b];
      if (eating) {
        const bool aEats = tA == ORG_CREATURE;
        const int eaterIndex = aEats ? pair.first : pair.second;
        std::uint32_t& ate = mine.ateIn[static_cast<std::size_t>(snapshot_.firstEnd(eaterIndex) + (aEats ? c.a : c.b))];
        if (ate == stamp) continue;
        ate = stamp;
        if (!ownsI && !ownsJ) continue;
        ses& eater = aEats ? *ei[c.a] : *ej[c.b];
        // The meal's energy as the contacts found it: its own range may be
        // booking its balance meanwhile.
        const double meal = snapshot_.contactEnergy(aEats ? pair.second : pair.first);
        const double amount = std::min(std::max(meal, 0.0), eater.wchl * eater.wchl);
        if (aEats ? ownsI : ownsJ) {
          eater.state |= SES_ATE;
          eater.foodPos = aEats ? bp : ap;
        }
        const double signedAmount = aEats ? amount : -amount;
        if (ownsI) all.get(pair.first)->energy_p += signedAmount;
        if (ownsJ) all.get(pair.second)->energy_m += signedAmount;
        continue;
      }
      const double dist = c.dist;
      if (dist > PUSH_RANGE) continue;
      const Vec3 u = pushOf(c, ap, bp);
      if (ownsI) ei[c.a]->force += u;
      if (ownsJ) ej[c.b]->force -= u;
    }
  }
}

}  // namespace vorlund

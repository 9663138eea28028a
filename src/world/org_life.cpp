#include "world/org_life.h"

#include <cmath>
#include <vector>

#include "core/message.h"
#include "core/random.h"
#include "genepool/listaprz.h"
#include "world/sim_settings.h"
#include "world/world_map.h"

namespace vorlund {

namespace {

// A random turn about the vertical axis: a draw of r15 scaled to a full circle.
constexpr double kTurnPerDraw = 3.0517578e-5 * 6.282;
constexpr double kRandomScale = 32768.0;
// Height probing: first probe, step, number of probes, height when all were inside.
constexpr double kProbeStart = -5.5;
constexpr double kProbeStep = 1.0;
constexpr int kProbeCount = 10;
constexpr double kProbeFallback = 4.5;
// Clearance between the ground found and the bottom of the body.
constexpr double kDropHeight = 1.0;
// Widening of both parts' boxes after a split.
constexpr double kSplitBoxMargin = 1.0;

struct Box {
  Vec3 min, max;
};

Box boxOf(const org& o) {
  Box b;
  if (o.sesCount() == 0) return b;
  b.min = b.max = o.getSes(0)->p;
  for (const auto& s : o.l_ses) {
    b.min.x = std::fmin(b.min.x, s->p.x);
    b.min.y = std::fmin(b.min.y, s->p.y);
    b.min.z = std::fmin(b.min.z, s->p.z);
    b.max.x = std::fmax(b.max.x, s->p.x);
    b.max.y = std::fmax(b.max.y, s->p.y);
    b.max.z = std::fmax(b.max.z, s->p.z);
  }
  return b;
}

Box widenedXY(Box b) {
  b.min.x -= PLACE_MARGIN;
  b.min.y -= PLACE_MARGIN;
  b.max.x += PLACE_MARGIN;
  b.max.y += PLACE_MARGIN;
  return b;
}

void turnXY(Vec3& v, double c, double s) {
  const double x = v.x * c - v.y * s;
  const double y = v.x * s + v.y * c;
  v.x = x;
  v.y = y;
}

// Relinks the neurons after elements changed hands: owner, and kind-0 inputs
// whose source is gone are dropped; the others get their relative number again.
void relinkNeurons(org& o) {
  for (int i = 0; i < o.neuroCount(); ++i) {
    neuro* n = o.getNeuro(i);
    n->kto = &o;
    n->ownIndex = i;
    for (int j = n->inputCount() - 1; j >= 0; --j) {
      wej* in = n->input(j);
      if (in->typ != WEJ_NEURON) continue;
      const int source = in->srcNeuron != nullptr ? o.l_neu.find(in->srcNeuron) : -1;
      if (source < 0) {
        n->l_wej.removeAt(j);
        continue;
      }
      in->n = i;
      in->conn = source - i;
    }
  }
}

// Moves stick k with the neurons placed on it from one object to another.
void moveStick(org& from, org& to, est* k) {
  to.l_est.append(from.l_est.take(from.l_est.find(k)));
  for (int i = 0; i < from.neuroCount();) {
    if (from.getNeuro(i)->place == k) {
      neuro* n = to.l_neu.append(from.l_neu.take(i));
      n->kto = &to;
    } else {
      ++i;
    }
  }
}

// Destroys the neurons placed on k, clearing every input that read one of them.
void destroyNeuronsOn(org& o, const est* k) {
  for (int i = o.neuroCount() - 1; i >= 0; --i) {
    neuro* gone = o.getNeuro(i);
    if (gone->place != k) continue;
    for (const auto& n : o.l_neu)
      for (const auto& in : n->l_wej)
        if (in->srcNeuron == gone) in->srcNeuron = nullptr;
    o.l_neu.removeAt(i);
  }
}

// A stick may join only ends of its own object; sticks left straddling the
// break (possible in format-0 bodies that are not trees) are destroyed.
void dropStraddlingSticks(org& o) {
  for (int i = o.estCount() - 1; i >= 0; --i) {
    est* k = o.getEst(i);
    if (o.l_ses.find(k->e[0]) >= 0 && o.l_ses.find(k->e[1]) >= 0) continue;
    destroyNeuronsOn(o, k);
    if (k->e[1] != nullptr && k->e[1]->owner == k) k->e[1]->owner = nullptr;
    o.l_est.removeAt(i);
  }
}

void finishPart(org& o) {
  o.center = o.prevCenter = o.meanPosition();
  o.computeBoundingBox();
  o.bboxMin -= Vec3(kSplitBoxMargin, kSplitBoxMargin, kSplitBoxMargin);
  o.bboxMax += Vec3(kSplitBoxMargin, kSplitBoxMargin, kSplitBoxMargin);
}

}  // namespace

void Start(org& o, std::span<const OrgHook> startedHooks) {
  o.wiek = o.drogawiek = 0;
  o.computeBoundingBox();
  o.lifespan = o.velocity = o.distance = o.vertvel = o.vertpos = 0;
  o.c_velocity = o.lastVZ = o.sumZ = o.sumVZ = 0;
  o.energy_p = o.energy_m = o.energy_b = 0;
  o.prevCenter = o.center = o.meanPosition();
  for (const auto& n : o.l_neu) {
    const float state = static_cast<float>(r15()) / 32768.0f - 0.5f;
    n->stan = n->nstan = n->sstan = state;
    n->vel = 0;
  }
  for (const OrgHook& h : startedHooks)
    if (h.fn != nullptr) h.fn(h.arg, &o);
}

int restart(org& o, const world& w, std::span<org* const> others, std::span<const OrgHook> startedHooks) {
  o.Clear();
  const SimSettings& s = o.settings();
  o.flags = 0;
  if (s.enablestats == STATS_ON_CREATION) o.flags |= ORG_STATS;
  if (s.grow != 0) o.flags |= ORG_GROWING;
  if (s.enablestats == STATS_ON_FREEZING) o.flags |= ORG_WAITSTILL;
  const int built = o.Build();

  const double a = r15() * kTurnPerDraw;
  const double c = std::cos(a), sn = std::sin(a);
  for (const auto& e : o.l_ses) {
    turnXY(e->p, c, sn);
    turnXY(e->o.x, c, sn);
    turnXY(e->o.y, c, sn);
    turnXY(e->o.z, c, sn);
  }

  std::vector<Box> taken;
  for (const org* other : others)
    if (other != nullptr && other != &o) taken.push_back(widenedXY(boxOf(*other)));
  const Box own = widenedXY(boxOf(o));
  const double sx = own.max.x - own.min.x, sy = own.max.y - own.min.y, sz = own.max.z - own.min.z;
  const double W = w.activeSize();

  double x0 = 0, y0 = 0;
  if (sx >= W || sy >= W) {
    logMessage("Simulator", "org::restart", "Creature is too big. You should increase 'World Size'.", LOG_PLAIN);
    x0 = (W - sx) / 2;
    y0 = (W - sy) / 2;
  } else {
    bool placed = false;
    for (int attempt = 0; attempt < PLACE_ATTEMPTS && !placed; ++attempt) {
      x0 = (W - sx) * r15() / kRandomScale;
      y0 = (W - sy) * r15() / kRandomScale;
      placed = true;
      for (const Box& b : taken)
        if (x0 < b.max.x && x0 + sx > b.min.x && y0 < b.max.y && y0 + sy > b.min.y) {
          placed = false;
          break;
        }
    }
    if (!placed)
      logMessage("Simulator", "org::restart",
                 "Couldn't place the creature properly. Try to increase 'World Size' or decrease 'MaxCreated'.",
                 LOG_PLAIN);
  }

  // The ground is probed under the middle of the chosen place; half a box
  // before the corner would lie beyond a fence whenever the corner is near it.
  double h = kProbeStart;
  int probe = 0;
  for (; probe < kProbeCount; ++probe, h += kProbeStep) {
    Vec3 corrected;
    if (!w.insideGround(Vec3(x0 + sx / 2, y0 + sy / 2, h), corrected)) break;
  }
  if (probe == kProbeCount) h = kProbeFallback;
  const double water = w.waterLevel();
  const double bottom = sz <= water - h ? h + (water - h) / 2 : h + kDropHeight;

  const Vec3 shift(x0 - own.min.x, y0 - own.min.y, bottom - own.min.z);
  for (const auto& e : o.l_ses) e->p += shift;

  Start(o, startedHooks);
  return built;
}

SplitResult Split(org& a, est* k, listaprz* pool) {
  SplitResult result;
  if (k == nullptr || a.l_est.find(k) < 0) return result;

  std::vector<ReleaseHook> hooks = std::move(a.releaseHooks);
  a.releaseHooks.clear();
  for (const ReleaseHook& h : hooks)
    if (h.fn != nullptr) h.fn(h.arg);

  destroyNeuronsOn(a, k);
  ses* beyond = k->e[1];
  if (beyond != nullptr && beyond->owner == k) beyond->owner = nullptr;
  a.l_est.remove(k);

  auto b = std::make_unique<org>(a.genetics(), a.genotype, a.name, a.info);
  // Depth-first as a recursion would go (an end, then each stick whose first
  // end it is, each followed at once by everything hanging from its second
  // end), but on an explicit stack so that a long chain cannot overflow the
  // call stack. Each end moves once: format-0 bodies may hold cycles.
  std::vector<ses*> path;
  const auto moveEnd = [&](ses* s) {
    const int at = a.l_ses.find(s);
    if (at < 0) return;
    b->l_ses.append(a.l_ses.take(at));
    path.push_back(s);
  };
  if (beyond != nullptr) moveEnd(beyond);
  while (!path.empty()) {
    // Moved sticks leave `a`, so the first one left is the next in order.
    est* next = nullptr;
    for (const auto& stick : a.l_est)
      if (stick->e[0] == path.back()) {
        next = stick.get();
        break;
      }
    if (next == nullptr) {
      path.pop_back();
      continue;
    }
    moveStick(a, *b, next);
    if (next->e[1] != nullptr) moveEnd(next->e[1]);
  }
  dropStraddlingSticks(a);
  dropStraddlingSticks(*b);
  relinkNeurons(a);
  relinkNeurons(*b);

  b->distance = a.distance;
  b->velocity = a.velocity;
  b->vertpos = a.vertpos;
  b->vertvel = a.vertvel;
  b->sumZ = a.sumZ;
  b->lastVZ = a.lastVZ;
  b->c_velocity = a.c_velocity;
  b->energy_p = a.energy_p;
  b->energy_m = a.energy_m;
  b->energy_b = a.energy_b;
  b->drogawiek = a.drogawiek;
  b->wiek = a.wiek;
  b->flags = a.flags;
  b->sticks0 = a.sticks0;
  b->typ = a.typ;
  finishPart(a);
  finishPart(*b);

  const double nA = a.sesCount(), nB = b->sesCount();
  const double total = a.energy;
  if (nA + nB > 0) {
    b->energy = nB * total / (nA + nB);
    a.energy = nA * total / (nA + nB);
  }
  b->energy_p = b->energy_m = 0;

  const bool growing = (a.flags & ORG_GROWING) != 0;
  const int half = a.sticks0 / 2;
  if (!growing) {
    if (a.estCount() > half)
      result.survivor = &a;
    else if (b->estCount() > half)
      result.survivor = b.get();
  }
  if (result.survivor == nullptr && pool != nullptr) pool->foldPerformance(a);
  if (result.survivor != &a) a.typ = ORG_FOOD;
  if (result.survivor != b.get()) b->typ = ORG_FOOD;
  a.flags &= static_cast<uint16_t>(~ORG_GROWING);
  b->flags &= static_cast<uint16_t>(~ORG_GROWING);
  result.part = std::move(b);
  return result;
}

}  // namespace vorlund

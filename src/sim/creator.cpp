// Parent choice, offspring creation, feeding and deletion over capacity.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/message.h"
#include "core/random.h"
#include "sim/symulator.h"
#include "world/element_pool.h"
#include "world/org_life.h"

namespace vorlund {

namespace {

constexpr float kR15Scale = 32768.0f;
// Fitness bounds the deletion searches start from.
constexpr double kFitnessSearchStart = 1e11;
// Individuals deleted in one step at most: a loaded pool far over capacity is
// trimmed over several steps instead of stalling one of them.
constexpr int64_t kMaxDeletionsPerStep = 10000;

float unitDraw() { return static_cast<float>(r15()) / kR15Scale; }

void creatorMessage(const char* text) { logMessage("Simulator", "creator", text, LOG_PLAIN); }

}  // namespace

void symulator::creator() {
  if (creatures.size() < evol.MaxCreated && (pool.size() > 0 || all.size() > 0)) {
    fitness.updateStatistics();
    const float total = static_cast<float>(evol.p_nop + evol.p_mut + evol.p_xov);
    float r = unitDraw() * total;
    if (r < evol.p_nop) {
      if (przodek* p = choose(nullptr)) createCreature(*p);
    } else if ((r -= static_cast<float>(evol.p_nop)) < evol.p_mut) {
      if (przodek* p = choose(nullptr)) {
        std::string text = p->genotype;
        std::string info = p->info;
        if (genman.Mutate(p->name, text, info) == 0) {
          const przodek child(&genetics, text, "", info);
          createCreature(child);
        } else {
          creatorMessage("GM.Mutate failed!");
        }
      }
    } else if ((r -= static_cast<float>(evol.p_mut)) < evol.p_xov) {
      przodek* p1 = choose(nullptr);
      przodek* p2 = p1 != nullptr ? choose(evol.xov_mins > 0 ? &p1->genotype : nullptr) : nullptr;
      if (p2 != nullptr) {
        std::string text1 = p1->genotype, info1 = p1->info;
        std::string text2 = p2->genotype, info2 = p2->info;
        if (genman.CrossOver(p1->name, text1, info1, p2->name, text2, info2) == 0) {
          if (genman.Validate(text1) == 0) {
            createCreature(przodek(&genetics, text1, "", info1));
          } else {
            creatorMessage("GM.Validate #1 failed!");
            if (genman.Validate(text2) == 0)
              createCreature(przodek(&genetics, text2, "", info2));
            else
              creatorMessage("GM.Validate #2 failed!");
          }
        } else {
          creatorMessage("GM.CrossOver failed!");
        }
      }
    }
    // Otherwise all shares are 0: nothing is born.
  }
  if (food.size() < evol.feed) {
    const double x = unitDraw() * world.vars.wrldsiz;
    const double y = unitDraw() * world.vars.wrldsiz;
    addBall(Vec3(x, y, kBallDropHeight));
  }
}

przodek* symulator::choose(const std::string* similarTo) {
  przodek* p = wylosujprzodka(similarTo);
  if (p != nullptr && genman.CheckValidity(p->genotype) != 0) return nullptr;
  return p;
}

przodek* symulator::wylosujprzodka(const std::string* similarTo) {
  const int n = pool.size();
  if (n == 0) return nullptr;
  eligible_.assign(static_cast<std::size_t>(n), 1);
  int64_t weight = 0;
  for (int i = 0; i < n; ++i) {
    const przodek* rec = pool.get(i);
    if (similarTo != nullptr && fitness.pairSimilarity(*similarTo, rec->genotype) < evol.xov_mins)
      eligible_[static_cast<std::size_t>(i)] = 0;
    if (eligible_[static_cast<std::size_t>(i)] != 0 && rec->popsiz > 0) weight += rec->popsiz;
  }
  if (weight == 0) return pool.get(0);
  int64_t a = r31() % weight;
  int64_t b = r31() % weight;
  przodek* c1 = nullptr;
  przodek* c2 = nullptr;
  for (int i = 0; i < n && (c1 == nullptr || c2 == nullptr); ++i) {
    if (eligible_[static_cast<std::size_t>(i)] == 0) continue;
    przodek* rec = pool.get(i);
    a -= rec->popsiz;
    b -= rec->popsiz;
    if (c1 == nullptr && a < 0) c1 = rec;
    if (c2 == nullptr && b < 0) c2 = rec;
  }
  if (c1 == nullptr || c2 == nullptr) return c1 != nullptr ? c1 : c2;
  return fitness.finalFitness(*c2) < fitness.finalFitness(*c1) ? c1 : c2;
}

org* symulator::createCreature(const przodek& rec) {
  // The object itself on its body's chunks (see element_pool.h): the step
  // writes its energy and centre, and a neighbour of another creature's on
  // the same page would be within reach of the other core's prefetchers.
  const BodyRun run;
  org* o = startCreature(std::make_unique<org>(&genetics, rec.genotype, rec.name, rec.info));
  if (o == nullptr) return nullptr;
  if (o->sesCount() == 0) {
    // Nothing to simulate: the object goes before anyone sees it.
    if (creatures.find(o) >= 0)
      creatures.removeAt(creatures.find(o));
    else
      food.removeAt(food.find(o));
    return nullptr;
  }
  fileState.changeFlags |= CHANGED_CREATURES;
  return o;
}

org* symulator::addBall(const Vec3& position) {
  auto ball = std::make_unique<org>(&genetics, "*");
  ball->Build();
  for (const auto& e : ball->l_ses) e->p = position;
  ball->energy = ball->startEnergy = simRules.feede0;
  Start(*ball, startedHooks);
  return addFood(std::move(ball));
}

void symulator::deleteOverCapacity() {
  if (evol.capacity == 0) return;
  if (withinCapacity_.changes == pool.changeCount() && withinCapacity_.capacity == evol.capacity) return;
  int64_t total = 0;
  for (int i = 0; i < pool.size(); ++i) total += pool.get(i)->popsiz;
  const int64_t excess = std::min(total - evol.capacity, kMaxDeletionsPerStep);
  if (excess <= 0) withinCapacity_ = {pool.changeCount(), evol.capacity};
  for (int64_t rep = 0; rep < excess; ++rep) {
    przodek* victim = nullptr;
    switch (evol.delrule) {
      case DELETE_RANDOMLY: {
        const int64_t r = total > 0 ? r31() % total : 0;
        int64_t sum = 0;
        for (int i = 0; i < pool.size() && victim == nullptr; ++i) {
          sum += pool.get(i)->popsiz;
          if (sum >= r) victim = pool.get(i);
        }
        --total;
        break;
      }
      case DELETE_INV_PROPORTIONAL: {
        double lo = kFitnessSearchStart, hi = -kFitnessSearchStart, s = 0;
        int count = 0;
        for (int i = 0; i < pool.size(); ++i) {
          const przodek* rec = pool.get(i);
          if (rec->popsiz <= 0) continue;
          const double f = fitness.fitness(*rec);
          lo = std::min(lo, f);
          hi = std::max(hi, f);
          s += f;
          ++count;
        }
        const double range = hi - lo;
        const float target = unitDraw() * static_cast<float>(count * range - (s - count * lo));
        float sum = 0;
        for (int i = 0; i < pool.size() && victim == nullptr; ++i) {
          przodek* rec = pool.get(i);
          if (rec->popsiz < 1) continue;
          sum += static_cast<float>(range - (fitness.fitness(*rec) - lo));
          if (sum >= target) victim = rec;
        }
        break;
      }
      case DELETE_WORST: {
        double worst = kFitnessSearchStart;
        for (int i = 0; i < pool.size(); ++i) {
          przodek* rec = pool.get(i);
          if (rec->popsiz <= 0) continue;
          const double f = fitness.fitness(*rec);
          if (f < worst) {
            worst = f;
            victim = rec;
          }
        }
        break;
      }
      default:
        return;
    }
    if (victim != nullptr) pool.removeIndividual(victim);
  }
}

}  // namespace vorlund

#include "world/life.h"

#include <utility>

#include "genepool/listaprz.h"
#include "world/validity_checker.h"

namespace vorlund {

namespace {
// Room for the boxes of the teleport test, so that the step does not allocate.
constexpr std::size_t kReservedBoxes = 64;
}  // namespace

Life::Life(const SimSettings& rules, listaprz* pool)
    : all(creatures, food), rules_(&rules), pool_(pool) {
  world.setInhabitants(this);
  otherBoxes_.reserve(kReservedBoxes);
}

Life::~Life() {
  world.setInhabitants(nullptr);
  removeAllObjects();
}

void Life::moveToFood(org* o) {
  const int index = creatures.find(o);
  if (index < 0) return;
  std::unique_ptr<org> taken = creatures.release(index);
  taken->typ = ORG_FOOD;
  food.adopt(std::move(taken));
}

void Life::killCreature(org* o) {
  const int index = creatures.find(o);
  if (index < 0) return;
  o->flags &= static_cast<uint16_t>(~ORG_GROWING);
  std::unique_ptr<org> dead = creatures.release(index);
  ++diedTotal;
  if (pool_ != nullptr) pool_->foldPerformance(*dead);
  if (rules().corpsen > 0 && dead->estCount() > 0) {
    dead->typ = ORG_FOOD;
    dead->energy = dead->estCount() * rules().corpsen;
    food.adopt(std::move(dead));
  }
}

void Life::removeAllLiving() { creatures.clear(); }

void Life::removeAllObjects() {
  creatures.clear();
  food.clear();
}

void Life::check(std::string_view label) const { checkValidity(all, rules().debug != 0, label); }

void Life::go() {
  const SimSettings& s = rules();
  for (int i = 0; i < all.size(); ++i) {
    org* o = all.get(i);
    o->energy_p = o->energy_m = 0;
  }
  driveMuscles();
  check("go() #1");
  for (loopIndex = 0; loopIndex < all.size(); ++loopIndex) bookkeeping(*all.get(loopIndex));
  for (loopIndex = 0; loopIndex < all.size(); ++loopIndex) sticks(*all.get(loopIndex));
  check("go() #2");
  contacts();
  check("go() #3");
  damp = s.model == 1 ? DAMP_LOW : DAMP_LIMITED;
  for (loopIndex = 0; loopIndex < all.size(); ++loopIndex) motion(*all.get(loopIndex));
  check("go() #3");
  deaths();
  callStepHooks();
  check("go() #4");
}

void Life::deaths() {
  if (rules().AutoKill) {
    for (int i = 0; i < creatures.size();) {
      org* o = creatures.get(i);
      if (o->energy <= 0) {
        killCreature(o);
        i = 0;
      } else {
        ++i;
      }
    }
  }
  for (int i = 0; i < food.size();) {
    if (food.get(i)->energy <= 0) {
      food.removeAt(i);
      i = 0;
    } else {
      ++i;
    }
  }
}

void Life::callStepHooks() {
  // By index: a hook may register another one while it runs.
  for (std::size_t i = 0; i < stepHooks.size(); ++i) {
    const StepHook h = stepHooks[i];
    if (h.fn != nullptr) h.fn(h.arg);
  }
}

void Life::updateNetworks() {
  // A network step moves and feeds nothing, so every network smells the same objects.
  senses_.freezeObjects();
  for (int i = 0; i < creatures.size(); ++i) {
    org* o = creatures.get(i);
    if (o->flags & (ORG_GROWING | ORG_WAITSTILL)) continue;
    updateNetwork(*o, senses_, rules());
  }
  senses_.thawObjects();
}

}  // namespace vorlund

// Objects entering the world part: a creature started from its genotype, and
// the two objects a broken stick leaves behind.
#include <utility>
#include <vector>

#include "world/life.h"
#include "world/org_life.h"

namespace vorlund {

org* Life::startCreature(std::unique_ptr<org> o) {
  std::vector<org*> others;
  others.reserve(static_cast<std::size_t>(creatures.size()));
  for (int i = 0; i < creatures.size(); ++i) others.push_back(creatures.get(i));
  if (restart(*o, world, others, startedHooks) != ORG_BUILD_OK) return nullptr;
  if (o->typ == ORG_FOOD) return food.adopt(std::move(o));
  ++bornTotal;
  return creatures.adopt(std::move(o));
}

bool Life::breakStick(org& hitter, org& victim, est* k) {
  for (std::size_t i = 0; i < hitHooks.size(); ++i) {
    const HitHook hook = hitHooks[i];
    if (hook.fn != nullptr) hook.fn(hook.arg, &hitter, &victim);
  }
  SplitResult result = Split(victim, k, pool_);
  if (!result.part) return false;
  org* part = creatures.adopt(std::move(result.part));
  if (result.survivor != &victim) moveToFood(&victim);
  if (result.survivor != part) moveToFood(part);
  return true;
}

}  // namespace vorlund

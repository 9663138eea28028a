// Helpers of the scene export tests: the scratch folder's prefix and a small
// world with one stick creature.
#pragma once

#include <string>

#include "support/scratch.h"
#include "world/life_test_support.h"

namespace vorlund::pov_test {

using test_support::ScratchDir;

// A scratch folder as the exporter wants it: a prefix ending with '/'.
inline std::string prefix(const ScratchDir& dir) { return dir.path.string() + "/"; }

// Adds a one-stick creature from a to b (ends facing the world axes) to `w`.
inline org* stickCreature(testing_life::World& w, Vec3 a, Vec3 b) {
  auto o = std::make_unique<org>(&w.genetics, "X", "stick");
  ses* ea = o->addSes();
  ses* eb = o->addSes();
  ea->p = a;
  eb->p = b;
  est* k = o->addEst(ea, eb);
  k->len0 = k->len = (b - a).length();
  o->energy = 100;
  return w.life.addCreature(std::move(o));
}

}  // namespace vorlund::pov_test

// Helpers of the physics and life-cycle tests: a world part with its own
// rules and gene pool, and bodies made from format-0 texts placed by hand.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/random.h"
#include "core/strutil.h"
#include "genepool/listaprz.h"
#include "world/life.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund::testing_life {

struct World {
  World() : genetics{nullptr, &rules, nullptr}, pool(&genetics), life(rules, &pool) {
    // A quiet default: no muscles, no income, no costs unless a test wants them.
    rules.e_meta = 0;
    rules.sun = 0;
    rules.enablestats = STATS_ON_CREATION;
  }

  // A creature read from a format-0 text, moved by `offset`; `flags` are set
  // before reading (as a start does), so ORG_GROWING starts it on `grow`.
  org* creature(const std::string& f0, Vec3 offset = {}, uint16_t flags = ORG_STATS, const std::string& name = "c") {
    auto o = std::make_unique<org>(&genetics, "//0\n" + f0, name);
    o->flags = flags;
    o->Build();
    place(*o, offset);
    return life.addCreature(std::move(o));
  }
  // An energy ball at p.
  org* ball(Vec3 p, double energy = 10) {
    auto o = std::make_unique<org>(&genetics, "*", "ball");
    o->Build();
    o->energy = energy;
    place(*o, p);
    return life.addFood(std::move(o));
  }
  static void place(org& o, Vec3 offset) {
    for (const auto& s : o.l_ses) s->p += offset;
    o.computeBoundingBox();
    o.center = o.prevCenter = o.meanPosition();
  }

  SimSettings rules;
  Genetics genetics;
  listaprz pool;
  Life life;
};

// Runs `test(world)` on a fresh world stepped by one thread and again by
// two, every step shared however small.
template <class Test>
void onOneAndTwoThreads(Test test) {
  const long bar = Life::minWorkToShare;
  Life::minWorkToShare = 0;
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    World w;
    w.life.setStepThreads(threads);
    test(w);
  }
  Life::minWorkToShare = bar;
}

// Random well-formed encoding-1 text: sticks with modifiers, neurons with
// muscles and every kind of input, branches up to two levels deep.
inline std::string randomNeuron() {
  std::string n = "[";
  const int muscle = rndBelow(3);
  if (muscle == 1) n += "@";
  if (muscle == 2) n += "|";
  const int inputs = rndBelow(3);
  for (int i = 0; i < inputs; ++i) {
    if (i > 0) n += ",";
    static const char* kKinds[] = {"*", "T", "G", "S", "0", "-1", "1"};
    n += kKinds[rndBelow(7)];
    n += ssprintf(":%.2f", rndUnit() * 4 - 2);
  }
  return n + "]";
}

inline std::string randomF1(int depth) {
  static const std::string kModifiers = "LlCcWwFfMmAaSsIiQqEeRr";
  std::string text;
  const int sticks = 1 + rndBelow(3);
  for (int i = 0; i < sticks; ++i) {
    for (int m = rndBelow(3); m > 0; --m) text += kModifiers[static_cast<std::size_t>(rndBelow(static_cast<int>(kModifiers.size())))];
    text += "X";
    if (rndBelow(3) == 0) text += randomNeuron();
  }
  if (depth < 2 && rndBelow(3) == 0) text += "(" + randomF1(depth + 1) + "," + randomF1(depth + 1) + ")";
  return text;
}

inline bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace vorlund::testing_life

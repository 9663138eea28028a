#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/random.h"
#include "core/strutil.h"
#include "life_test_support.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_life::finite;
using testing_life::World;

// Random well-formed encoding-1 text: sticks with modifiers, neurons with
// muscles and every kind of input, branches up to two levels deep.
std::string randomNeuron() {
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

std::string randomF1(int depth) {
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

void runWorld(int model, bool blocks, double water, uint64_t seed, int* hitsOut) {
  World w;
  w.rules = SimSettings{};  // the ordinary rules, muscles and income on
  w.rules.model = model;
  w.rules.descol = 1;
  w.rules.AutoKill = 1;
  w.rules.corpsen = 1;
  w.rules.debug = 1;
  w.rules.grow = seed % 2 == 0 ? 0 : 5;
  w.life.world.vars.wrldsiz = 10;  // crowded: they collide, break and eat
  w.rules.Energy0 = 2;               // and die within the run
  w.life.world.vars.wrldwat = water;
  if (blocks)
    testing_world::makeBlocks(w.life.world, "r 4 4 3", 10);
  else
    w.life.world.build();
  seedRandom(seed);
  for (int i = 0; i < 8; ++i) {
    const std::string genotype = randomF1(0);
    ASSERT_NE(w.life.startCreature(std::make_unique<org>(&w.genetics, genotype)), nullptr) << genotype;
  }
  for (int i = 0; i < 4; ++i) w.life.startCreature(std::make_unique<org>(&w.genetics, "*"));
  testing_world::MessageCatcher messages;
  int hits = 0;
  w.life.hitHooks.push_back({[](void* arg, org*, org*) { ++*static_cast<int*>(arg); }, &hits});
  for (int step = 0; step < 400; ++step) {
    w.life.go();
    w.life.updateNetworks();
    for (int i = 0; i < w.life.all.size(); ++i) {
      const org* o = w.life.all.get(i);
      ASSERT_TRUE(std::isfinite(o->energy)) << "step " << step << " " << o->genotype;
      for (const auto& s : o->l_ses) {
        ASSERT_TRUE(finite(s->p) && finite(s->v) && finite(s->o.x)) << "step " << step << " " << o->genotype;
      }
    }
  }
  *hitsOut += hits;
  setRunFlag(true);
  // Nothing left the physical ranges the checker watches.
  for (const LogEntry& e : messages.entries) EXPECT_NE(e.module, "debug") << e.function << ": " << e.message;
}

TEST(PhysicsFinite, RandomEncodingOneCreaturesStayFiniteInEveryModelAndWorld) {
  uint64_t seed = 1;
  int hits = 0;
  for (int model : {0, 1})
    for (bool blocks : {false, true})
      for (double water : {-1.0, 3.0}) {
        SCOPED_TRACE(ssprintf("model %d blocks %d water %g", model, blocks ? 1 : 0, water));
        runWorld(model, blocks, water, seed++, &hits);
      }
  // The crowd really collided, so the breaking paths ran too.
  EXPECT_GT(hits, 0);
}

}  // namespace
}  // namespace vorlund

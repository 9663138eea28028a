// The step's vector paths: the lanes that work out several stick springs,
// move several ends or measure several end pairs at once leave every end,
// stick and energy with the bits of the scalar path, in each model, in water
// and out, on blocks and on flat ground within a fence.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/random.h"
#include "core/strutil.h"
#include "life_test_support.h"
#include "world/step_trig.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_life::World;

void addBits(std::vector<std::uint64_t>& out, const Vec3& v) {
  for (double x : {v.x, v.y, v.z}) out.push_back(std::bit_cast<std::uint64_t>(x));
}

// Everything the step keeps of a small random crowd after 150 steps.
std::vector<std::uint64_t> crowdAfterSteps(TrigPath path, int model, bool blocks, double water) {
  EXPECT_TRUE(setTrigPath(path));
  World w;
  w.rules = SimSettings{};
  w.rules.model = model;
  // Growing creatures count as food: creatures eat from each other too.
  w.rules.grow = model == 0 ? 5 : 0;
  w.life.world.vars.wrldsiz = 10;
  w.life.world.vars.wrldwat = water;
  if (blocks)
    testing_world::makeBlocks(w.life.world, "r 4 4 3", 10);
  else
    w.life.world.build();
  seedRandom(11);
  // Branching bodies with muscles turning their joints, so that the lanes
  // hold sticks sharing an end and frames of every direction.
  for (int i = 0; i < 8; ++i) {
    const std::string genotype = "RX[@*:1][|G:-1]X" + testing_life::randomF1(0);
    EXPECT_NE(w.life.startCreature(std::make_unique<org>(&w.genetics, genotype)), nullptr) << genotype;
  }
  for (int i = 0; i < 4; ++i) w.ball(Vec3(2 + 2 * i, 5, 1));
  for (int step = 0; step < 150; ++step) {
    w.life.go();
    w.life.updateNetworks();
  }
  std::vector<std::uint64_t> bits;
  for (int i = 0; i < w.life.all.size(); ++i) {
    const org* o = w.life.all.get(i);
    bits.push_back(std::bit_cast<std::uint64_t>(o->energy));
    for (const auto& s : o->l_ses)
      for (const Vec3* v : {&s->p, &s->v, &s->spin, &s->o.x, &s->o.y, &s->o.z}) addBits(bits, *v);
    for (const auto& k : o->l_est) {
      addBits(bits, k->bend);
      addBits(bits, k->prevDiff);
      addBits(bits, k->prevOrient.z);
      bits.push_back(std::bit_cast<std::uint64_t>(k->strain));
    }
  }
  return bits;
}

TEST(VectorPath, LanesGiveTheScalarBitsInEveryModelAndWorld) {
  const TrigPath before = trigPath();
  if (!trigPathAvailable(TrigPath::Avx)) GTEST_SKIP() << "no AVX on this processor";
  for (int model : {0, 1})
    for (bool blocks : {false, true})
      for (double water : {-1.0, 0.6}) {
        SCOPED_TRACE(ssprintf("model %d blocks %d water %g", model, blocks ? 1 : 0, water));
        const std::vector<std::uint64_t> scalar = crowdAfterSteps(TrigPath::Scalar, model, blocks, water);
        EXPECT_EQ(crowdAfterSteps(TrigPath::Avx, model, blocks, water), scalar);
        if (trigPathAvailable(TrigPath::Avx512)) {
          EXPECT_EQ(crowdAfterSteps(TrigPath::Avx512, model, blocks, water), scalar) << "avx512";
        }
      }
  setTrigPath(before);
}

}  // namespace
}  // namespace vorlund

#include <gtest/gtest.h>

#include <cmath>

#include "life_test_support.h"
#include "world/energy.h"

namespace vorlund {
namespace {

using testing_life::World;

const char* kFourSticks = "p:\np:1\np:2\np:3\np:4\nj:0,1\nj:1,2\nj:2,3\nj:3,4";

TEST(Energy, GrowingCreatureIsFullGrownOnSchedule) {
  World w;
  w.rules.grow = 10;
  w.rules.e_meta = 1;
  org* c = w.creature("p:\np:1\nj:0,1", {10, 10, 30}, ORG_GROWING | ORG_STATS);
  for (int step = 1; step <= 8; ++step) w.life.go();
  EXPECT_TRUE(c->flags & ORG_GROWING);
  EXPECT_DOUBLE_EQ(c->energy, 90);
  EXPECT_NEAR(c->getEst(0)->rest.x, 0.9, 1e-12);
  // Growing creatures neither age nor pay metabolism.
  EXPECT_EQ(c->wiek, 0);
  w.life.go();
  EXPECT_FALSE(c->flags & ORG_GROWING);
  EXPECT_DOUBLE_EQ(c->energy, 100);
  EXPECT_DOUBLE_EQ(c->getEst(0)->rest.x, 1.0);
  EXPECT_EQ(c->prevCenter, c->center);
  // From now on it lives on its energy.
  w.life.go();
  EXPECT_EQ(c->wiek, 1);
  EXPECT_DOUBLE_EQ(c->energy, 100 - 0.01);

  // Without starting energy the sticks still grow to a finite full length.
  World empty;
  empty.rules.grow = 1;
  empty.rules.Energy0 = 0;
  org* e = empty.creature("p:\np:1\nj:0,1", {10, 10, 30}, ORG_GROWING);
  empty.life.go();
  EXPECT_FALSE(e->flags & ORG_GROWING);
  EXPECT_EQ(e->getEst(0)->rest, Vec3(1, 0, 0));
}

TEST(Energy, IdleMetabolismPerStickAtLeastOneWithAndWithoutAging) {
  World w;
  w.rules.e_meta = 1;
  org* c = w.creature(kFourSticks, {10, 10, 30});
  org* ball = w.ball({30, 30, 30}, 10);
  const double start = c->energy;
  for (int i = 0; i < 100; ++i) w.life.go();
  EXPECT_NEAR(c->energy, start - 4, 1e-9);
  EXPECT_DOUBLE_EQ(ball->energy_m, 0.01);  // an object without sticks pays for one
  EXPECT_EQ(c->wiek, 100);
  EXPECT_EQ(c->lifespan, 100);

  // Aging doubles the cost every 1000 x aging steps of age.
  SimSettings s;
  s.e_meta = 1;
  s.aging = 1;
  for (auto [age, factor] : {std::pair{0, 1.0}, {1000, 2.0}, {2000, 4.0}}) {
    c->lifespan = c->wiek = age;
    c->energy_m = 0;
    metabolismAndAge(*c, s);
    EXPECT_NEAR(c->energy_m, factor * 4 * 0.01, 1e-9) << "age " << age;
    EXPECT_EQ(c->wiek, age + 1);
  }
  // A huge age does not overflow into an infinite cost.
  c->lifespan = 1e9;
  c->energy_m = 0;
  metabolismAndAge(*c, s);
  EXPECT_TRUE(std::isfinite(c->energy_m));
}

TEST(Energy, MeasurementCountsEveryPeriodAndWholeVerticalUnits) {
  SimSettings s;
  s.testvel = 4;
  World w;
  org* c = w.creature("p:", {0, 0, 0});
  c->flags = ORG_STATS;
  c->center = c->prevCenter = Vec3(0, 0, 10);
  double sumZ = 0;
  for (int step = 1; step <= 16; ++step) {
    c->wiek = step;
    c->center = Vec3(3.0 * step / 16, 4.0 * step / 16, 10 - 2.5 * step / 16);
    sumZ += c->center.z;
    const bool period = measurePerformance(*c, s);
    EXPECT_EQ(period, step == 16);
    if (step == 15) {
      EXPECT_EQ(c->distance, 0);
    }
  }
  EXPECT_EQ(c->drogawiek, 16);
  EXPECT_NEAR(c->distance, 5, 1e-12);
  EXPECT_NEAR(c->velocity, 5.0 / 16, 1e-12);
  EXPECT_NEAR(c->c_velocity, 5.0 / 16, 1e-12);
  EXPECT_EQ(c->sumVZ, 2);  // sank 2.5: counts 2
  EXPECT_EQ(c->vertvel, 2.0 / 16);
  EXPECT_EQ(c->lastVZ, 0);  // 2 / 16 in whole numbers
  EXPECT_EQ(c->prevCenter, c->center);

  // Sinking 0.9 per period is no vertical movement at all.
  for (int step = 17; step <= 32; ++step) {
    c->wiek = step;
    c->center.z -= 0.9 / 16;
    sumZ += c->center.z;
    measurePerformance(*c, s);
  }
  EXPECT_EQ(c->sumVZ, 2);
  // The vertical position averages over the whole age.
  EXPECT_NEAR(c->vertpos, sumZ / 32, 1e-9);
}

TEST(Energy, MeasuringStartsAsEnablestatsSays) {
  SimSettings s;
  s.testvel = 2;
  World w;
  org* c = w.creature("p:", {0, 0, 0});
  // Freezing: a creature that keeps moving is never measured.
  c->flags = ORG_WAITSTILL;
  c->wiek = 0;
  for (int step = 1; step <= 40; ++step) {
    c->wiek = step;
    c->center.x += 0.01;
    measurePerformance(*c, s);
  }
  EXPECT_EQ(c->flags, ORG_WAITSTILL);
  EXPECT_EQ(c->drogawiek, 0);
  // Once it stands still it is measured from the next period on.
  c->wiek = 44;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, ORG_STATS);
  // First move up: a period that sinks does not start it, one that rises does.
  c->flags = 0;
  c->wiek = 48;
  c->center.z -= 1;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, 0);
  c->wiek = 52;
  c->center.z += 0.5;
  measurePerformance(*c, s);
  EXPECT_EQ(c->flags, ORG_STATS);
}

TEST(Energy, AssimilationDependsOnInclinationAndNeedsLength) {
  World w;
  org* level = w.creature("p:\np:1\nj:0,1,as=1");
  org* upright = w.creature("p:\np:z=1\nj:0,1,as=1");
  org* point = w.creature("p:\np:\nj:0,1,as=1");
  EXPECT_DOUBLE_EQ(assimilation(*level->getEst(0), 2), 2 * 0.005);
  EXPECT_DOUBLE_EQ(assimilation(*upright->getEst(0), 2), 2 * 2 * 0.005);
  EXPECT_EQ(assimilation(*point->getEst(0), 2), 0);
}

TEST(Energy, ZeroLengthStickStaysFiniteInWater) {
  World w;
  w.rules.sun = 1;
  w.life.world.vars.wrldwat = 20;
  org* c = w.creature("p:\np:\nj:0,1", {10, 10, 5});
  c->getSes(0)->v = {0.1, 0.2, 0};
  for (int i = 0; i < 50; ++i) w.life.go();
  EXPECT_TRUE(std::isfinite(c->energy));
  for (const auto& s : c->l_ses) {
    EXPECT_TRUE(testing_life::finite(s->p));
    EXPECT_TRUE(testing_life::finite(s->v));
  }
}

TEST(Energy, DeathLeavesRemainsOnlyWithCorpseEnergyAndOnlyUnderAutoKill) {
  for (double corpsen : {0.0, 5.0}) {
    World w;
    w.rules.AutoKill = 1;
    w.rules.corpsen = corpsen;
    org* c = w.creature("p:\np:1\np:2\np:3\nj:0,1\nj:1,2\nj:2,3", {10, 10, 30}, ORG_STATS, "dying");
    c->energy = -1;
    w.life.go();
    EXPECT_EQ(w.life.creatures.size(), 0);
    ASSERT_EQ(w.pool.size(), 1);
    EXPECT_EQ(w.pool.get(0)->popsiz, 1);
    EXPECT_EQ(w.pool.get(0)->lifespan, 1);
    if (corpsen == 0) {
      EXPECT_EQ(w.life.food.size(), 0);
    } else {
      ASSERT_EQ(w.life.food.size(), 1);
      const org* remains = w.life.food.get(0);
      EXPECT_EQ(remains->typ, ORG_FOOD);
      EXPECT_DOUBLE_EQ(remains->energy, 15);
      EXPECT_EQ(remains->estCount(), 3);
    }
  }
  // Without AutoKill only food goes.
  World w;
  org* c = w.creature("p:", {10, 10, 30});
  c->energy = -5;
  w.ball({30, 30, 30}, 0);
  w.life.go();
  EXPECT_EQ(w.life.creatures.size(), 1);
  EXPECT_EQ(w.life.food.size(), 0);
  EXPECT_EQ(w.pool.size(), 0);
}

}  // namespace
}  // namespace vorlund

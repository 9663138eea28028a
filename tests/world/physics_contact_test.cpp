#include <gtest/gtest.h>

#include <vector>

#include "life_test_support.h"

namespace vorlund {
namespace {

using testing_life::World;

constexpr double kGravity = 0.005;

// Two one-end creatures at distance `gap` along x; returns the force on the first end after one step.
Vec3 pushAt(double gap) {
  World w;
  org* a = w.creature("p:", {10, 10, 5}, ORG_STATS, "a");
  w.creature("p:", {10 + gap, 10, 5}, ORG_STATS, "b");
  w.life.go();
  return a->getSes(0)->force;
}

TEST(PhysicsContact, PushDependsOnDistance) {
  // Close range: a fixed push on every axis; equal coordinates count as "not greater".
  EXPECT_EQ(pushAt(0.2), Vec3(-1.16, -1.16, -1.16 - kGravity));
  // In range: (1 - dist) x 0.5 / dist^2 along the line between them.
  const Vec3 half = pushAt(0.5);
  EXPECT_NEAR(half.x, -0.5, 1e-12);
  EXPECT_EQ(half.y, 0);
  // At exactly 1.0 the push vanishes, beyond it nothing happens.
  EXPECT_EQ(pushAt(1.0), Vec3(0, 0, -kGravity));
  EXPECT_EQ(pushAt(1.5), Vec3(0, 0, -kGravity));
}

TEST(PhysicsContact, OppositePushOnTheOtherEnd) {
  World w;
  w.creature("p:", {10, 10, 5});
  org* b = w.creature("p:", {10.2, 10, 5});
  w.life.go();
  EXPECT_EQ(b->getSes(0)->force, Vec3(1.16, 1.16, 1.16 - kGravity));
}

TEST(PhysicsContact, EachEatingEndTakesOnceFromOneFoodPerStep) {
  World w;
  org* c = w.creature("p:\np:1\nj:0,1", {10, 10, 5});
  org* first = w.ball({10.5, 10, 5}, 10);
  org* second = w.ball({10.5, 8.5, 5}, 10);  // in reach of the eater, out of the first ball's
  const double before = c->energy;
  w.life.go();
  const double bite = 0.25 * 0.25;  // ingestion squared
  EXPECT_DOUBLE_EQ(c->energy_p, 2 * bite);
  EXPECT_DOUBLE_EQ(c->energy, before + 2 * bite);
  EXPECT_DOUBLE_EQ(first->energy_m, 2 * bite);
  EXPECT_DOUBLE_EQ(first->energy, 10 - 2 * bite);
  EXPECT_EQ(second->energy_m, 0);
  EXPECT_TRUE(c->getSes(0)->state & SES_ATE);
  EXPECT_EQ(c->getSes(1)->foodPos, Vec3(10.5, 10, 5));
  // Eating is no push: the ball only falls.
  EXPECT_EQ(first->getSes(0)->force, Vec3(0, 0, -kGravity));
}

TEST(PhysicsContact, FoodGivesAtMostWhatItHas) {
  World w;
  org* c = w.creature("p:ing=1", {10, 10, 5});
  org* ball = w.ball({11, 10, 5}, 0.3);
  w.life.go();
  EXPECT_DOUBLE_EQ(c->energy_p, 0.3);
  // The ball is used up and gone.
  EXPECT_EQ(w.life.food.size(), 0);
  (void)ball;
}

TEST(PhysicsContact, FullGrownCreatureEatsAGrowingOneListedBeforeIt) {
  World w;
  w.rules.grow = 1;
  org* growing = w.creature("p:\np:1\nj:0,1", {10, 10, 20}, ORG_GROWING, "g");
  w.rules.grow = 0;
  org* eater = w.creature("p:", {10.5, 10, 20}, ORG_STATS, "e");
  ASSERT_EQ(w.life.all.find(growing), 0);
  w.life.go();
  // The eater is the second of the pair, so the amounts are booked negated.
  EXPECT_DOUBLE_EQ(eater->energy_m, -0.0625);
  EXPECT_DOUBLE_EQ(growing->energy_p, -0.0625);
}

}  // namespace
}  // namespace vorlund

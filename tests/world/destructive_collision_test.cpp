#include <gtest/gtest.h>

#include <vector>

#include "life_test_support.h"

namespace vorlund {
namespace {

using testing_life::World;

struct HitLog {
  std::vector<std::pair<org*, org*>> calls;
  static void hook(void* arg, org* hitter, org* hit) { static_cast<HitLog*>(arg)->calls.push_back({hitter, hit}); }
};

// A fast creature of one stick ending at x = 11 and a still one starting at x = 11.5.
struct Collision {
  explicit Collision(const char* victimBody) {
    w.rules.descol = 1;
    w.life.hitHooks.push_back({&HitLog::hook, &hits});
    hitter = w.creature("p:\np:1\nj:0,1", {10, 10, 5}, ORG_STATS, "hitter");
    victim = w.creature(victimBody, {11.5, 10, 5}, ORG_STATS, "victim");
    hitter->getSes(1)->v = {0.3, 0, 0};
  }
  World w;
  HitLog hits;
  org* hitter;
  org* victim;
};

TEST(DestructiveCollision, NoPartKeepsHalfTheSticksBothBecomeFoodFoldedOnce) {
  Collision c("p:\np:1\nj:0,1");
  c.hitter->energy = 100;
  c.victim->energy = 10;
  c.w.life.go();
  ASSERT_EQ(c.hits.calls.size(), 1u);
  EXPECT_EQ(c.hits.calls[0].first, c.hitter);
  EXPECT_EQ(c.hits.calls[0].second, c.victim);
  ASSERT_EQ(c.w.life.creatures.size(), 1);
  EXPECT_EQ(c.w.life.creatures.get(0), c.hitter);
  ASSERT_EQ(c.w.life.food.size(), 2);
  EXPECT_EQ(c.w.life.food.get(0), c.victim);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(c.w.life.food.get(i)->typ, ORG_FOOD);
    EXPECT_EQ(c.w.life.food.get(i)->estCount(), 0);
    EXPECT_GT(c.w.life.food.get(i)->energy, 0);
  }
  ASSERT_EQ(c.w.pool.size(), 1);
  EXPECT_EQ(c.w.pool.get(0)->popsiz, 1);
  // The phase started again: the hitter already eats from what it broke.
  EXPECT_GT(c.hitter->energy_p, 0);
}

TEST(DestructiveCollision, PartWithMoreThanHalfTheSticksLivesOn) {
  Collision c("p:\np:1\np:2\np:3\nj:0,1\nj:1,2\nj:2,3");
  c.hitter->energy = 100;
  c.victim->energy = 10;
  c.w.life.go();
  ASSERT_EQ(c.hits.calls.size(), 1u);
  ASSERT_EQ(c.w.life.creatures.size(), 2);
  const org* part = c.w.life.creatures.get(1);
  EXPECT_EQ(part->estCount(), 2);
  EXPECT_EQ(part->typ, ORG_CREATURE);
  ASSERT_EQ(c.w.life.food.size(), 1);
  EXPECT_EQ(c.w.life.food.get(0), c.victim);
  EXPECT_EQ(c.w.pool.size(), 0);
}

TEST(DestructiveCollision, FasterButWeakerEquallyFastOrSticklessBreakNothing) {
  {
    Collision c("p:\np:1\nj:0,1");
    c.hitter->energy = 1;
    c.victim->energy = 100;
    c.w.life.go();
    EXPECT_TRUE(c.hits.calls.empty());
    EXPECT_EQ(c.w.life.creatures.size(), 2);
  }
  {
    Collision c("p:\np:1\nj:0,1");
    c.hitter->energy = 100;
    c.victim->energy = 10;
    c.victim->getSes(0)->v = {-0.3, 0, 0};
    c.w.life.go();
    EXPECT_TRUE(c.hits.calls.empty());
  }
  {
    // Off, the same collision only pushes.
    Collision c("p:\np:1\nj:0,1");
    c.w.rules.descol = 0;
    c.hitter->energy = 100;
    c.victim->energy = 10;
    c.w.life.go();
    EXPECT_TRUE(c.hits.calls.empty());
    EXPECT_EQ(c.victim->estCount(), 1);
  }
  {
    // A creature without sticks has nothing to break with, but still pushes.
    Collision c("p:\np:1\nj:0,1");
    org* ball = c.w.creature("p:", {10, 12, 5});
    ball->getSes(0)->v = {0.5, 0, 0};
    ball->energy = 1000;
    c.w.creature("p:\np:1\nj:0,1", {10.5, 12, 5});
    c.hitter->getSes(1)->v = {};
    c.w.life.go();
    EXPECT_TRUE(c.hits.calls.empty());
    EXPECT_EQ(c.w.life.creatures.size(), 4);
    EXPECT_LT(ball->getSes(0)->v.x, 0.5 * 0.99);
  }
}

}  // namespace
}  // namespace vorlund

// The contact phase: the pairs of objects it looks at, pushes between ends,
// eating, and collisions that break bodies.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "life_test_support.h"
#include "world/contact_broad_phase.h"

namespace vorlund {
namespace {

using testing_life::World;

using Pairs = std::vector<std::pair<int, int>>;

Pairs everyOverlappingPair(const listaduo<org>& all) {
  Pairs out;
  for (int i = 0; i < all.size(); ++i)
    for (int j = i + 1; j < all.size(); ++j) {
      const org& a = *all.get(i);
      const org& b = *all.get(j);
      if (boxesOverlap({a.bboxMin, a.bboxMax}, {b.bboxMin, b.bboxMax})) out.push_back({i, j});
    }
  return out;
}

Pairs found(const ContactBroadPhase& phase) {
  Pairs out;
  for (const ContactPair& p : phase.pairs()) out.push_back({p.first, p.second});
  return out;
}

TEST(ContactBroadPhase, FindsTheOverlappingPairsOfAPlainDoubleLoopInItsOrder) {
  testing_life::World w;
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> where(0, 12), size(0, 1.5);
  // Whole numbers make boxes that start together or only touch.
  const auto box = [&](org& o) {
    const Vec3 p(std::round(where(rng)), where(rng), where(rng) / 4);
    o.bboxMin = p;
    o.bboxMax = p + Vec3(std::round(size(rng) * 2), size(rng) + 0.1, size(rng) + 0.1);
  };
  for (int i = 0; i < 60; ++i) box(*w.ball({}));
  ContactBroadPhase phase;
  // Boxes that move, then a changed crowd: the order kept from the last call must not matter.
  for (int round = 0; round < 4; ++round) {
    if (round == 3) w.ball({})->bboxMin.x = NAN;
    for (int i = 0; i < w.life.all.size() && round < 3; ++i) box(*w.life.all.get(i));
    phase.find(w.life.all);
    const Pairs expected = everyOverlappingPair(w.life.all);
    EXPECT_EQ(found(phase), expected) << "round " << round;
    if (round == 0) {
      EXPECT_GE(expected.size(), 10u);
    }
  }
}

constexpr double kGravity = 0.005;

// Two one-end creatures at distance `gap` along x; the forces on their ends after one step.
std::pair<Vec3, Vec3> pushAt(double gap) {
  World w;
  org* a = w.creature("p:", {10, 10, 5}, ORG_STATS, "a");
  org* b = w.creature("p:", {10 + gap, 10, 5}, ORG_STATS, "b");
  w.life.go();
  return {a->getSes(0)->force, b->getSes(0)->force};
}

TEST(PhysicsContact, PushDependsOnDistanceAndActsOppositeOnTheOtherEnd) {
  // Close range: a fixed push on every axis; equal coordinates count as "not greater".
  EXPECT_EQ(pushAt(0.2), std::pair(Vec3(-1.16, -1.16, -1.16 - kGravity), Vec3(1.16, 1.16, 1.16 - kGravity)));
  // In range: (1 - dist) x 0.5 / dist^2 along the line between them.
  const Vec3 half = pushAt(0.5).first;
  EXPECT_NEAR(half.x, -0.5, 1e-12);
  EXPECT_EQ(half.y, 0);
  // At exactly 1.0 the push vanishes, beyond it nothing happens.
  EXPECT_EQ(pushAt(1.0).first, Vec3(0, 0, -kGravity));
  EXPECT_EQ(pushAt(1.5).first, Vec3(0, 0, -kGravity));
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
  w.ball({11, 10, 5}, 0.3);
  w.life.go();
  EXPECT_DOUBLE_EQ(c->energy_p, 0.3);
  // The ball is used up and gone.
  EXPECT_EQ(w.life.food.size(), 0);
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

struct HitLog {
  std::vector<std::pair<org*, org*>> calls;
  static void hook(void* arg, org* hitter, org* hit) { static_cast<HitLog*>(arg)->calls.push_back({hitter, hit}); }
};

// A fast creature of one stick ending at x = 11 and a still one starting at
// x = 11.5; the hitter has ten times the victim's energy.
struct Collision {
  explicit Collision(const char* victimBody) {
    w.rules.descol = 1;
    w.life.hitHooks.push_back({&HitLog::hook, &hits});
    hitter = w.creature("p:\np:1\nj:0,1", {10, 10, 5}, ORG_STATS, "hitter");
    victim = w.creature(victimBody, {11.5, 10, 5}, ORG_STATS, "victim");
    hitter->getSes(1)->v = {0.3, 0, 0};
    hitter->energy = 100;
    victim->energy = 10;
  }
  World w;
  HitLog hits;
  org* hitter;
  org* victim;
};

TEST(DestructiveCollision, NoPartKeepsHalfTheSticksBothBecomeFoodFoldedOnce) {
  Collision c("p:\np:1\nj:0,1");
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
  // Why nothing breaks, the hitter's energy, the victim's velocity and whether collisions break.
  const std::tuple<const char*, double, Vec3, int> cases[] = {
      {"faster but weaker", 1, {}, 1},
      {"equally fast", 100, {-0.3, 0, 0}, 1},
      {"switched off: the same collision only pushes", 100, {}, 0},
  };
  for (const auto& [why, hitterEnergy, victimVelocity, descol] : cases) {
    SCOPED_TRACE(why);
    Collision c("p:\np:1\nj:0,1");
    c.w.rules.descol = descol;
    c.hitter->energy = hitterEnergy;
    c.victim->getSes(0)->v = victimVelocity;
    c.w.life.go();
    EXPECT_TRUE(c.hits.calls.empty());
    EXPECT_EQ(c.w.life.creatures.size(), 2);
    EXPECT_EQ(c.victim->estCount(), 1);
  }
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

}  // namespace
}  // namespace vorlund

// The physics of a step: motion on the ground and in water, the contact phase
// (the pairs it looks at, pushes, eating, collisions that break bodies), random
// crowds that must stay finite in every model and world, and the checker that
// watches the physical ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/random.h"
#include "core/strutil.h"
#include "life_test_support.h"
#include "world/contact_broad_phase.h"
#include "world/physics_constants.h"
#include "world/validity_checker.h"
#include "world/step_trig.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_life::onOneAndTwoThreads;
using testing_life::World;

TEST(PhysicsMotion, FreeStickEndFallsByGravityDampedByTheModelEachStep) {
  for (int model : {0, 1}) {
    World w;
    w.rules.model = model;
    int steps = 0;
    w.life.stepHooks.push_back({[](void* arg) { ++*static_cast<int*>(arg); }, &steps});
    org* o = w.creature("p:", {10, 10, 5});
    w.life.go();
    const double damp = model == 1 ? 0.99 : 0.9;
    const ses* s = o->getSes(0);
    EXPECT_DOUBLE_EQ(s->v.z, -0.005 * damp) << "model " << model;
    EXPECT_DOUBLE_EQ(s->p.z, 5 - 0.005 * damp);
    EXPECT_EQ(s->v.x, 0);
    // The second step adds gravity to the damped velocity.
    w.life.go();
    EXPECT_DOUBLE_EQ(s->v.z, (-0.005 * damp - 0.005) * damp);
    EXPECT_EQ(steps, 2);  // end-of-step hooks run once per step
  }
}

TEST(PhysicsMotion, EndAddedBetweenStepsMovesWithTheOthers) {
  // The step keeps the last layout of the ends while the objects stay the
  // same: the one that gained an end, and the ball whose ends come after
  // it, must still be copied and moved afresh.
  onOneAndTwoThreads([](World& w) {
    org* o = w.creature("p:\np:1\nj:0,1", {10, 10, 5});
    org* ball = w.ball({20, 20, 5});
    w.life.go();
    ses* added = o->addSes();
    added->p = Vec3(10, 12, 5);
    w.life.go();
    const double damp = 0.99;  // the default model's
    EXPECT_DOUBLE_EQ(added->v.z, -0.005 * damp);
    EXPECT_DOUBLE_EQ(ball->getSes(0)->v.z, (-0.005 * damp - 0.005) * damp);
  });
}

TEST(PhysicsMotion, RestingStickGetsNoSpuriousTwistInTheFirstLowDampingStep) {
  // The previous orientation error starts at zero: a stick at rest has no
  // error, so nothing may turn its ends, whichever way the body faces.
  World w;
  w.rules.model = 1;
  org* o = w.creature("p:\np:1\nj:0,1", {10, 10, 5});
  o->getSes(1)->p = o->getSes(0)->p + Vec3(0, 1, 0);
  for (const auto& s : o->l_ses) s->o = Frame{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
  w.life.go();
  for (const auto& s : o->l_ses) EXPECT_EQ(s->spin, kZeroVec);
}

// What a hook of two arguments heard: touches (creature, end) and hits (hitter, hit).
template <class A, class B>
struct CallLog {
  std::vector<std::pair<A, B>> calls;
  static void hook(void* arg, A a, B b) { static_cast<CallLog*>(arg)->calls.push_back({a, b}); }
};
using TouchLog = CallLog<org*, ses*>;
using HitLog = CallLog<org*, org*>;

TEST(PhysicsMotion, GroundContactRecordsAnchorOnceThenHoldsAgainstFriction) {
  World w;
  w.rules.model = 0;
  TouchLog touches;
  w.life.touchHooks.push_back({&TouchLog::hook, &touches});
  org* o = w.creature("p:fr=10", {10, 10, -0.1});
  ses* s = o->getSes(0);
  s->v.x = 0.01;
  w.life.go();
  // First step inside: only the anchor is recorded, and the hook hears it.
  ASSERT_EQ(touches.calls.size(), 1u);
  EXPECT_EQ(touches.calls[0].first, o);
  EXPECT_EQ(touches.calls[0].second, s);
  EXPECT_EQ(s->contact, 1);
  EXPECT_EQ(s->anchor, Vec3(10, 10, 0));
  EXPECT_DOUBLE_EQ(s->v.z, (0.5 * 0.1 - 0.005) * 0.9);
  EXPECT_DOUBLE_EQ(s->v.x, 0.009);
  // Still in the ground after moving sideways: friction holds it at the anchor.
  ASSERT_LT(s->p.z, 0);
  w.life.go();
  EXPECT_EQ(touches.calls.size(), 1u);
  EXPECT_EQ(s->contact, 1);
  EXPECT_FALSE(s->state & SES_SLIDING);
  EXPECT_NEAR(s->v.x, 0, 1e-12);
  EXPECT_EQ(s->anchor, Vec3(10, 10, 0));
}

TEST(PhysicsMotion, FirstTouchesNameEachEndsOwnObjectInOrder) {
  // The motion lanes take the ends of several objects at once, and a shared
  // step gives each thread some creatures and some food: the hooks still
  // hear the ends in object order.
  const TrigPath before = trigPath();
  for (TrigPath path : {TrigPath::Scalar, TrigPath::Avx, TrigPath::Avx512}) {
    if (!setTrigPath(path)) continue;
    SCOPED_TRACE(trigPathName(path));
    onOneAndTwoThreads([](World& w) {
      TouchLog touches;
      w.life.touchHooks.push_back({&TouchLog::hook, &touches});
      for (int i = 0; i < 5; ++i) {
        w.creature(i % 2 ? "p:\np:1\nj:0,1" : "p:", {2.0 + 2 * i, 10, 1});
        if (i % 2 == 0) w.ball({2.0 + 2 * i, 20, 1});
      }
      std::vector<std::pair<org*, ses*>> expected;
      for (int i = 0; i < w.life.all.size(); ++i)
        for (const auto& s : w.life.all.get(i)->l_ses) {
          s->p.z = -0.1;
          expected.push_back({w.life.all.get(i), s.get()});
        }
      w.life.go();
      EXPECT_EQ(touches.calls, expected);
    });
  }
  setTrigPath(before);
}

TEST(PhysicsMotion, WithoutFrictionAnEndSlidesAndDragsItsAnchor) {
  World w;
  w.rules.model = 1;
  org* o = w.creature("p:fr=0", {10, 10, -0.2});
  ses* s = o->getSes(0);
  s->v.x = 0.3;
  w.life.go();
  EXPECT_FALSE(s->state & SES_SLIDING);
  const double x = s->p.x;
  ASSERT_GT(x, 10.2);
  const double vxBefore = s->v.x;
  ASSERT_LT(s->p.z, 0);
  w.life.go();
  EXPECT_TRUE(s->state & SES_SLIDING);
  // The anchor follows the end to the current ground point.
  EXPECT_DOUBLE_EQ(s->anchor.x, x);
  EXPECT_EQ(s->anchor.z, 0);
  // The low-damping model halves the velocity of an end that stays on the ground.
  EXPECT_DOUBLE_EQ(s->v.x, vxBefore * 0.5 * 0.99);
}

TEST(PhysicsMotion, EndAboveTheGroundLosesContactWaterLiftsItFenceHoldsIt) {
  World w;
  w.rules.model = 0;
  w.life.world.vars.wrldwat = 6;
  org* o = w.creature("p:", {10, 10, 5});
  ses* s = o->getSes(0);
  s->contact = 1;
  w.life.go();
  EXPECT_EQ(s->contact, 0);
  EXPECT_TRUE(s->state & SES_INWATER);
  // Buoyancy 0.005 balances gravity 0.005 for unit mass and buoyancy.
  EXPECT_DOUBLE_EQ(s->v.z, 0);
  // The fence holds an end inside: contact, and pushed back in.
  World fenced;
  org* out = fenced.creature("p:", {-0.3, 10, 1});
  fenced.life.go();
  EXPECT_GT(out->getSes(0)->v.x, 0);
  EXPECT_EQ(out->getSes(0)->contact, 1);
}

TEST(PhysicsMotion, StickSpringPullsStretchedEndsTogetherAndRecordsStrain) {
  World w;
  w.rules.model = 0;
  org* o = w.creature("p:\np:1\nj:0,1", {10, 10, 5});
  ses* b = o->getSes(1);
  b->p.x += 0.2;  // stretched by 0.2 beyond its rest length
  w.life.go();
  const est* k = o->getEst(0);
  EXPECT_NEAR(k->strain, 0.15 * 0.2, 1e-12);
  EXPECT_LT(b->v.x, 0);
  EXPECT_GT(o->getSes(0)->v.x, 0);
  // No turn: the joint is unloaded and the ends keep their orientation.
  EXPECT_EQ(k->bend, Vec3());
}

TEST(PhysicsMotion, EndWithoutPositiveMassMovesWithTheDefaultMass) {
  World w;
  w.rules.model = 0;
  // Set past the reader, which brings masses up to the lightest it accepts.
  org* o = w.creature("p:\np:1\nj:0,1", {10, 10, 5});
  o->getSes(0)->m = 0;
  o->getSes(1)->m = -1;
  org* plain = w.creature("p:\np:1\nj:0,1", {30, 30, 5});
  o->getSes(1)->p.x += 0.5;
  plain->getSes(1)->p.x += 0.5;
  for (int i = 0; i < 20; ++i) w.life.go();
  for (int i = 0; i < 2; ++i) {
    EXPECT_NEAR(o->getSes(i)->p.x + 20, plain->getSes(i)->p.x, 1e-9);
    EXPECT_NEAR(o->getSes(i)->p.z, plain->getSes(i)->p.z, 1e-9);
    EXPECT_TRUE(testing_life::finite(o->getSes(i)->v));
  }
}

TEST(PhysicsMotion, TeleportBringsAnObjectThatLeftTheSquareBack) {
  World w;
  w.rules.testvel = 2;
  w.life.world.vars.wrldbnd = BOUNDARY_TELEPORT;
  org* o = w.creature("p:", {60, 10, 5});
  for (int i = 0; i < 3; ++i) w.life.go();
  EXPECT_GT(o->getSes(0)->p.x, 50);
  w.life.go();  // age 4: a multiple of the period
  EXPECT_NEAR(o->getSes(0)->p.x, 1, 1e-9);
  EXPECT_NEAR(o->center.x, 1, 1e-9);
}

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
  // The split sweep's phase knows the boxes' owners and carries its order
  // over the objects that come and go.
  ContactBroadPhase carrying;
  // Boxes that move, one that is not a number and moves on again (the sort
  // stops half way), then a changed crowd: the order kept from the last call
  // must not matter. Then the same without the lanes.
  const TrigPath before = trigPath();
  for (int round = 0; round < 12; ++round) {
    setTrigPath(round >= 6 ? TrigPath::Scalar : before);
    if (round % 6 == 3) w.life.all.get(30)->bboxMin.x = NAN;
    if (round % 6 == 5) w.ball({})->bboxMin.x = NAN;
    // Balls gone from the middle (one, then two side by side) and new ones.
    if (round % 6 == 1) w.life.food.removeAt(20);
    if (round % 6 == 2) {
      w.life.food.removeAt(40);
      w.life.food.removeAt(40);
      w.ball({});
    }
    for (int i = 0; i < w.life.all.size() && round % 6 != 3 && round % 6 != 5; ++i) box(*w.life.all.get(i));
    std::vector<WorldBox> boxes;
    for (int i = 0; i < w.life.all.size(); ++i) boxes.push_back({w.life.all.get(i)->bboxMin, w.life.all.get(i)->bboxMax});
    phase.find(boxes);
    const Pairs expected = everyOverlappingPair(w.life.all);
    EXPECT_EQ(found(phase), expected) << "round " << round;
    // The sweep split in ranges, as the workers share it, meets the same pairs once each.
    std::vector<const void*> owners;
    for (int i = 0; i < w.life.all.size(); ++i) owners.push_back(w.life.all.get(i));
    if (carrying.sort(boxes, owners)) {
      Pairs swept;
      const int n = carrying.sortedCount();
      for (const auto& [begin, end] : {std::pair(0, n / 3), std::pair(n / 3, n / 2), std::pair(n / 2, n)})
        carrying.sweep(begin, end, [&](int i, int j) { swept.push_back({i, j}); });
      std::sort(swept.begin(), swept.end());
      EXPECT_EQ(swept, expected) << "round " << round;
    }
    if (round == 0) {
      EXPECT_GE(expected.size(), 10u);
    }
  }
  setTrigPath(before);
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

TEST(PhysicsContact, SharedStepWithABoxThatIsNotANumberPushesAsOneThreadDoes) {
  // Every range of a shared sweep sorts the boxes itself: a box that is not
  // a number must stop all of them, and the pairs be tested once, not per range.
  const auto run = [](int threads) {
    World w;
    w.life.setStepThreads(threads);
    for (int i = 0; i < 12; ++i) w.ball({1 + 0.5 * i, 1, 0.2});  // each pushes its neighbours
    w.ball({NAN, 1, 0.2});
    const long bar = Life::minWorkToShare;
    Life::minWorkToShare = 0;
    for (int step = 0; step < 3; ++step) w.life.go();
    Life::minWorkToShare = bar;
    std::vector<std::uint64_t> velocities;  // as bits: the odd ball's may not be a number
    for (int i = 0; i < w.life.all.size(); ++i) velocities.push_back(std::bit_cast<std::uint64_t>(w.life.all.get(i)->getSes(0)->v.x));
    return velocities;
  };
  const std::vector<std::uint64_t> alone = run(1);
  EXPECT_NE(std::bit_cast<double>(alone[0]), 0);
  EXPECT_EQ(run(2), alone);
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
  // On two threads the second ball lies in the other range, which applies
  // its contacts itself: it must still see that the eater's ends ate first.
  onOneAndTwoThreads([](World& w) {
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
  });
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

using testing_life::finite;

using testing_life::randomF1;

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

using testing_world::MessageCatcher;

std::vector<std::string> texts(const MessageCatcher& m) {
  std::vector<std::string> out;
  for (const LogEntry& e : m.entries) out.push_back(e.message);
  return out;
}

// The message catchers of the tests set the run flag back that critical findings clear.
struct ValidityChecker : ::testing::Test {
  World w;
};

TEST_F(ValidityChecker, MassBoundsAreValidJustOutsideIsNot) {
  w.rules.debug = 1;
  org* c = w.creature("p:m=0.1\np:1,m=10\nj:0,1", {10, 10, 10});
  MessageCatcher m;
  w.life.check("go() #2");
  EXPECT_TRUE(m.entries.empty());
  c->getSes(0)->m = 0.09;
  w.life.check("go() #2");
  EXPECT_EQ(m.single(), "debug::go() #2 critical: invalid ses->m");
  EXPECT_FALSE(runFlag());
}

TEST_F(ValidityChecker, SilentWhenDebugIsOff) {
  org* c = w.creature("p:m=0.09", {10, 10, 10});
  c->typ = 5;
  c->drogawiek = 16;
  MessageCatcher m;
  w.life.go();
  w.life.check("jedenkrok() #1");
  EXPECT_TRUE(m.entries.empty());
  EXPECT_TRUE(runFlag());
}

TEST_F(ValidityChecker, StepChecksAtItsFiveLabelsInOrder) {
  w.rules.debug = 1;
  org* c = w.creature("p:", {10, 10, 10});
  c->typ = 5;
  MessageCatcher m;
  w.life.go();
  std::vector<std::string> labels;
  for (const LogEntry& e : m.entries) {
    EXPECT_EQ(e.message, "invalid org->typ");
    labels.push_back(e.function);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"go() #1", "go() #2", "go() #3", "go() #3", "go() #4"}));
}

TEST_F(ValidityChecker, ReportsEveryFindingOfAnObject) {
  org* c = w.creature("p:\np:1\nj:0,1\nneu:0\ninp:0,1", {10, 10, 10});
  c->wiek = 10;
  c->drogawiek = 16;
  ses* s = c->getSes(0);
  s->p.x = 1000;  // a bound: valid
  s->v.y = 100.5;
  s->o.z.x = std::nan("");
  s->tarcie = -0.1;
  s->wchl = 1.5;
  est* k = c->getEst(0);
  k->r.z = 11;
  k->r0.x = -11;
  k->ruch = 1.01;
  k->asym = 10.5;
  k->odpor = -1;
  k->zakz = 20;
  c->getSes(1)->owner = nullptr;
  neuro* n = c->getNeuro(0);
  n->stan = 1.5;
  n->nstan = -11;
  n->sstan = 10.5;
  n->typster = 3;
  n->input(0)->typ = 7;
  n->input(0)->w = 2000;
  n->kto = nullptr;
  MessageCatcher m;
  checkObject(*c, "jedenkrok() #3");
  EXPECT_EQ(texts(m), (std::vector<std::string>{
                          "drogawiek>wiek", "invalid ses->v", "invalid ses->o.z", "invalid ses->tarcie",
                          "invalid ses->wchl", "invalid est->e", "invalid est->r", "invalid est->r0",
                          "invalid est->ruch", "invalid est->asym", "invalid est->odpor", "invalid est->zakz",
                          "invalid neuro->kto", "invalid neuro->stan", "invalid neuro->nstan",
                          "invalid neuro->sstan", "invalid neuro->typster", "invalid wej->typ",
                          "invalid wej->w"}));
}

}  // namespace
}  // namespace vorlund

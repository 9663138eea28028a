#include <gtest/gtest.h>

#include <vector>

#include "life_test_support.h"
#include "world/physics_constants.h"

namespace vorlund {
namespace {

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
    EXPECT_EQ(s->contact, 0);
    EXPECT_DOUBLE_EQ(w.life.damp, damp);
    // The second step adds gravity to the damped velocity.
    w.life.go();
    EXPECT_DOUBLE_EQ(s->v.z, (-0.005 * damp - 0.005) * damp);
    EXPECT_EQ(steps, 2);  // end-of-step hooks run once per step
  }
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

struct TouchLog {
  std::vector<std::pair<org*, ses*>> calls;
  static void hook(void* arg, org* who, ses* end) { static_cast<TouchLog*>(arg)->calls.push_back({who, end}); }
};

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
  org* o = w.creature("p:m=0\np:1,m=-1\nj:0,1", {10, 10, 5});
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

}  // namespace
}  // namespace vorlund

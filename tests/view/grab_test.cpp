#include "view/grab.h"

#include <gtest/gtest.h>

#include <memory>

#include "sim/symulator.h"
#include "support/message_capture.h"
#include "view/camera.h"

namespace vorlund {
namespace {

class GrabTest : public ::testing::Test {
 protected:
  org* creature() { return sim.startCreature(std::make_unique<org>(&sim.geneticsContext(), "XX")); }
  void steps(int n) {
    for (int i = 0; i < n; ++i) sim.jedenkrok();
  }

  test_support::MessageCapture messages;
  symulator sim;
};

TEST_F(GrabTest, LiftHoldSettleRelease) {
  org* c = creature();
  ASSERT_NE(c, nullptr);
  Grab grab(sim);
  grab.start(*c, 0);
  EXPECT_TRUE(grab.active());
  EXPECT_EQ(grab.counter(), -kGrabSpan);
  EXPECT_FALSE(c->flags & ORG_STATS);
  const double start = grab.pointer().z;
  steps(kGrabSpan);  // lifting: the counter climbs to 0 and stays there
  EXPECT_EQ(grab.counter(), 0);
  EXPECT_GT(grab.pointer().z, start);
  grab.movePointer(3, -2);
  steps(5);  // held: the end sits on the pointer
  EXPECT_EQ(grab.counter(), 0);
  EXPECT_NEAR((c->getSes(0)->p - grab.pointer()).length(), 0, 0.5);
  WorldBox box;
  stickEndBox(*c, box);
  EXPECT_GT(box.min.z, sim.world.waterLevel());
  grab.releaseButton();
  EXPECT_EQ(grab.counter(), 1);
  steps(kGrabSpan - 2);
  EXPECT_TRUE(grab.active());
  steps(1);
  EXPECT_FALSE(grab.active());
  EXPECT_EQ(c->center, c->prevCenter);
  EXPECT_TRUE(c->releaseHooks.empty());
}

TEST_F(GrabTest, CreatureDestroyedMidGrabEndsIt) {
  org* c = creature();
  ASSERT_NE(c, nullptr);
  Grab grab(sim);
  grab.start(*c, 1);
  steps(3);
  sim.removeAllObjects();
  EXPECT_FALSE(grab.active());
  steps(3);  // the hook stays quiet afterwards
  EXPECT_FALSE(grab.active());
}

TEST_F(GrabTest, NewGrabEndsTheOldAndLettingGoKeepsOtherHooksRunning) {
  org* a = creature();
  org* b = creature();
  ASSERT_TRUE(a && b);
  int calls = 0;
  Grab grab(sim);
  grab.start(*a, 0);
  sim.stepHooks.push_back({[](void* n) { ++*static_cast<int*>(n); }, &calls});
  grab.start(*b, 0);
  EXPECT_TRUE(a->releaseHooks.empty());
  EXPECT_EQ(grab.creature(), b);
  grab.releaseButton();
  steps(kGrabSpan + 2);  // the grab lets go from inside the hooks
  EXPECT_FALSE(grab.active());
  EXPECT_EQ(calls, kGrabSpan + 2);
  grab.start(*a, 99);  // no such end: nothing starts
  EXPECT_FALSE(grab.active());
}

}  // namespace
}  // namespace vorlund

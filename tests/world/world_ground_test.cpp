#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "world/world_map.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_world::makeBlocks;

void expectNear(const Vec3& a, const Vec3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-9);
  EXPECT_NEAR(a.y, b.y, 1e-9);
  EXPECT_NEAR(a.z, b.z, 1e-9);
}

TEST(WorldGround, FenceHoldsPointsInsideTheSquareOnFlatGroundAtZero) {
  world w;  // flat, 50, fence
  Vec3 q;
  EXPECT_TRUE(w.insideGround({-0.3, 10, 1}, q));
  EXPECT_EQ(q, Vec3(0, 10, 1));
  EXPECT_TRUE(w.insideGround({51, -2, -1}, q));
  EXPECT_EQ(q, Vec3(50, 0, 0));
  EXPECT_FALSE(w.insideGround({50, 50, 0}, q));  // on the fence is still in

  w.vars.wrldbnd = BOUNDARY_NONE;
  EXPECT_FALSE(w.insideGround({-0.3, 10, 1}, q));
  EXPECT_EQ(q, Vec3(-0.3, 10, 1));
  EXPECT_TRUE(w.insideGround({-3, 10, -1}, q));  // the plane z = 0 goes on outside
  EXPECT_EQ(q, Vec3(-3, 10, 0));
  w.vars.wrldbnd = BOUNDARY_TELEPORT;
  EXPECT_FALSE(w.insideGround({70, 10, 2}, q));
  // Flat ground is the plane at zero.
  EXPECT_TRUE(w.insideGround({10, 20, -0.5}, q));
  EXPECT_EQ(q, Vec3(10, 20, 0));
  EXPECT_FALSE(w.insideGround({10, 20, 0}, q));
  EXPECT_FALSE(w.insideGround({10, 20, NAN}, q));
  EXPECT_EQ(w.height(10, 20), 0.0);
}

// "m 3 2 555 959", size 50: cells 10 wide and 12.5 deep; the block of height 4
// at world cell (1, 1) spans x 10..20 and y 12.5..25, with 0 all around it.
TEST(WorldGround, BlockSidesPushOutThroughTheNearerSide) {
  world w;
  makeBlocks(w, "m 3 2 555 959");
  Vec3 q;
  // Close to the right side, deep below the top: out to the right, same height.
  EXPECT_TRUE(w.insideGround({19.5, 18.75, 2}, q));
  expectNear(q, {20, 18.75, 2});
  // Close to the left side and below the neighbour's height: onto its level.
  EXPECT_TRUE(w.insideGround({10.2, 18.75, -1}, q));
  expectNear(q, {10, 18.75, 0});
  // Close to the upper side.
  EXPECT_TRUE(w.insideGround({15, 24.8, 1}, q));
  expectNear(q, {15, 25, 1});
  // In the corner the y side wins and keeps the original x.
  EXPECT_TRUE(w.insideGround({19.8, 24.9, 1}, q));
  expectNear(q, {19.8, 25, 1});
  // Shallow below the top: straight up.
  EXPECT_TRUE(w.insideGround({15, 18.75, 3.5}, q));
  expectNear(q, {15, 18.75, 4});
  EXPECT_TRUE(w.insideGround({15, 18.75, 4}, q));  // on the top counts as touching
  EXPECT_FALSE(w.insideGround({15, 18.75, 4.01}, q));
  EXPECT_EQ(q, Vec3(15, 18.75, 4.01));
  // A low cell next to the block does not push toward it.
  EXPECT_TRUE(w.insideGround({20.5, 18, -0.5}, q));
  expectNear(q, {20.5, 18, 0});
}

TEST(WorldGround, FarEdgesAndRoundingNeverReadBeyondTheGrid) {
  world w;
  makeBlocks(w, "m 3 2 555 959");
  Vec3 q;
  EXPECT_TRUE(w.insideGround({50, 20, -1}, q));
  EXPECT_EQ(q, Vec3(50, 20, 0));
  EXPECT_FALSE(w.insideGround({20, 50, 1}, q));
  // Size 13 with one map cell: x just below 13 divides to exactly 3 cells.
  makeBlocks(w, "m 1 1 9", 13);
  ASSERT_EQ(w.activeType(), WORLD_BLOCKS);
  const double edge = std::nextafter(13.0, 0.0);
  EXPECT_EQ(w.height(edge, edge), 0.0);
  EXPECT_TRUE(w.insideGround({edge, edge, -10}, q));  // deep enough to look at every side
  EXPECT_EQ(w.height(5, 5), 4.0);
  EXPECT_FALSE(w.insideGround({NAN, 5, 1}, q));
}

TEST(WorldGround, CellsAreToldApartOnlyOnBlocks) {
  world w;
  EXPECT_TRUE(w.sameCell({1, 1, 0}, {40, 40, 0}));
  makeBlocks(w, "m 3 2 555 959");
  EXPECT_TRUE(w.sameCell({10.5, 13, 0}, {19.9, 24.9, 3}));
  EXPECT_FALSE(w.sameCell({19.9, 13, 0}, {20.1, 13, 0}));
  EXPECT_FALSE(w.sameCell({15, 24.9, 0}, {15, 25.1, 0}));
  // Truncation toward zero: both sides of x = 0 share a column.
  EXPECT_TRUE(w.sameCell({-0.5, 13, 0}, {0.5, 13, 0}));
  EXPECT_FALSE(w.sameCell({1e300, 13, 0}, {0.5, 13, 0}));
}

// "m 3 1 9-1", size 50: the ramp at world cell (2, 1) falls from 4 at x = 20
// to -4 at x = 30.
TEST(WorldGround, RampSurfaceAndTheFootOfThePerpendicular) {
  world w;
  makeBlocks(w, "m 3 1 9-1");
  EXPECT_NEAR(w.height(22, 25), 2.4, 1e-12);
  EXPECT_NEAR(w.height(25, 25), 0.0, 1e-12);
  Vec3 q;
  // One unit below the middle: out along the ramp's normal, onto its surface.
  const Vec3 p(25, 25, -1);
  ASSERT_TRUE(w.insideGround(p, q));
  const double t = 10.0 / 164.0;  // d w / (w^2 + s^2) with d = 1, w = 10, s = -8
  expectNear(q, {25 + 8 * t, 25, -1 + 10 * t});
  EXPECT_NEAR(q.z, w.height(q.x, q.y), 1e-9);
  // The push is along the normal (0.8, 0, 1) of the slope.
  EXPECT_NEAR((q.x - p.x) / (q.z - p.z), 0.8, 1e-9);
  EXPECT_FALSE(w.insideGround({25, 25, 0.1}, q));
  // Near the lower side, deeper than the distance to it: out sideways.
  EXPECT_TRUE(w.insideGround({29.9, 25, -4.5}, q));
  expectNear(q, {30, 25, -4});

  // The same along y: "m 1 3 9|1" rises from -4 at y = 20 to 4 at y = 30.
  makeBlocks(w, "m 1 3 9|1");
  EXPECT_NEAR(w.height(25, 25), 0.0, 1e-12);
  ASSERT_TRUE(w.insideGround(p, q));
  expectNear(q, {25, 25 - 8 * t, -1 + 10 * t});
  EXPECT_NEAR(q.z, w.height(q.x, q.y), 1e-9);
}

TEST(WorldTeleport, ObjectsThatLeftTheSquareComeBackAtTheOppositeEdge) {
  world w;
  w.vars.wrldbnd = BOUNDARY_TELEPORT;
  Vec3 shift;
  // Box 52..54 in x: widened it starts at 51 > 50, so it moves back by 51.
  EXPECT_TRUE(w.teleportShift({{52, 10, 0}, {54, 12, 1}}, {}, shift));
  EXPECT_EQ(shift, Vec3(-51, 0, 0));
  // Left across x = 0 and y = 0 at once: widened max -1, so shift by 51.
  EXPECT_TRUE(w.teleportShift({{-5, -5, 0}, {-2, -2, 1}}, {}, shift));
  EXPECT_EQ(shift, Vec3(51, 51, 0));
  // Partly inside (its widened box still reaches the square): stays.
  EXPECT_FALSE(w.teleportShift({{50.5, 10, 0}, {52, 12, 1}}, {}, shift));
  EXPECT_EQ(shift, Vec3());

  // Another creature where it would land: it waits; a box that only touches does not block.
  const std::vector<WorldBox> blocking{{{1, 10, 0}, {2, 11, 1}}};
  EXPECT_FALSE(w.teleportShift({{52, 10, 0}, {54, 12, 1}}, blocking, shift));
  EXPECT_EQ(shift, Vec3());
  const std::vector<WorldBox> touching{{{4, 10, 0}, {6, 11, 1}}};  // landed box ends at x = 4
  EXPECT_TRUE(w.teleportShift({{52, 10, 0}, {54, 12, 1}}, touching, shift));
  const std::vector<WorldBox> above{{{1, 10, 5}, {2, 11, 6}}};  // apart in z
  EXPECT_TRUE(w.teleportShift({{52, 10, 0}, {54, 12, 1}}, above, shift));
}

}  // namespace
}  // namespace vorlund

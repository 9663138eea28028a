// The 3D renderer's plain rules and its ground mesh, without a GL context.
#include "view/render_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "view/ground_mesh.h"
#include "world/org.h"

namespace vorlund {
namespace {

void makeWorld(world& w, int type, double size, int boundaries, const std::string& map = {}) {
  w.vars.wrldtyp = type;
  w.vars.wrldsiz = size;
  w.vars.wrldbnd = boundaries;
  w.vars.wrldmap = map;
  w.build();
}

TEST(RenderRulesTest, FieldOfViewNarrowsForWideViewsAndSurvivesZeroHeight) {
  EXPECT_DOUBLE_EQ(fieldOfView(300, 400), 60);
  EXPECT_DOUBLE_EQ(fieldOfView(400, 400), 60);
  EXPECT_DOUBLE_EQ(fieldOfView(800, 400), 30);
  EXPECT_TRUE(std::isfinite(fieldOfView(640, 0)));
  EXPECT_GT(fieldOfView(640, 0), 0);
}

TEST(RenderRulesTest, UnderwaterColoursMixWithTheWater) {
  const Rgba sky = aboveWaterColours()[COL_SKY];
  const Rgba under = underwaterVariant(sky);
  EXPECT_FLOAT_EQ(under.r, 0.7f * 0.7f);
  EXPECT_FLOAT_EQ(under.g, 0.7f * 0.7f + 0.3f * 0.5f);
  EXPECT_FLOAT_EQ(under.b, 0.7f * 0.6f + 0.3f);
  EXPECT_FLOAT_EQ(under.a, 0.3f);
  EXPECT_EQ(underwaterColours()[COL_WATER], (Rgba{0.2f, 0.8f, 1.0f, 0.5f}));
}

TEST(RenderRulesTest, PaletteRampsDarkenTowardsTheLowEndAndLightenTowardsTheHigh) {
  const Rgba c{0.4f, 0.6f, 1.0f, 1.0f};
  // Muscle ramp 43..48: mid 45.
  EXPECT_EQ(paletteRamp(c, 43, 48, 45), c);
  const Rgba low = paletteRamp(c, 43, 48, 43), high = paletteRamp(c, 43, 48, 48);
  EXPECT_FLOAT_EQ(low.r, 0.2f);
  EXPECT_FLOAT_EQ(high.r, 0.7f);
  EXPECT_FLOAT_EQ(high.b, 1.0f);
  EXPECT_FLOAT_EQ(paletteRamp(c, 43, 48, 44).g, 0.6f - 0.25f * 0.6f);
}

TEST(RenderRulesTest, StickColourFollowsItsPropertiesAndRemainsAreGrey) {
  org o(nullptr);
  ses* a = o.addSes();
  ses* b = o.addSes();
  est* k = o.addEst(a, b);
  k->odpor = 1;
  k->asym = 0;
  a->wchl = 0.5;
  EXPECT_EQ(stickColour(*k, o), (Rgba{1.0f, 0.3f, 0.65f, 1.0f}));
  k->odpor = -3;  // out-of-range properties stay within the colour range
  k->asym = std::nan("");
  EXPECT_EQ(stickColour(*k, o), (Rgba{0.3f, 0.3f, 0.65f, 1.0f}));
  o.typ = ORG_FOOD;
  EXPECT_EQ(stickColour(*k, o), aboveWaterColours()[COL_CORPSE]);
}

TEST(RenderRulesTest, BallRadiusIsTheEnergyUpToHalf) {
  EXPECT_DOUBLE_EQ(ballRadius(0.2), 0.2);
  EXPECT_DOUBLE_EQ(ballRadius(7), 0.5);
  EXPECT_DOUBLE_EQ(ballRadius(-1), 0);
  EXPECT_DOUBLE_EQ(ballRadius(std::nan("")), 0);
}

TEST(RenderRulesTest, ShortOrSteepSticksCastNoShadow) {
  world flat;
  flat.build();
  Vec3 q[4];
  ASSERT_TRUE(stickShadow(flat, {1, 1, 2}, {2, 1, 3}, q));
  EXPECT_DOUBLE_EQ(q[0].z, -0.1);
  EXPECT_NEAR((q[3] - q[0]).length(), 0.2, 1e-12);
  EXPECT_FALSE(stickShadow(flat, {1, 1, 2}, {1.01, 1.03, 3}, q));
  world blocks;
  makeWorld(blocks, WORLD_BLOCKS, 10, BOUNDARY_FENCE, "m 3 1 090");  // one cell 9 units above its neighbours, 2 wide
  ASSERT_EQ(blocks.activeType(), WORLD_BLOCKS);
  // From the low cell up onto the block: 9 units of rise over ~1.5 across.
  EXPECT_FALSE(stickShadow(blocks, {3.0, 5, 0}, {4.5, 5, 5}, q));
  EXPECT_TRUE(stickShadow(blocks, {4.2, 5, 5}, {5.5, 5, 5}, q));
}

TEST(GroundMeshTest, GridStepsHalveTheSideToAtMostSeven) {
  const GroundGrid g20 = groundGrid(20);
  EXPECT_EQ(g20.n, 5);
  EXPECT_DOUBLE_EQ(g20.step, 4.0001);
  EXPECT_EQ(groundGrid(50).n, 6);
  EXPECT_EQ(groundGrid(7).n, 7);
}

TEST(GroundMeshTest, FlatCheckerStartsLightAndAlternates) {
  world w;
  makeWorld(w, WORLD_FLAT, 20, BOUNDARY_NONE);
  const GroundMesh mesh = buildGroundMesh(w, true);
  ASSERT_EQ(mesh.quads.size(), 25u);
  EXPECT_EQ(mesh.quads[0].parity, 0);
  EXPECT_EQ(mesh.quads[1].parity, 1);
  EXPECT_EQ(mesh.quads[5].parity, 1);  // next row starts dark
  EXPECT_DOUBLE_EQ(mesh.quads[0].v[0].z, -0.1);
  EXPECT_TRUE(buildGroundMesh(w, false).quads.empty());
}

TEST(GroundMeshTest, FenceHasEightBoxesPerStepAndTeleportAFourPartBand) {
  world w;
  makeWorld(w, WORLD_FLAT, 20, BOUNDARY_FENCE);
  EXPECT_EQ(buildGroundMesh(w, false).fence.size(), 5u * 8);
  makeWorld(w, WORLD_FLAT, 20, BOUNDARY_TELEPORT);
  const GroundMesh band = buildGroundMesh(w, false);
  ASSERT_EQ(band.quads.size(), 4u);
  EXPECT_DOUBLE_EQ(band.quads[0].v[0].x, -5);
  EXPECT_DOUBLE_EQ(band.quads[1].v[2].y, 25);
}

TEST(GroundMeshTest, BlockTopsLieWhereThePhysicsPutsTheGround) {
  world w;
  // Flat, ramp-in-x and ramp-in-y cells among steps of different heights.
  makeWorld(w, WORLD_BLOCKS, 30, BOUNDARY_NONE, "m 4 3 5-77|9\n3|5-6\n8996");
  ASSERT_EQ(w.activeType(), WORLD_BLOCKS);
  const GroundMesh mesh = buildGroundMesh(w, true);
  int tops = 0, walls = 0;
  for (const GroundQuad& q : mesh.quads) {
    if (q.part != GroundPart::Top) {
      ++walls;
      continue;
    }
    ++tops;
    // Points well inside the quad (bilinear over its corners) against the world.
    for (double s : {0.25, 0.5, 0.75}) {
      for (double t : {0.25, 0.5, 0.75}) {
        const Vec3 a = q.v[0] + (q.v[1] - q.v[0]) * s, b = q.v[3] + (q.v[2] - q.v[3]) * s;
        const Vec3 p = a + (b - a) * t;
        EXPECT_NEAR(p.z, w.height(p.x, p.y) - 0.1, 1e-9) << p.x << "," << p.y;
      }
    }
  }
  EXPECT_EQ(tops, (4 + 2) * (3 + 2));
  EXPECT_GT(walls, 0);
}

}  // namespace
}  // namespace vorlund

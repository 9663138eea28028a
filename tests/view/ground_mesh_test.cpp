#include "view/ground_mesh.h"

#include <gtest/gtest.h>

namespace vorlund {
namespace {

void makeWorld(world& w, int type, double size, int boundaries, const std::string& map = {}) {
  w.vars.wrldtyp = type;
  w.vars.wrldsiz = size;
  w.vars.wrldbnd = boundaries;
  w.vars.wrldmap = map;
  w.build();
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

// The terrain: block maps and their seeded random generator, the ground and
// the edges that hold or teleport what touches them, and the world settings
// that rebuild it.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/record.h"
#include "core/strutil.h"
#include "world/step_trig.h"
#include "world/seeded_random.h"
#include "world/world_map.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_world::makeBlocks;
using testing_world::MessageCatcher;

std::vector<double> heightsOf(const BlockMap& m) {
  std::vector<double> h;
  for (const MapCell& c : m.cells) h.push_back(c.height);
  return h;
}

std::vector<double> randomTerrain(const std::string& text) {
  BlockMap m;
  std::string problem;
  EXPECT_TRUE(buildBlockMap(text, m, problem)) << problem;
  return heightsOf(m);
}

// Eight draws after seeding; the generator is disturbed first so that only the seed counts.
std::vector<int> drawsAfterSeed(uint64_t seed) {
  seededRandom(123);
  seedSeededRandom(seed);
  std::vector<int> d;
  for (int i = 0; i < 8; ++i) d.push_back(seededRandom(1000));
  return d;
}

TEST(SeededRandom, SeedsWithNegatedArgumentDrawsFromLowBitsAndLargeSeedsRepeat) {
  EXPECT_EQ(seededRandom(0), 0);  // seeding answers 0
  // u = 3680, then u = 3679 * 3677 + 3680 = 13531363, whose low 16 bits are 30947.
  EXPECT_EQ(seededRandom(10), 0);
  EXPECT_EQ(seededRandom(10), 7);
  seededRandom(0);
  EXPECT_EQ(seededRandom(65536), 3680);
  EXPECT_EQ(seededRandom(65536), 30947);
  // Small seeds match the seeding draw.
  for (int seed : {0, 7, 32767}) {
    seededRandom(-seed);
    const int first = seededRandom(1000);
    EXPECT_EQ(drawsAfterSeed(static_cast<uint64_t>(seed))[0], first) << seed;
  }
  EXPECT_EQ(drawsAfterSeed(40000), drawsAfterSeed(40000));
  EXPECT_NE(drawsAfterSeed(40000), drawsAfterSeed(40001));
}

TEST(BlockMap, DrawnMapFillsFromTheTopRowWithARingAtZero) {
  world w;
  makeBlocks(w, "m 3 2 555 959");
  ASSERT_EQ(w.activeType(), WORLD_BLOCKS);
  EXPECT_EQ(w.columns(), 7);
  EXPECT_EQ(w.rows(), 6);
  EXPECT_DOUBLE_EQ(w.cellWidth(), 10.0);
  EXPECT_DOUBLE_EQ(w.cellDepth(), 12.5);
  const BlockMap& m = w.blocks();
  const double top[] = {0, 0, 0}, bottom[] = {4, 0, 4};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(m.at(x + 2, 3).height, top[x]) << x;
    EXPECT_EQ(m.at(x + 2, 2).height, bottom[x]) << x;
  }
  // World cell (1, 1) is the bottom-left map cell.
  EXPECT_EQ(w.height(15, 20), 4.0);
  EXPECT_EQ(w.height(25, 20), 0.0);
  EXPECT_EQ(w.height(35, 20), 4.0);
  EXPECT_EQ(w.height(15, 30), 0.0);
  EXPECT_EQ(w.height(5, 20), 0.0);
  EXPECT_EQ(w.height(-1, 20), 0.0);
  EXPECT_EQ(w.height(50, 20), 0.0);
}

TEST(BlockMap, DrawnMapSkipsOtherCharactersIgnoresWhatDoesNotFitAndRampsTakeTheMiddle) {
  BlockMap m;
  std::string problem;
  ASSERT_TRUE(buildBlockMap("m 2 1 5-9", m, problem));
  EXPECT_EQ(m.at(2, 2).kind, CELL_LEVEL);
  // The ramp sits between the block at 0 and the ring at 0, so it flattens.
  EXPECT_EQ(m.at(3, 2).kind, CELL_LEVEL);
  EXPECT_EQ(m.at(3, 2).height, 0.0);

  ASSERT_TRUE(buildBlockMap("m 2 2 a0b,1\n9", m, problem));
  EXPECT_EQ(m.at(2, 3).height, -5.0);
  EXPECT_EQ(m.at(3, 3).height, -4.0);
  EXPECT_EQ(m.at(2, 2).height, 4.0);
  EXPECT_EQ(m.at(3, 2).height, 0.0);  // no character left for it

  // Ramps take the middle of their neighbours.
  ASSERT_TRUE(buildBlockMap("m 3 1 9-1", m, problem));
  EXPECT_EQ(m.at(3, 2).kind, CELL_RAMP_X);
  EXPECT_EQ(m.at(3, 2).height, 0.0);
  ASSERT_TRUE(buildBlockMap("m 1 3 9|1", m, problem));
  EXPECT_EQ(m.at(2, 3).kind, CELL_RAMP_Y);
  EXPECT_EQ(m.at(2, 3).height, 0.0);
  // A ramp next to a ramp reads the neighbour as already settled: left to right.
  ASSERT_TRUE(buildBlockMap("m 3 1 9--", m, problem));
  EXPECT_EQ(m.at(3, 2).height, 2.0);  // (4 + 0) / 2, the right ramp still at 0
  EXPECT_EQ(m.at(4, 2).height, 1.0);  // (2 + 0) / 2
  EXPECT_EQ(m.at(4, 2).kind, CELL_RAMP_X);
}

TEST(BlockMap, RandomMapsRepeatForTheSameText) {
  const std::vector<double> a = randomTerrain("r 10 10 7");
  seededRandom(5);
  seededRandom(100);
  EXPECT_EQ(randomTerrain("r 10 10 7"), a);
  EXPECT_NE(randomTerrain("r 10 10 8"), a);
  EXPECT_EQ(randomTerrain("r 10 10"), randomTerrain("r 10 10 0"));
  EXPECT_EQ(randomTerrain("r 10 10 -7"), a);
  EXPECT_EQ(randomTerrain("r 4 4 99999999999999999999999"), randomTerrain("r 4 4 99999999999999999999999"));

  // Seed 0 draws 0 and 7 first, x outer and y inner: cell (2, 2), then (2, 3).
  BlockMap m;
  std::string problem;
  ASSERT_TRUE(buildBlockMap("r 1 2 0", m, problem));
  EXPECT_EQ(m.at(2, 2).height, -5.0);
  EXPECT_EQ(m.at(2, 3).height, 2.0);
  for (double h : heightsOf(m)) {
    EXPECT_GE(h, -5.0);
    EXPECT_LE(h, 4.0);
  }
}

TEST(BlockMap, MalformedTextsLeaveAFlatWorldAndSaySo) {
  MessageCatcher log;
  for (const char* text : {"x 3 3", "m 0 4", "m 3", "", "r", "m -2 3 555", "r 5000 3", "m 3 99999999999999999999"}) {
    log.entries.clear();
    world w;
    makeBlocks(w, text);
    EXPECT_EQ(w.activeType(), WORLD_FLAT) << text;
    EXPECT_TRUE(w.blocks().cells.empty()) << text;
    EXPECT_EQ(w.activeMap(), text);
    Vec3 q;
    EXPECT_TRUE(w.insideGround({10, 10, -0.5}, q)) << text;
    EXPECT_EQ(q, Vec3(10, 10, 0));
    ASSERT_EQ(log.entries.size(), 1u) << text;
    EXPECT_EQ(log.entries[0].module, "world");
    EXPECT_EQ(log.entries[0].level, LOG_WARNING);
  }
  // A flat world does not read its map at all.
  log.entries.clear();
  world flat;
  flat.vars.wrldmap = "nonsense";
  flat.build();
  EXPECT_TRUE(log.entries.empty());
}

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

// The AVX lanes, in both builds, against the plain tests, bit for bit:
// random points over ramps both ways, steps up and down and the ring, on
// cells' sides and the far edges (where size 13 with one cell rounds a cell
// too far), off the square (held by the fence or not) and NaN, with every
// lane in every role.
TEST(WorldGround, FourPointsAtOnceGetThePlainTestsBits) {
  if (!trigPathAvailable(TrigPath::Avx)) GTEST_SKIP() << "no AVX on this processor";
  struct Terrain {
    const char* map;
    double size;
  };
  const TrigPath before = trigPath();
  for (TrigPath path : {TrigPath::Avx, TrigPath::Avx512}) {
    if (!setTrigPath(path)) continue;  // a processor without AVX-512VL
    SCOPED_TRACE(trigPathName(path));
    for (const Terrain& terrain : {Terrain{"m 5 4 19-73 7|2-8 3|955 2-|45", 20}, Terrain{"m 1 1 9", 13}}) {
      world w;
      makeBlocks(w, terrain.map, terrain.size);
      ASSERT_EQ(w.activeType(), WORLD_BLOCKS);
      std::mt19937_64 draw(7);
      std::uniform_real_distribution<double> across(-1, terrain.size + 1), up(-6, 5);
      const double farEdge = std::nextafter(terrain.size, 0.0);
      for (int boundary : {BOUNDARY_NONE, BOUNDARY_FENCE}) {
        w.vars.wrldbnd = boundary;
        for (int round = 0; round < 4000; ++round) {
          double p[3][kGroundLanes], q[3][kGroundLanes];
          for (int i = 0; i < kGroundLanes; ++i) {
            p[0][i] = across(draw);
            p[1][i] = across(draw);
            p[2][i] = up(draw);
          }
          const int lane = round % kGroundLanes;
          if (round % 7 == 0) p[round % 3][lane] = NAN;
          if (round % 5 == 0) p[0][lane] = w.cellWidth() * (round % 8);
          if (round % 11 == 0) p[round % 2][lane] = farEdge;
          const int inside = w.insideGroundOfFour(p, q);
          // The same points paired with the next lane's, for telling cells apart.
          double points[kGroundLanes][4] = {};
          const double* first[kGroundLanes];
          const double* second[kGroundLanes];
          for (int i = 0; i < kGroundLanes; ++i) {
            for (int axis = 0; axis < 3; ++axis) points[i][axis] = p[axis][i];
            first[i] = points[i];
            second[i] = points[(i + 1) % kGroundLanes];
          }
          const int other = w.otherCellsOfFour(first, second);
          // Read from the points' own addresses, the same answers.
          double qAt[3][kGroundLanes];
          ASSERT_EQ(w.insideGroundOfFourAt(first, qAt), inside) << round;
          ASSERT_EQ(std::memcmp(qAt, q, sizeof q), 0) << round;
          for (int i = 0; i < kGroundLanes; ++i) {
            const Vec3 at(p[0][i], p[1][i], p[2][i]);
            Vec3 expected;
            SCOPED_TRACE(ssprintf("%s round %d lane %d at %.17g %.17g %.17g", terrain.map, round, i, at.x, at.y, at.z));
            const int next = (i + 1) % kGroundLanes;
            ASSERT_EQ((other >> i & 1) == 0, w.sameCell(at, Vec3(p[0][next], p[1][next], p[2][next])));
            ASSERT_EQ((inside >> i & 1) != 0, w.insideGround(at, expected));
            using Bits = std::array<uint64_t, 3>;
            ASSERT_EQ(std::bit_cast<Bits>(Vec3(q[0][i], q[1][i], q[2][i])), std::bit_cast<Bits>(expected));
          }
        }
      }
    }
  }
  setTrigPath(before);
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

// Stands in for the simulator's creature lists.
class FakeInhabitants : public WorldInhabitants {
 public:
  bool anyLiving() const override { return living > 0; }
  void removeAllLiving() override {
    living = 0;
    ++removals;
  }
  int living = 3;
  int removals = 0;
};

class WorldParam : public ::testing::Test {
 protected:
  WorldParam() { w.setInhabitants(&crowd); }
  int worldChangedMessages() const { return log.count("World changed - all simulated objects removed"); }
  MessageCatcher log;
  FakeInhabitants crowd;
  world w;
};

TEST_F(WorldParam, SettingTypeSizeOrMapRebuildsTheTerrain) {
  param& p = w.parameters();
  crowd.living = 0;
  EXPECT_EQ(p.set(WRLD_MAP, "m 3 2 555 959"), PSET_CHANGED);
  EXPECT_EQ(w.activeType(), WORLD_FLAT);  // still a flat world
  EXPECT_EQ(w.activeMap(), "m 3 2 555 959");
  EXPECT_EQ(p.setInt(WRLD_TYP, 1), PSET_CHANGED);
  ASSERT_EQ(w.activeType(), WORLD_BLOCKS);
  EXPECT_EQ(w.height(15, 20), 4.0);
  EXPECT_EQ(p.set(WRLD_SIZ, "60"), PSET_CHANGED);
  EXPECT_EQ(w.activeSize(), 60.0);
  EXPECT_DOUBLE_EQ(w.cellWidth(), 12.0);
  EXPECT_EQ(w.height(18, 24), 4.0);
  EXPECT_EQ(p.set(WRLD_SIZ, "5000"), PSET_CHANGED | PSET_HITMAX);
  EXPECT_EQ(w.activeSize(), 200.0);
  // Water and boundaries act at once, without a rebuild.
  EXPECT_EQ(p.set(WRLD_WAT, "2.5"), PSET_CHANGED);
  EXPECT_EQ(w.waterLevel(), 2.5);
  EXPECT_EQ(p.set(WRLD_BND, "0"), PSET_CHANGED);
  Vec3 q;
  EXPECT_FALSE(w.insideGround({-1, 10, 1}, q));
  EXPECT_EQ(p.set(WRLD_MAP, std::string(400, '5')), PSET_CHANGED | PSET_HITMAX);
  EXPECT_EQ(w.activeMap().size(), 300u);
  EXPECT_EQ(w.activeType(), WORLD_FLAT);  // "555..." is not a map
}

TEST_F(WorldParam, ChangingTheWorldRemovesTheCreaturesWithAMessage) {
  param& p = w.parameters();
  // Water level never removes anyone; a flat world that grows keeps them.
  p.set(WRLD_WAT, "5");
  p.set(WRLD_SIZ, "60");
  EXPECT_EQ(crowd.removals, 0);
  EXPECT_EQ(w.activeSize(), 60.0);
  // Shrinking does.
  p.set(WRLD_SIZ, "50");
  EXPECT_EQ(crowd.removals, 1);
  EXPECT_EQ(log.single(), "world::set plain: World changed - all simulated objects removed");
  EXPECT_EQ(w.activeSize(), 50.0);
  // With nobody alive there is nothing to report.
  p.set(WRLD_SIZ, "40");
  EXPECT_EQ(crowd.removals, 1);
  EXPECT_EQ(worldChangedMessages(), 1);
  // A new map text counts even in a flat world; the same text again does not.
  crowd.living = 2;
  p.set(WRLD_MAP, "m 2 2 5555");
  EXPECT_EQ(crowd.removals, 2);
  crowd.living = 2;
  p.set(WRLD_MAP, "m 2 2 5555");
  p.setInt(WRLD_TYP, 0);
  EXPECT_EQ(crowd.removals, 2);
  // Any size change of a blocks world moves its blocks.
  p.setInt(WRLD_TYP, 1);
  EXPECT_EQ(crowd.removals, 3);
  crowd.living = 1;
  p.set(WRLD_SIZ, "45");
  EXPECT_EQ(crowd.removals, 4);
  EXPECT_EQ(worldChangedMessages(), 4);
}

TEST_F(WorldParam, ABadBlocksMapDoesNotKeepRemovingCreatures) {
  param& p = w.parameters();
  p.set(WRLD_MAP, "x 3 3");
  p.setInt(WRLD_TYP, 1);
  EXPECT_EQ(w.activeType(), WORLD_FLAT);
  const int removed = crowd.removals;
  crowd.living = 4;
  // Loading the same settings again sets every value once more.
  p.setInt(WRLD_TYP, 1);
  p.set(WRLD_SIZ, "50");
  p.set(WRLD_MAP, "x 3 3");
  EXPECT_EQ(crowd.removals, removed);
  // Mending the map is a real change.
  p.set(WRLD_MAP, "m 1 1 9");
  EXPECT_EQ(crowd.removals, removed + 1);
  EXPECT_EQ(w.activeType(), WORLD_BLOCKS);
}

// A record names the type before the map: the terrain is built once, from the
// finished settings, and only a map that really fails is reported, once.
TEST_F(WorldParam, ARecordBuildsTheTerrainOnceFromItsFinishedSettings) {
  struct Case {
    const char* map;
    int type;
    int warnings;
  };
  const Case cases[] = {{"m 2 2\n59\n9-", WORLD_BLOCKS, 0}, {"x 3 3", WORLD_FLAT, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.map);
    world from;
    from.parameters().set(WRLD_MAP, c.map);
    from.parameters().setInt(WRLD_TYP, 1);
    from.parameters().set(WRLD_SIZ, "40");
    std::stringstream file;
    ASSERT_EQ(writeRecord(from.parameters(), file), 0);
    std::string section;
    std::getline(file, section);
    MessageCatcher reading;
    world copy;
    readRecord(copy.parameters(), file);
    EXPECT_EQ(copy.activeType(), c.type);
    EXPECT_EQ(copy.activeMap(), c.map);
    EXPECT_EQ(copy.activeSize(), 40.0);
    EXPECT_EQ(reading.countContaining("Cannot use the map"), c.warnings);
    EXPECT_EQ(reading.countContaining(std::string("Cannot use the map \"") + c.map + "\""), c.warnings);
    if (c.type == WORLD_BLOCKS) {
      EXPECT_EQ(copy.height(25, 25), 4.0);  // rebuilt from the map
    }
  }
}

TEST_F(WorldParam, OutOfRangeSizeWrittenDirectlyIsMendedOnBuild) {
  w.vars.wrldsiz = 0;
  w.build();
  EXPECT_EQ(w.activeSize(), kWorldSizeMin);
  EXPECT_EQ(w.vars.wrldsiz, kWorldSizeMin);
  w.vars.wrldsiz = NAN;
  w.build();
  EXPECT_EQ(w.activeSize(), kWorldSizeDefault);
  EXPECT_FALSE(log.entries.empty());
}

}  // namespace
}  // namespace vorlund

#include <gtest/gtest.h>

#include <vector>

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
    EXPECT_EQ(w.height(10, 10), 0.0);
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

}  // namespace
}  // namespace vorlund

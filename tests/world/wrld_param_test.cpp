#include <gtest/gtest.h>

#include <cmath>

#include <sstream>
#include <string>

#include "core/record.h"
#include "world/world_map.h"
#include "world_test_support.h"

namespace vorlund {
namespace {

using testing_world::MessageCatcher;

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

TEST_F(WorldParam, ARecordCarriesTheTerrainToAnotherWorld) {
  param& p = w.parameters();
  p.set(WRLD_MAP, "m 2 2\n59\n9-");
  p.setInt(WRLD_TYP, 1);
  p.set(WRLD_SIZ, "40");
  std::stringstream file;
  ASSERT_EQ(writeRecord(p, file), 0);
  std::string section;
  std::getline(file, section);
  world copy;
  readRecord(copy.parameters(), file);
  EXPECT_EQ(copy.activeType(), WORLD_BLOCKS);
  EXPECT_EQ(copy.activeMap(), "m 2 2\n59\n9-");
  EXPECT_EQ(copy.activeSize(), 40.0);
  EXPECT_EQ(copy.height(25, 25), 4.0);
  EXPECT_EQ(copy.height(15, 25), 0.0);
  EXPECT_EQ(copy.height(15, 15), 4.0);
  EXPECT_EQ(copy.blocks().at(3, 2).kind, CELL_RAMP_X);
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

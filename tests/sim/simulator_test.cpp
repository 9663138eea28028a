#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "core/random.h"
#include "core/record.h"
#include "sim/run_summary.h"
#include "sim/symparam.h"
#include "sim/symulator.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

przodek* addRecord(symulator& s, const std::string& genotype, int popsiz, double lifespan) {
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), genotype, "", "");
  rec->popsiz = popsiz;
  rec->lifespan = lifespan;
  return s.pool.add(std::move(rec));
}

long individuals(const symulator& s) {
  long n = 0;
  for (int i = 0; i < s.pool.size(); ++i) n += s.pool.get(i)->popsiz;
  return n;
}

// Fitness is life span alone, so tests can rank records directly.
void lifeSpanOnly(symulator& s) {
  s.evol.cr_di = 0;
  s.evol.cr_gl = 0;
}

TEST(Simulator, OneSettingsChainSurvivesASaveAndLoad) {
  symulator s;
  // Rules, world, genetics and converter switches answer through one accessor, in that order.
  param& p = s.parameters();
  const int world = p.findId("wrldsiz");
  EXPECT_GT(world, p.findId("filecomm"));
  EXPECT_GT(p.findId("genkonw0"), world);
  p.set(world, "80");
  EXPECT_DOUBLE_EQ(s.world.vars.wrldsiz, 80);

  // The whole chain survives a save and load.
  test_support::ScratchDir dir;
  const std::string path = dir.file("rules.sim");
  p.set(p.findId("MaxCreated"), "7");
  p.set(p.findId("e_meta"), "0.25");
  ASSERT_EQ(s.save(path, FILE_SETTINGS), 0);

  symulator b;
  b.load(path, FILE_SETTINGS);
  std::ostringstream ra, rb;
  writeRecord(s.parameters(), ra);
  writeRecord(b.parameters(), rb);
  EXPECT_EQ(ra.str(), rb.str());
  EXPECT_EQ(b.evol.MaxCreated, 7);
  EXPECT_NE(b.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

TEST(Simulator, TournamentTakesTheFirstOverEmptyCountsElseTheFitterOfTwoDraws) {
  symulator s;
  przodek* first = addRecord(s, "X", 0, 1);
  addRecord(s, "XX", 0, 50);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(s.wylosujprzodka(nullptr), first);
  EXPECT_EQ(symulator().wylosujprzodka(nullptr), nullptr);

  // With counts, it prefers the fitter of two draws.
  symulator t;
  lifeSpanOnly(t);
  seedRandom(11);
  addRecord(t, "X", 1, 1);
  przodek* strong = addRecord(t, "XX", 1, 100);
  int strongWins = 0;
  for (int i = 0; i < 400; ++i) strongWins += t.wylosujprzodka(nullptr) == strong ? 1 : 0;
  // The weak one wins only when both draws fall on it: about a quarter.
  EXPECT_GT(strongWins, 250);
  EXPECT_LT(strongWins, 350);
  // Among genotypes similar to an encoding-4 text, the encoding-1 records all count (other format).
  t.evol.xov_mins = 0.9;
  const std::string other = "/*4*/X>";
  EXPECT_NE(t.wylosujprzodka(&other), nullptr);
}

TEST(Simulator, NothingIsBornWithAllSharesZeroButBallsStillCome) {
  symulator s;
  addRecord(s, "X", 1, 1);
  s.evol.p_nop = s.evol.p_mut = s.evol.p_xov = 0;
  s.evol.feed = 2;
  for (int i = 0; i < 5; ++i) s.jedenkrok();
  EXPECT_EQ(s.creatures.size(), 0);
  EXPECT_EQ(s.food.size(), 2);
  EXPECT_EQ(s.stepCount, 5);

  symulator t;
  addRecord(t, "X", 1, 1);
  t.evol.MaxCreated = 0;
  t.evol.feed = 1;
  t.jedenkrok();
  EXPECT_EQ(t.creatures.size(), 0);
  EXPECT_EQ(t.food.size(), 1);
}

TEST(Simulator, UnchangedOffspringAreBornUpToMaxCreated) {
  symulator s;
  addRecord(s, "XX", 1, 1);
  s.evol.p_mut = s.evol.p_xov = 0;
  s.evol.MaxCreated = 3;
  for (int i = 0; i < 10; ++i) s.jedenkrok();
  EXPECT_EQ(s.creatures.size(), 3);
  EXPECT_EQ(s.creatures.get(0)->genotype, "XX");
  EXPECT_NE(s.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

TEST(Simulator, DeletesDownToCapacityByEachRule) {
  for (int rule = DELETE_RANDOMLY; rule <= DELETE_WORST; ++rule) {
    symulator s;
    lifeSpanOnly(s);
    seedRandom(3 + rule);
    s.evol.capacity = 10;
    s.evol.delrule = rule;
    przodek* worst = addRecord(s, "X", 1, 1);
    addRecord(s, "XX", 2, 5);
    addRecord(s, "XXX", 9, 50);
    s.deleteOverCapacity();
    EXPECT_EQ(individuals(s), 10) << "rule " << rule;
    if (rule == DELETE_WORST) {
      // The worst record had one individual and went; the next worst lost one.
      EXPECT_EQ(s.pool.find(worst), -1);
      ASSERT_EQ(s.pool.size(), 2);
      EXPECT_EQ(s.pool.get(0)->popsiz, 1);
    }
  }
  // A pool loaded far over capacity is trimmed over several steps, not in one stall.
  symulator huge;
  huge.evol.capacity = 10;
  huge.evol.delrule = DELETE_WORST;
  addRecord(huge, "X", 25000, 1);
  huge.deleteOverCapacity();
  EXPECT_EQ(individuals(huge), 15000);
  huge.deleteOverCapacity();
  huge.deleteOverCapacity();
  EXPECT_EQ(individuals(huge), 10);

  symulator unlimited;
  unlimited.evol.capacity = 0;
  addRecord(unlimited, "X", 5000, 1);
  unlimited.deleteOverCapacity();
  EXPECT_EQ(individuals(unlimited), 5000);
}

TEST(Simulator, ClearRemovesWhatTheMaskSays) {
  symulator s;
  addRecord(s, "X", 1, 1);
  s.addBall(Vec3(5, 5, 0));
  s.clear(CLEAR_OBJECTS);
  EXPECT_EQ(s.food.size(), 0);
  EXPECT_EQ(s.pool.size(), 1);
  s.clear(CLEAR_GENOTYPES);
  EXPECT_EQ(s.pool.size(), 0);
  EXPECT_EQ(s.fileState.changeFlags & 3u, 3u);
}

// A fast run passes 2^31 steps in hours: the counter, the backup counter
// and the CSV go on past it.
TEST(Simulator, AutosaveWritesABackupAfterItsStepsAndCountersPassThirtyOneBits) {
  test_support::ScratchDir dir(true);
  {
    symulator s;
    s.stepCount = INT32_MAX;
    addRecord(s, "X", 1, 1);
    s.evol.p_nop = s.evol.p_mut = s.evol.p_xov = 0;
    s.files.autosave = 1;
    s.fileState.backupSteps = kAutosaveStepUnit - 2;
    s.jedenkrok();
    EXPECT_FALSE(fs::exists("untitled_001.gen"));
    s.jedenkrok();
    EXPECT_TRUE(fs::exists("untitled_001.gen"));
    EXPECT_EQ(s.fileState.backupCounter, 1);
    EXPECT_EQ(s.fileState.backupSteps, 0);
    EXPECT_EQ(s.fileState.fileName, "untitled.gen");
    EXPECT_EQ(s.stepCount, int64_t{INT32_MAX} + 2);
  }
  EXPECT_EQ(csvRow(int64_t{3} << 32, RunSummary{}).rfind("12884901888,0,0,", 0), 0u);
}

TEST(Simulator, MutatedOffspringDifferFromTheirParent) {
  symulator s;
  seedRandom(21);
  addRecord(s, "X(X,X)", 1, 1);
  s.evol.p_nop = s.evol.p_xov = 0;
  s.evol.MaxCreated = 5;
  for (int i = 0; i < 40 && s.creatures.size() < 5; ++i) s.jedenkrok();
  ASSERT_GT(s.creatures.size(), 0);
  for (int i = 0; i < s.creatures.size(); ++i) EXPECT_NE(s.creatures.get(i)->genotype, "X(X,X)");
}

TEST(Simulator, AGenotypeWithoutStickEndsGivesNoCreature) {
  symulator s;
  const przodek empty(&s.geneticsContext(), "", "", "", true);
  EXPECT_EQ(s.createCreature(empty), nullptr);
  EXPECT_EQ(s.all.size(), 0);
  EXPECT_EQ(s.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

struct Rules {
  EvolSettings evol;
  SimSettings sim;
  FileSettings files;
  listaprz pool;
  symparam acc{evol, sim, files, &pool};
};

// The evolution and world rules are reached through this table in the settings file tests.
TEST(SimulationRules, SettingReachesTheFileRulesAndClamps) {
  Rules r;
  param& p = r.acc;
  p.set(p.findId("overwrite"), "0");
  EXPECT_EQ(r.files.overwrite, 0);
  EXPECT_EQ(p.set(p.findId("testvel"), "1"), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(r.sim.testvel, 2);
}

void countChange(void* arg, int index) {
  if (index == -1) ++*static_cast<int*>(arg);
}

TEST(SimulationRules, SelectionChangesRemarkThePool) {
  Rules r;
  param& p = r.acc;
  int wholePool = 0;
  r.pool.changedListeners.add(countChange, &wholePool);
  r.pool.statsStale = false;
  p.set(p.findId("capacity"), "10");
  EXPECT_EQ(wholePool, 0);
  EXPECT_FALSE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");
  EXPECT_EQ(wholePool, 1);
  EXPECT_TRUE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");  // unchanged: no re-marking
  EXPECT_EQ(wholePool, 1);
  p.set(p.findId("fitfun"), "1");
  EXPECT_EQ(wholePool, 2);
}

}  // namespace
}  // namespace vorlund

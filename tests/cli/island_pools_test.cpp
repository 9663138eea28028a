#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "cli.h"
#include "island_pools.h"
#include "islands.h"
#include "sim/symulator.h"

namespace vorlund::cli {
namespace {

przodek* addRecord(symulator& s, const std::string& genotype, int popsiz, double velocity) {
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), genotype, "", "");
  rec->popsiz = popsiz;
  rec->velocity = velocity;
  return s.pool.add(std::move(rec));
}

// Fitness is velocity alone, so the fittest records are known.
void velocityOnly(symulator& s) {
  s.evol.cr_life = s.evol.cr_di = s.evol.cr_gl = 0;
  s.evol.cr_v = 1;
}

TEST(IslandPools, FittestMigrantsArriveAsOneIndividualAndFoldIntoTheSameGenotype) {
  symulator from, to;
  velocityOnly(from);
  addRecord(from, "X", 4, 1.0);
  addRecord(from, "XX", 2, 3.0);
  addRecord(from, "XXX", 1, 2.0);
  addRecord(to, "XX", 1, 1.0);
  addRecord(to, "X(X,X)", 5, 0.5);

  std::string error;
  EXPECT_EQ(foldPacked(to.pool, packMigrants(from, 2), error), 2) << error;
  ASSERT_EQ(to.pool.size(), 3);  // "XX" folded, "XXX" added, "X" stayed home
  const przodek& folded = *to.pool.get(0);
  EXPECT_EQ(folded.genotype, "XX");
  EXPECT_EQ(folded.popsiz, 2);
  EXPECT_DOUBLE_EQ(folded.velocity, 2.0);  // (1 x 1.0 + 1 x 3.0) / 2
  const przodek& added = *to.pool.get(2);
  EXPECT_EQ(added.genotype, "XXX");
  EXPECT_EQ(added.num, 3);  // numbered by the pool it joined
  EXPECT_EQ(to.pool.nextNumber, 4);

  // A whole pool folds with every individual it averaged.
  EXPECT_EQ(foldPacked(to.pool, packWholePool(from.pool), error), 3);
  EXPECT_EQ(to.pool.get(0)->popsiz, 4);
  EXPECT_EQ(foldPacked(to.pool, "org:\ngenotype:X\n", error), -1);
  EXPECT_FALSE(error.empty());
}

TEST(IslandPools, IslandsWithoutAnMpiLaunchSayWhatTheyNeed) {
  std::ostringstream out, err;
  const char* argv[] = {"vorlund-cli", "run", "--islands", "--steps", "10"};
  EXPECT_EQ(runCli(5, argv, out, err), 1);
  EXPECT_NE(err.str().find("needs an MPI launch"), std::string::npos) << err.str();
}

TEST(IslandPools, IslandZeroKeepsTheSeedAndOthersDiffer) {
  EXPECT_EQ(islandSeed(42, 0), 42u);
  EXPECT_NE(islandSeed(42, 1), islandSeed(42, 2));
  EXPECT_NE(islandSeed(42, 1), islandSeed(43, 1));
}

}  // namespace
}  // namespace vorlund::cli

#include <gtest/gtest.h>

#include <cmath>

#include "genepool/symstat.h"
#include "pool_fixture.h"

namespace vorlund {
namespace {

using testing::PoolFixture;

TEST(Fitness, NormalisationZeroesCriteriaWithoutSpread) {
  PoolFixture f;
  f.evol.cr_norm = 1;
  f.evol.cr_di = 2;
  przodek* a = f.add("X", 1, 50, 1);
  przodek* b = f.add("XX", 1, 50, 3);
  // Life span is equal everywhere: only distance, scaled to 0..1, counts.
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*a), 0.0);
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*b), 2.0);
  // A record with no individuals does not stretch the range.
  f.add("XXX", 0, 900, 100);
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*b), 2.0);
  // Through the table, as the lists show it.
  EXPECT_DOUBLE_EQ(b->parameters().getDouble(b->parameters().findId("fit")), 2.0);
}

TEST(Fitness, FinalFitnessMapsThresholdMeanAndBest) {
  PoolFixture f;
  f.evol.fitfun = 1;
  f.evol.fitm = 1;
  f.evol.fitma = 2;
  przodek* low = f.add("X", 1, 0);
  przodek* mid = f.add("XX", 1, 1);
  przodek* best = f.add("XXX", 1, 2);
  EXPECT_NEAR(f.fit.finalFitness(*low), 0.0, 1e-12);  // below mean - stddev
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*mid), 1.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*best), 2.0);
  const PoolStatistics& s = f.pool.stats;
  EXPECT_NEAR(s.stddev, std::sqrt(2.0 / 3.0), 1e-12);
  EXPECT_NEAR(s.threshold, 1 - std::sqrt(2.0 / 3.0), 1e-12);

  EXPECT_DOUBLE_EQ(best->parameters().getDouble(best->parameters().findId("fit2")), 2.0);

  // Exactly at the threshold (mean 1, stddev 1, fitm 1) maps to 0.
  PoolFixture g;
  g.evol.fitfun = 1;
  g.evol.fitm = 1;
  przodek* atThreshold = g.add("X", 1, 0);
  g.add("XX", 1, 2);
  EXPECT_NEAR(g.fit.finalFitness(*atThreshold), 0.0, 1e-12);
}

TEST(Fitness, EqualFitnessEverywhereScalesToOne) {
  PoolFixture f;
  f.evol.fitfun = 1;
  // 0.1 does not survive a weighted mean exactly; the scaling must not notice.
  przodek* a = f.add("X", 3, 0.1);
  przodek* b = f.add("XX", 7, 0.1);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*a), 1.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*b), 1.0);
}

TEST(Fitness, NegativeFitnessWithoutScalingIsZero) {
  PoolFixture f;
  f.evol.cr_c = -5;
  przodek* a = f.add("X", 1, 2);
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), -3.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*a), 0.0);
  // The "fit" column is the raw criteria sum, without cr_c.
  EXPECT_DOUBLE_EQ(a->parameters().getDouble(a->parameters().findId("fit")), 2.0);
}

TEST(Fitness, EnergyRatioDividesByStartingEnergyAndSurvivesZero) {
  PoolFixture f;
  f.evol.cr_energ = 1;
  przodek* a = f.add("X", 1, 200);
  a->stickCount = 2;
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 1.0);  // 200 / (2 x 100)
  f.sim.Energy0 = 0;
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 200.0);
}

TEST(Fitness, ThresholdSimilarityCountsOnlyCloseGenotypes) {
  PoolFixture f(0.2f);
  f.evol.cr_simi = SIMI_THRESHOLD;
  f.evol.xov_mins = 0.5;
  przodek* a = f.add("X", 4, 8);
  f.add("XX", 3, 1);
  f.add("/*4*/ABC", 0, 1);  // another format counts as similar, with at least one individual
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 4.0 + 1.0);
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 8.0 / 5.0);

  // Linear: the pair values themselves, weighted by individuals.
  f.evol.cr_simi = SIMI_LINEAR;
  f.pool.changed(-1);
  EXPECT_NEAR(f.fit.similarity(*a), 4.0 + 3 * 0.2 + 1.0, 1e-6);
  // The cache answers until the pool changes.
  a->simi = 99;
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 99.0);
  f.add("XXX", 1, 1);
  EXPECT_NEAR(f.fit.similarity(*a), 4.0 + 3 * 0.2 + 1.0 + 0.2, 1e-6);
}

TEST(Fitness, SimilaritySumNearZeroCountsAsOne) {
  PoolFixture f(0.0f);
  f.evol.cr_simi = SIMI_THRESHOLD;
  f.evol.xov_mins = 2;  // nothing, not even the record itself, is that similar
  przodek* a = f.add("X", 1, 3);
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 1.0);
}

TEST(Symstat, IsReadOnlyAndReportsZerosForAnEmptyPool) {
  PoolFixture f;
  symstat st(f.fit);
  EXPECT_EQ(st.set(0, "5"), PSET_RONLY);

  // An empty pool reports zeros everywhere.
  for (int i = 0; i < st.paramCount(); ++i) EXPECT_EQ(st.getDouble(i), 0.0) << st.id(i);
}

TEST(Symstat, SummarisesThePool) {
  PoolFixture f;
  f.evol.fitm = 1;
  f.add("X", 1, 10);
  f.add("XX", 2, 20);
  f.add("XXX", 3, 40);
  symstat st(f.fit);
  EXPECT_EQ(st.getInt(st.findId("st_num_sp")), 3);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_avg_popsiz")), 2.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_min_lifespan")), 10.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_max_lifespan")), 40.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_avg_lifespan")), (10 + 40 + 120) / 6.0);
  const double mean = (10 + 40 + 120) / 6.0;
  const double sd = std::sqrt((std::pow(10 - mean, 2) + 2 * std::pow(20 - mean, 2) + 3 * std::pow(40 - mean, 2)) / 6);
  EXPECT_NEAR(st.getDouble(st.findId("st_stdev_f")), sd, 1e-4);
  EXPECT_NEAR(st.getDouble(st.findId("st_shift")), mean - sd, 1e-4);
  // Only the record of 10 lies at or below mean - stddev.
  EXPECT_NEAR(st.getDouble(st.findId("st_atzero")), 1.0 / 6.0, 1e-12);
}

}  // namespace
}  // namespace vorlund

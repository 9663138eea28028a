// Fitness of genotype records against their pool: the weighted criteria sum
// (optionally normalised to the pool's range), reduced by similarity to the
// coexisting genotypes and by the starting energy, then shifted and scaled
// against the pool's mean and spread for parent choice.
#pragma once

#include <string>

#include "genepool/evol_settings.h"
#include "genepool/listaprz.h"
#include "world/genetics_context.h"

namespace vorlund {

class GenMan;
struct SimSettings;

// Spans at or below this count as no spread of a criterion.
constexpr double kCriterionMinSpan = 1e-30;
// A similarity sum below this would blow the fitness up; it counts as 1.
constexpr double kSimilaritySumMin = 1e-5;

class PoolFitness : public FitnessSource {
 public:
  // All four are observed and must outlive this object; `genman` may be null
  // (then every pair of genotypes counts as similar).
  PoolFitness(listaprz& pool, const EvolSettings& evol, const SimSettings& sim, const GenMan* genman)
      : pool_(pool), evol_(evol), sim_(sim), genman_(genman) {}

  // The weighted criteria sum (the `fit` column).
  double rawFitness(const przodek& rec) const override;
  // Raw fitness divided by similarity and starting energy as the rules say, plus cr_c.
  double fitness(const przodek& rec) const override;
  // The shifted and scaled fitness (the `fit2` column) used by parent choice.
  double finalFitness(const przodek& rec) const override;
  // The similarity sum (the `simi` column), cached in the record.
  double similarity(przodek& rec) const override;

  // Pair similarity as selection sees it: "different formats" (below -1) counts as 1.
  double pairSimilarity(const std::string& a, const std::string& b) const;

  // Recomputes the pool statistics now.
  void updateStatistics() const;
  // Recomputes them only when the pool marked them stale.
  void refreshStatistics() const {
    if (pool_.statsStale) updateStatistics();
  }

  listaprz& pool() const { return pool_; }
  const EvolSettings& settings() const { return evol_; }

 private:
  listaprz& pool_;
  const EvolSettings& evol_;
  const SimSettings& sim_;
  const GenMan* genman_;
};

}  // namespace vorlund

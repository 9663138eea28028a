#include "genepool/fitness.h"

#include <algorithm>
#include <cmath>

#include "genetics/genman.h"
#include "world/sim_settings.h"

namespace vorlund {

namespace {

double criterion(const przodek& rec, int i) { return rec.*kPerformanceFields[i]; }

// GenMan answers below this for genotypes it cannot compare (different formats).
constexpr double kIncomparableSimilarity = -1.0;

}  // namespace

double PoolFitness::rawFitness(const przodek& rec) const {
  double sum = 0;
  if (evol_.cr_norm == 0) {
    for (int i = 0; i < PERFORMANCE_COUNT; ++i) sum += evol_.*kCriteriaWeights[i] * criterion(rec, i);
    return sum;
  }
  refreshStatistics();
  const PoolStatistics& s = pool_.stats;
  for (int i = 0; i < PERFORMANCE_COUNT; ++i)
    sum += evol_.*kCriteriaWeights[i] * (criterion(rec, i) - s.critMin[i]) * s.critFactor[i];
  return sum;
}

double PoolFitness::fitness(const przodek& rec) const {
  double x = rawFitness(rec);
  // Records are never const objects; only the similarity cache is written.
  if (evol_.cr_simi != SIMI_IGNORED) x /= similarity(const_cast<przodek&>(rec));
  if (evol_.cr_energ != 0) {
    const double startEnergy = rec.stickCount * sim_.Energy0;
    // With no starting energy there is no ratio to speak of, so the fitness
    // stays: either Energy0 is 0 or the record's genotype builds no stick (one
    // that does not build at all), whose stick count is 0.
    if (startEnergy != 0) x /= startEnergy;
  }
  return evol_.cr_c + x;
}

double PoolFitness::finalFitness(const przodek& rec) const {
  if (evol_.fitfun == 0) return std::max(0.0, fitness(rec));
  refreshStatistics();
  const double f = fitness(rec);
  const PoolStatistics& s = pool_.stats;
  if (f <= s.mean) return (std::max(f, s.threshold) - s.mean) * s.lowFactor + 1;
  return (f - s.mean) * s.highFactor + 1;
}

double PoolFitness::pairSimilarity(const std::string& a, const std::string& b) const {
  if (genman_ == nullptr) return 1.0;
  const double v = genman_->Similarity(a, b);
  return v < kIncomparableSimilarity ? 1.0 : v;
}

double PoolFitness::similarity(przodek& rec) const {
  if (evol_.cr_simi == SIMI_IGNORED) return 1.0;
  if (rec.simiStale == 0) return rec.simi;
  double sum = 0;
  for (int k = 0; k < pool_.size(); ++k) {
    const przodek* h = pool_.get(k);
    double v = pairSimilarity(rec.genotype, h->genotype);
    if (evol_.cr_simi == SIMI_THRESHOLD) v = v >= evol_.xov_mins ? 1.0 : 0.0;
    sum += std::max(h->popsiz, int32_t{1}) * v;
  }
  if (sum < kSimilaritySumMin) sum = 1.0;
  rec.simi = sum;
  rec.simiStale = 0;
  pool_.similaritiesComputed();
  return sum;
}

void PoolFitness::updateStatistics() const {
  pool_.statsStale = false;
  PoolStatistics& s = pool_.stats;
  double lo[PERFORMANCE_COUNT] = {};
  double hi[PERFORMANCE_COUNT] = {};
  bool first = true;
  double n = 0;
  for (int k = 0; k < pool_.size(); ++k) {
    const przodek& rec = *pool_.get(k);
    if (rec.popsiz == 0) continue;
    for (int i = 0; i < PERFORMANCE_COUNT; ++i) {
      const double v = criterion(rec, i);
      if (first || v < lo[i]) lo[i] = v;
      if (first || v > hi[i]) hi[i] = v;
    }
    first = false;
    n += rec.popsiz;
  }
  for (int i = 0; i < PERFORMANCE_COUNT; ++i) {
    if (hi[i] - lo[i] <= kCriterionMinSpan) {
      s.critFactor[i] = 0;
      s.critMin[i] = 0;
    } else {
      s.critFactor[i] = 1 / (hi[i] - lo[i]);
      s.critMin[i] = lo[i];
    }
  }
  double total = 0;
  double best = 0;
  double fLo = 0, fHi = 0;
  first = true;
  for (int k = 0; k < pool_.size(); ++k) {
    const przodek& rec = *pool_.get(k);
    if (rec.popsiz == 0) continue;
    const double f = fitness(rec);
    total += rec.popsiz * f;
    best = std::max(best, f);
    if (first || f < fLo) fLo = f;
    if (first || f > fHi) fHi = f;
    first = false;
  }
  if (n == 0) {
    s.mean = s.stddev = s.threshold = s.lowFactor = s.highFactor = 0;
    return;
  }
  // Equal fitness everywhere must give the mean itself: a rounded mean a hair
  // below it would scale every record up to fitma.
  s.mean = fLo == fHi ? fLo : total / n;
  double var = 0;
  for (int k = 0; k < pool_.size(); ++k) {
    const przodek& rec = *pool_.get(k);
    if (rec.popsiz == 0) continue;
    const double d = fitness(rec) - s.mean;
    var += rec.popsiz * d * d;
  }
  s.stddev = var > 0 ? std::sqrt(var / n) : 0;
  s.threshold = s.mean - evol_.fitm * s.stddev;
  s.lowFactor = s.mean > s.threshold ? 1 / (s.mean - s.threshold) : 0;
  s.highFactor = best > s.mean ? (evol_.fitma - 1) / (best - s.mean) : 0;
}

}  // namespace vorlund

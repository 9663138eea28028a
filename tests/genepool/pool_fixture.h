// A gene pool with its rules and fitness, without a simulator: records are
// made directly with chosen individuals and performance.
#pragma once

#include <memory>
#include <string>

#include "genepool/evol_settings.h"
#include "genepool/fitness.h"
#include "genepool/listaprz.h"
#include "genetics/genman.h"
#include "genetics/geno_fx.h"
#include "world/genetics_context.h"
#include "world/sim_settings.h"

namespace vorlund::testing {

// Encoding-1 stand-in: equal texts are similar 1.0, all others `other`.
class FixedSimilarity : public TGeno_fx {
 public:
  explicit FixedSimilarity(float other) : other_(other) {}
  float Similarity(const std::string& a, const std::string& b) override { return a == b ? 1.0f : other_; }
  int CheckValidity(const std::string&) override { return 0; }

 private:
  float other_;
};

struct PoolFixture {
  explicit PoolFixture(float otherSimilarity = 0.2f) {
    genman.registerOperator('1', std::make_unique<FixedSimilarity>(otherSimilarity));
    // Only the performance criteria a test sets should count.
    evol.cr_life = 1;
    evol.cr_di = 0;
    evol.cr_gl = 0;
  }

  przodek* add(const std::string& genotype, int popsiz, double lifespan, double distance = 0) {
    auto rec = std::make_unique<przodek>(&genetics, genotype, "n", "", true);
    rec->popsiz = popsiz;
    rec->lifespan = lifespan;
    rec->distance = distance;
    return pool.add(std::move(rec));
  }

  GenMan genman;
  EvolSettings evol;
  SimSettings sim;
  Genetics genetics{&genman, &sim, nullptr};
  listaprz pool{&genetics};
  PoolFitness fit{pool, evol, sim, &genman};
  bool wired = [this] {
    genetics.fitness = &fit;
    return true;
  }();
};

}  // namespace vorlund::testing

// What building a body from a genotype needs from its surroundings: the
// genetic manager (checking, with the converter registry attached for
// conversions) and the simulation rules. Observed, never owned; whoever owns
// the manager and the settings (the simulator, a test, the CLI) fills it.
#pragma once

namespace vorlund {

class GenMan;
class przodek;
struct SimSettings;

// Fitness and similarity of a genotype record, served by the pool statistics.
class FitnessSource {
 public:
  virtual ~FitnessSource() = default;
  // The weighted criteria sum, before the similarity and energy divisions.
  virtual double rawFitness(const przodek& record) const = 0;
  virtual double fitness(const przodek& record) const = 0;
  virtual double finalFitness(const przodek& record) const = 0;
  // The similarity sum; may refresh the record's cache when it is stale.
  virtual double similarity(przodek& record) const = 0;
};

struct Genetics {
  const GenMan* genman = nullptr;        // without it only format 0 and energy balls build
  const SimSettings* settings = nullptr;  // without it the built-in defaults apply
  const FitnessSource* fitness = nullptr;  // without it fitness reads 0 and similarity its cache
};

}  // namespace vorlund

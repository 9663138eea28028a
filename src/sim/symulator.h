// The simulator: the one object that owns the gene pool (its Evol part), the
// world with its creatures and food (its Life part), the genetic manager and
// converter switches, all their settings as one "sim_params:" chain, the
// statistics, the file state and the step counters. `jedenkrok` is one step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/step_rate_meter.h"
#include "genepool/file_settings.h"
#include "genepool/pool_files.h"
#include "genepool/fitness.h"
#include "genepool/symstat.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "sim/evol.h"
#include "sim/symparam.h"
#include "world/genetics_context.h"
#include "world/life.h"
#include "world/sim_settings.h"

namespace vorlund {

// What every part of the simulator reads while the parts are still being
// built: the world-side rules and the genetics context handed to records and
// creatures. A base, so that it exists before Evol and Life.
struct SimCore {
  SimSettings simRules;
  Genetics genetics;
};

// clear() mask bits.
constexpr int CLEAR_GENOTYPES = 1;
constexpr int CLEAR_OBJECTS = 2;

// Height at which new energy balls are dropped.
constexpr double kBallDropHeight = -0.2;

class symulator : private SimCore, public Evol, public Life {
 public:
  symulator();
  ~symulator() override;
  symulator(const symulator&) = delete;
  symulator& operator=(const symulator&) = delete;

  // One simulation step: creation, deletion, physics, brains, bookkeeping.
  void jedenkrok();

  // --- offspring and deletion ---
  void creator();
  // A parent by fitness tournament, optionally among genotypes similar to `similarTo`.
  przodek* wylosujprzodka(const std::string* similarTo);
  // wylosujprzodka, but none when the drawn genotype is not valid.
  przodek* choose(const std::string* similarTo);
  // A living creature of the record's genotype, or none.
  org* createCreature(const przodek& rec);
  org* addBall(const Vec3& position);
  // Removes individuals by `delrule` until the pool holds at most `capacity`
  // (at most a bounded number per call).
  void deleteOverCapacity();

  // CLEAR_* bits; also sets them in the change flags.
  void clear(int mask);

  // --- files ---
  // False (with a message) when the file cannot be opened.
  bool load(const std::string& path, int what);
  int save(const std::string& path, int what);

  // --- settings and state ---
  param& parameters() { return params; }
  SimSettings& worldRules() { return simRules; }
  const Genetics& geneticsContext() const { return genetics; }

  GenMan genman;
  GenoConvManager converters;
  FileSettings files;
  FileState fileState;
  int64_t stepCount = 0;       // every jedenkrok; 64 bits, as a fast run passes 2^31 in hours
  int32_t stepsPerSecond = 0;  // refreshed about once a second
  // Steps a second as best known, also before the first second of the run
  // has passed: what a check made every few steps paces its clock by.
  long stepRateGuess() const { return rate_.guess(); }
  PoolFitness fitness;
  symparam params;  // chained: world, genetics, converter switches
  symstat stats;

 private:
  void bookkeeping();
  SimFileTarget fileTarget();

  std::vector<char> eligible_;  // reused by wylosujprzodka
  // The pool's change count and the capacity at the last look that found the
  // pool within its capacity: until either changes, it still is, and the
  // look need not sum every record again.
  struct CapacityLook {
    uint64_t changes = 0;
    int64_t capacity = -1;
  } withinCapacity_;
  StepRateMeter rate_;
};

}  // namespace vorlund

// The run's history for the evolution chart: a snapshot of pool and world
// every `every` steps, kept in a bounded memory that halves its resolution
// when full, so that a run of any length costs the same memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorlund {

class symulator;
struct RunSummary;

// The charted values, in chart and CSV order.
enum EvolutionSeries {
  EVS_GENOTYPES, EVS_INDIVIDUALS, EVS_ALIVE, EVS_BALLS, EVS_FITNESS_MEAN, EVS_FITNESS_STDDEV, EVS_FITNESS_BEST,
  EVS_LIFESPAN, EVS_VELOCITY, EVS_DISTANCE, EVS_VERTPOS, EVS_BIRTHS, EVS_DEATHS, EVS_SERIES_COUNT
};

// Column key (as in the run CSV) and caption of each series.
struct EvolutionSeriesInfo {
  const char* key;
  const char* caption;
};
extern const EvolutionSeriesInfo kEvolutionSeries[EVS_SERIES_COUNT];

// Samples kept at most before the resolution halves; about 120 kB.
constexpr std::size_t kEvolutionSampleCapacity = 1024;
// Births and deaths are given per this many steps.
constexpr double kEvolutionRateSteps = 1000.0;

struct EvolutionSample {
  int64_t step = 0;
  // Levels at `step`; births and deaths are the run's totals so far, turned
  // into rates only when read, so that dropping samples keeps them right.
  std::array<double, EVS_SERIES_COUNT> value{};
};

class EvolutionSamples {
 public:
  // `capacity` is made even (at least 2), so that thinning keeps the newest sample.
  explicit EvolutionSamples(std::size_t capacity = kEvolutionSampleCapacity, int64_t every = 1000);

  // Steps between two samples as set (`U`); the current spacing is a power-of-two multiple of it.
  int64_t every() const { return every_; }
  int64_t spacing() const { return spacing_; }
  // Takes effect for the next sample; values below 1 become 1.
  void setEvery(int64_t every);

  // Starts a new chart whose rates count from these totals at `step`.
  void restart(int64_t step, double births, double deaths);
  // Whether `step` is due for a sample (cheap: call it every step).
  bool due(int64_t step) const { return step >= nextStep_; }
  int64_t nextStep() const { return nextStep_; }
  // Adds one sample; when that fills the memory, it is thinned to every
  // other sample (the later of each pair) and the spacing doubles.
  void add(const EvolutionSample& s);
  // Takes a sample of the simulator at its current step.
  void sample(symulator& sim);

  std::size_t size() const { return samples_.size(); }
  std::size_t capacity() const { return capacity_; }
  const EvolutionSample& at(std::size_t i) const { return samples_[i]; }
  // The value shown for series `s` at sample `i`: births and deaths per thousand steps since the sample before.
  double value(std::size_t i, int s) const;

  // The charted values as CSV (header and one row per sample).
  std::string csv() const;
  // The memory as text lines and back, for checkpoints; fromText is false
  // (and changes nothing) on a malformed text.
  std::string toText() const;
  bool fromText(const std::string& text);

 private:
  void halve();

  std::size_t capacity_;
  int64_t every_;
  int64_t spacing_;
  int64_t nextStep_ = 0;
  EvolutionSample base_;  // the totals at the chart's start, for the first rate
  std::vector<EvolutionSample> samples_;
};

// A sample's levels from a summary of the pool (births and deaths left at 0).
EvolutionSample sampleFromSummary(int64_t step, const RunSummary& s);

}  // namespace vorlund

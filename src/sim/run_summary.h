// What a headless run reports about the simulator: one snapshot of pool and
// world, as a CSV row, a progress line and a closing summary.
#pragma once

#include <cstdint>
#include <string>

namespace vorlund {

class symulator;

struct RunSummary {
  int genotypes = 0;
  long individuals = 0;  // sum of popsiz over the pool
  int alive = 0;         // living creatures
  int balls = 0;         // energy balls and remains
  double mean = 0;       // pool statistics of fitness
  double stddev = 0;
  double best = 0;       // largest fitness of a record with individuals
  double avgLifespan = 0;  // individual-weighted pool averages
  double avgVelocity = 0;
  double avgDistance = 0;
  double avgVertpos = 0;
  // The record of the largest fitness among those with individuals, if any.
  std::string bestName, bestGenotype;
  double bestVelocity = 0, bestDistance = 0;
};

constexpr const char* kRunCsvHeader =
    "step,genotypes,individuals,alive,balls,fitness_mean,fitness_stddev,fitness_best,avg_lifespan,avg_velocity,"
    "avg_distance";

RunSummary summarize(symulator& sim);
std::string csvRow(int64_t step, const RunSummary& s);
std::string progressLine(int64_t step, int64_t elapsedMs, const RunSummary& s);
// The closing lines; the rate only when the steps took a measurable time,
// and `savedTo` (empty: no line) only for a pool that was written.
std::string summaryText(int64_t steps, int64_t elapsedMs, const RunSummary& s, const std::string& savedTo);

}  // namespace vorlund

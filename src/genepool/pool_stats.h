// The fitness statistics a gene pool keeps for scaling and normalisation;
// recomputed on demand while the pool marks them stale.
#pragma once

#include "genepool/przodek.h"

namespace vorlund {

struct PoolStatistics {
  double mean = 0;        // individual-weighted mean fitness
  double stddev = 0;      // individual-weighted standard deviation of fitness
  double threshold = 0;   // mean - fitm x stddev
  double lowFactor = 1;   // 1 / (mean - threshold), or 0
  double highFactor = 1;  // (fitma - 1) / (best - mean), or 0
  double critFactor[PERFORMANCE_COUNT] = {};  // 1 / (max - min) per criterion, or 0
  double critMin[PERFORMANCE_COUNT] = {};     // min per criterion, or 0
};

}  // namespace vorlund

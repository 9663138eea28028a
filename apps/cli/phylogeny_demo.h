// A seeded stand-in for an evolution run: mutations and crossovers of a small
// growing pool, through the genetic manager with its history on, so that the
// phylogeny picture has something to show before the runner exists.
#pragma once

#include <string>

#include "genetics/genman.h"

namespace vorlund::cli {

struct PhylogenyDemoResult {
  int mutations = 0;
  int crossovers = 0;
  int failures = 0;
  bool noOperator = false;  // the start genotype's format has no operator in this build
};

// Runs `operations` genetic operations starting from the pool {start};
// a share `crossoverShare` of them are crossovers once the pool has two members.
PhylogenyDemoResult runPhylogenyDemo(GenMan& gm, int operations, const std::string& start, double crossoverShare);

}  // namespace vorlund::cli

// Steps a ring of islands in one process and saves island 0's merged pool,
// for the launch tests to compare with what mpirun gives.
// Usage: islands_ring ISLANDS SEED STEPS MIGRATE_EVERY MIGRANTS OUT.gen FILES...
#include <cstdlib>
#include <iostream>

#include "genepool/pool_files.h"
#include "island_ring.h"
#include "sim/run_summary.h"
#include "sim/symulator.h"

int main(int argc, char** argv) {
  constexpr int kFirstFile = 7;
  if (argc < kFirstFile) {
    std::cerr << "usage: islands_ring ISLANDS SEED STEPS MIGRATE_EVERY MIGRANTS OUT.gen FILES...\n";
    return 1;
  }
  vorlund::cli::RingSetup setup;
  setup.islands = std::atoi(argv[1]);
  setup.seed = std::strtoull(argv[2], nullptr, 10);
  setup.steps = std::atoll(argv[3]);
  setup.options.migrateEvery = std::atol(argv[4]);
  setup.options.migrants = std::atoi(argv[5]);
  for (int i = kFirstFile; i < argc; ++i) setup.files.emplace_back(argv[i]);
  std::string error;
  std::unique_ptr<vorlund::symulator> merged = vorlund::cli::stepRingInOneProcess(setup, error);
  if (merged == nullptr) {
    std::cerr << error << '\n';
    return 1;
  }
  vorlund::summarize(*merged);  // the launch's island 0 summarizes before it saves
  return merged->save(argv[6], vorlund::FILE_GENOTYPES) == 0 ? 0 : 1;
}

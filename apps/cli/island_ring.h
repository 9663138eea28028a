// A ring of islands stepped in turn in one process, passing packets as an
// MPI launch does: the same seed, files and number of islands give the
// merged pool that island 0 of the launch saves, without any launch.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "islands.h"

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

struct RingSetup {
  int islands = 2;
  uint64_t seed = 0;
  int64_t steps = 0;
  IslandOptions options;
  std::vector<std::string> files;  // settings (*.sim) and genotype (*.gen) files, in order
};

// Island 0's simulator holding the merged pool, or null with `error`.
std::unique_ptr<symulator> stepRingInOneProcess(const RingSetup& setup, std::string& error);

}  // namespace vorlund::cli

#include "bench_genotypes.h"

#include "core/random.h"
#include "genetics/genman.h"

namespace vorlund {

std::vector<std::string> benchGenotypes(GenMan& gm, int count, int mutations) {
  seedRandom(2024);
  std::vector<std::string> out;
  constexpr int templates = sizeof(kBenchTemplates) / sizeof(kBenchTemplates[0]);
  for (int i = 0; i < count; ++i) {
    std::string text = kBenchTemplates[i % templates];
    for (int m = 0; m < mutations; ++m) {
      std::string candidate = text, info;
      if (gm.Mutate("bench", candidate, info) == 0 && gm.CheckValidity(candidate) == 0) text = candidate;
    }
    out.push_back(text);
  }
  return out;
}

}  // namespace vorlund

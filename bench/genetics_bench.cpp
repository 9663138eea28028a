// Encoding-1 mutations per second and conversions to format 0 per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_genotypes.h"
#include "core/message.h"
#include "core/random.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"

namespace vorlund {
namespace {

void BM_F1Mutation(benchmark::State& state) {
  setStderrLevel(-1);
  setLogFilePath("");
  GenMan gm;
  registerStandardOperators(gm);
  const std::vector<std::string> texts = benchGenotypes(gm, 20, 3);
  seedRandom(9);
  std::size_t k = 0;
  for (auto _ : state) {
    std::string text = texts[k++ % texts.size()], info;
    benchmark::DoNotOptimize(gm.Mutate("bench", text, info));
  }
  state.counters["mutations_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_F1ToF0Conversion(benchmark::State& state) {
  setStderrLevel(-1);
  setLogFilePath("");
  GenMan gm;
  GenoConvManager conv;
  registerStandardOperators(gm);
  gm.setConverters(&conv);
  const std::vector<std::string> texts = benchGenotypes(gm, 20, 3);
  std::size_t k = 0;
  std::string out;
  for (auto _ : state) benchmark::DoNotOptimize(gm.Convert(texts[k++ % texts.size()], '0', out));
  state.counters["conversions_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_F1Mutation);
BENCHMARK(BM_F1ToF0Conversion);

}  // namespace
}  // namespace vorlund

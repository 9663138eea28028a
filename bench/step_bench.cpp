// Steps per second of jedenkrok in three worlds, and the time per stick end;
// the flat world with 10, 25 and 50 creatures (and twice as many energy
// balls) shows how the cost grows with the crowd, and on two threads what
// a listening touch hook (the desktop's ground sounds) costs the shared
// step. Also what handing an empty phase to the step's workers and waiting
// for them costs.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_genotypes.h"
#include "core/message.h"
#include "core/random.h"
#include "sim/symulator.h"
#include "world/step_workers.h"

namespace vorlund {
namespace {

constexpr int kCreatures = 50;
constexpr int kWarmupSteps = 200;

enum class Scene { OneX, Flat, Blocks };

std::unique_ptr<symulator> makeScene(Scene scene, int creatures) {
  const int balls = 2 * creatures;
  setStderrLevel(-1);
  setLogFilePath("");
  auto sim = std::make_unique<symulator>();
  param& p = sim->parameters();
  seedRandom(1);
  if (scene == Scene::OneX) {
    sim->createCreature(przodek(&sim->geneticsContext(), "X", "", ""));
  } else {
    p.set(p.findId("wrldsiz"), "50");
    if (scene == Scene::Blocks) {
      p.set(p.findId("wrldmap"), "r 20 20 7");
      p.set(p.findId("wrldwat"), "3");
      p.set(p.findId("wrldtyp"), "1");
    }
    sim->evol.MaxCreated = creatures;
    sim->evol.feed = balls;
    for (const std::string& g : benchGenotypes(sim->genman, creatures, 3))
      sim->createCreature(przodek(&sim->geneticsContext(), g, "", ""));
    for (int i = 0; i < balls; ++i)
      sim->addBall(Vec3(rndUnit() * 50, rndUnit() * 50, kBallDropHeight));
  }
  for (int i = 0; i < kWarmupSteps; ++i) sim->jedenkrok();
  return sim;
}

void runScene(benchmark::State& state, Scene scene, int creatures = kCreatures, int threads = 1, bool listened = false) {
  auto sim = makeScene(scene, creatures);
  sim->setStepThreads(threads);
  long touches = 0;
  if (listened) sim->touchHooks.push_back({[](void* n, org*, ses*) { ++*static_cast<long*>(n); }, &touches, false});
  long ends = 0;
  for (int i = 0; i < sim->all.size(); ++i) ends += sim->all.get(i)->sesCount();
  for (auto _ : state) sim->jedenkrok();
  state.counters["creatures"] = sim->creatures.size();
  state.counters["stick_ends"] = static_cast<double>(ends);
  state.counters["steps_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["s_per_end_step"] = benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(ends),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_StepOneCreatureX(benchmark::State& state) { runScene(state, Scene::OneX); }
void BM_StepCreaturesFlat(benchmark::State& state) { runScene(state, Scene::Flat, static_cast<int>(state.range(0))); }
void BM_StepFiftyCreaturesBlocksWater(benchmark::State& state) { runScene(state, Scene::Blocks); }
// Argument: 1 with a touch hook that only counts.
void BM_StepFlatTwoThreads(benchmark::State& state) { runScene(state, Scene::Flat, kCreatures, 2, state.range(0) != 0); }

// Each shared phase pays this, four times a step.
void BM_EmptyPhaseOnTwoThreads(benchmark::State& state) {
  StepWorkers workers(2);
  const StepPartition parts = unitPartition(2);
  for (auto _ : state) workers.run(parts, [](void*, int, int, int) {}, nullptr);
}

BENCHMARK(BM_StepOneCreatureX);
BENCHMARK(BM_EmptyPhaseOnTwoThreads)->UseRealTime();
BENCHMARK(BM_StepCreaturesFlat)->Arg(10)->Arg(25)->Arg(kCreatures);
BENCHMARK(BM_StepFiftyCreaturesBlocksWater);
BENCHMARK(BM_StepFlatTwoThreads)->Arg(0)->Arg(1)->UseRealTime();

}  // namespace
}  // namespace vorlund

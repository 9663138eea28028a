// The evolution chart's memory: sampling every U steps, halving when full,
// rates of births and deaths, its text form, and sampling a real run.
#include <gtest/gtest.h>

#include "core/random.h"
#include "sim/checkpoint.h"
#include "sim/evolution_samples.h"
#include "sim/symulator.h"

namespace vorlund {
namespace {

// A sample at `step` whose genotype count is the step itself and whose birth total grows by 2 a step.
EvolutionSample ramp(int64_t step) {
  EvolutionSample e;
  e.step = step;
  e.value[EVS_GENOTYPES] = static_cast<double>(step);
  e.value[EVS_BIRTHS] = 2.0 * static_cast<double>(step);
  return e;
}

// Feeds steps 1..steps the way the run loop does.
void feed(EvolutionSamples& m, int64_t steps) {
  for (int64_t step = 1; step <= steps; ++step)
    if (m.due(step)) m.add(ramp(step));
}

TEST(EvolutionSamples, HalvesItsResolutionWhenFullAndStaysBounded) {
  struct Case {
    int64_t steps;
    std::size_t size;
    int64_t spacing;
  } cases[] = {
      {70, 7, 10},              // fits
      {80, 4, 20},              // the eighth fills the memory: thinned to the later of each pair
      {100, 5, 20},             // and sampled at the doubled spacing from there
      {1000000, 6, 163840},     // a long run still holds at most the capacity
  };
  for (const Case& c : cases) {
    EvolutionSamples m(8, 10);
    feed(m, c.steps);
    EXPECT_LE(m.size(), m.capacity());
    EXPECT_EQ(m.size(), c.size) << c.steps;
    EXPECT_EQ(m.spacing(), c.spacing) << c.steps;
    for (std::size_t i = 1; i < m.size(); ++i) EXPECT_EQ(m.at(i).step - m.at(i - 1).step, m.spacing());
    // Levels are the latest of their span; rates stay exact however coarse the memory.
    EXPECT_EQ(m.value(m.size() - 1, EVS_GENOTYPES), static_cast<double>(m.at(m.size() - 1).step));
    for (std::size_t i = 0; i < m.size(); ++i) EXPECT_DOUBLE_EQ(m.value(i, EVS_BIRTHS), 2000.0) << i;
  }
}

TEST(EvolutionSamples, RestartAndTextRoundTrip) {
  EvolutionSamples m(8, 10);
  m.restart(500, 1000, 0);  // a chart opened at step 500 counts its births from there
  EXPECT_FALSE(m.due(509));
  EXPECT_TRUE(m.due(510));
  m.add(ramp(510));
  EXPECT_DOUBLE_EQ(m.value(0, EVS_BIRTHS), 2000.0);

  EvolutionSamples copy(8, 1);
  ASSERT_TRUE(copy.fromText(m.toText()));
  EXPECT_EQ(copy.toText(), m.toText());
  EXPECT_EQ(copy.csv(), m.csv());
  EXPECT_TRUE(copy.due(520));
  for (const char* bad : {"", "evolution_samples 10 10 1\n500", "evolution_samples 10 10 99\n", "chart 1 1 0\n0",
                          "evolution_samples 10 10 1\n5 0 0 0 0 0 0 0 0 0 0 0 0 0\n4 0 0 0 0 0 0 0 0 0 0 0 0 0\n"}) {
    EXPECT_FALSE(copy.fromText(bad)) << bad;
    EXPECT_EQ(copy.toText(), m.toText()) << "a refused text changes nothing";
  }
}

TEST(EvolutionSamples, ARealRunCountsBirthsAndDeaths) {
  seedRandom(7);
  symulator sim;
  ASSERT_TRUE(sim.load(std::string(VORLUND_SOURCE_DIR) + "/examples/walkers.sim", FILE_SETTINGS));
  ASSERT_TRUE(sim.load(std::string(VORLUND_SOURCE_DIR) + "/examples/seeds.gen", FILE_GENOTYPES));
  EvolutionSamples m(kEvolutionSampleCapacity, 200);
  const int64_t bornBefore = sim.bornTotal;
  m.restart(sim.stepCount, static_cast<double>(bornBefore), 0);
  for (int i = 0; i < 4000; ++i) {
    sim.jedenkrok();
    if (m.due(sim.stepCount)) m.sample(sim);
  }
  ASSERT_EQ(m.size(), 20u);
  double births = 0, deaths = 0;
  for (std::size_t i = 0; i < m.size(); ++i) {
    births += m.value(i, EVS_BIRTHS) * 200 / 1000;
    deaths += m.value(i, EVS_DEATHS) * 200 / 1000;
  }
  EXPECT_NEAR(births, static_cast<double>(sim.bornTotal - bornBefore), 1e-6);
  EXPECT_NEAR(deaths, static_cast<double>(sim.diedTotal), 1e-6);
  EXPECT_GT(births, 0);
  EXPECT_EQ(m.at(m.size() - 1).value[EVS_ALIVE], static_cast<double>(sim.creatures.size()));

  // A checkpoint carries the chart; one without it leaves the chart as it was.
  for (bool carried : {true, false}) {
    symulator restored;
    EvolutionSamples chart(kEvolutionSampleCapacity, 5);
    int64_t steps = 0;
    std::string error;
    ASSERT_TRUE(restoreCheckpoint(restored, checkpointText(sim, 4000, {}, carried ? &m : nullptr), steps, error, nullptr, &chart))
        << error;
    EXPECT_EQ(chart.toText(), carried ? m.toText() : EvolutionSamples(kEvolutionSampleCapacity, 5).toText());
  }
}

}  // namespace
}  // namespace vorlund

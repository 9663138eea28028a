#include "sim/run_summary.h"

#include <algorithm>

#include "core/strutil.h"
#include "sim/symulator.h"

namespace vorlund {

RunSummary summarize(symulator& sim) {
  RunSummary s;
  listaprz& pool = sim.pool;
  s.genotypes = pool.size();
  s.alive = sim.creatures.size();
  s.balls = sim.food.size();
  sim.fitness.refreshStatistics();
  s.mean = pool.stats.mean;
  s.stddev = pool.stats.stddev;
  double weighted[4] = {0, 0, 0, 0};
  bool first = true;
  for (int i = 0; i < pool.size(); ++i) {
    const przodek& rec = *pool.get(i);
    s.individuals += rec.popsiz;
    if (rec.popsiz == 0) continue;
    const double f = sim.fitness.fitness(rec);
    if (first || f > s.best) {
      s.best = f;
      s.bestName = rec.name;
      s.bestGenotype = rec.genotype;
      s.bestVelocity = rec.velocity;
      s.bestDistance = rec.distance;
    }
    first = false;
    weighted[0] += rec.popsiz * rec.lifespan;
    weighted[1] += rec.popsiz * rec.velocity;
    weighted[2] += rec.popsiz * rec.distance;
    weighted[3] += rec.popsiz * rec.vertpos;
  }
  if (s.individuals > 0) {
    s.avgLifespan = weighted[0] / s.individuals;
    s.avgVelocity = weighted[1] / s.individuals;
    s.avgDistance = weighted[2] / s.individuals;
    s.avgVertpos = weighted[3] / s.individuals;
  }
  return s;
}

std::string csvRow(int64_t step, const RunSummary& s) {
  return ssprintf("%s,%d,%ld,%d,%d,%s,%s,%s,%s,%s,%s", formatInt(step).c_str(), s.genotypes, s.individuals, s.alive, s.balls,
                  formatReal(s.mean).c_str(), formatReal(s.stddev).c_str(), formatReal(s.best).c_str(),
                  formatReal(s.avgLifespan).c_str(), formatReal(s.avgVelocity).c_str(),
                  formatReal(s.avgDistance).c_str());
}

namespace {
int64_t rate(int64_t steps, int64_t elapsedMs) {
  return elapsedMs > 0 ? steps / elapsedMs * 1000 + steps % elapsedMs * 1000 / elapsedMs : 0;
}
}  // namespace

std::string progressLine(int64_t step, int64_t elapsedMs, const RunSummary& s) {
  return ssprintf("step %s  %s steps/s  genotypes %d  alive %d  best fitness %s", formatInt(step).c_str(),
                  formatInt(rate(step, elapsedMs)).c_str(), s.genotypes, s.alive, formatReal(s.best).c_str());
}

std::string summaryText(int64_t steps, int64_t elapsedMs, const RunSummary& s, const std::string& savedTo) {
  std::string text = ssprintf("%s steps in %.1f s", formatInt(steps).c_str(), static_cast<double>(elapsedMs) / 1000.0);
  // Under a millisecond of steps there is no rate to tell.
  if (steps > 0 && elapsedMs > 0) text += ssprintf(" (%s steps/s)", formatInt(rate(steps, elapsedMs)).c_str());
  text += "\n";
  text += ssprintf("genotypes %d, individuals %ld, alive %d, energy balls %d\n", s.genotypes, s.individuals, s.alive,
                   s.balls);
  text += ssprintf("fitness mean %s, std.dev. %s, best %s\n", formatReal(s.mean).c_str(),
                   formatReal(s.stddev).c_str(), formatReal(s.best).c_str());
  if (!s.bestGenotype.empty())
    text += ssprintf("best genotype: %s, velocity %s, distance %s\n  %s\n", s.bestName.c_str(),
                     formatReal(s.bestVelocity).c_str(), formatReal(s.bestDistance).c_str(), s.bestGenotype.c_str());
  if (!savedTo.empty()) text += "gene pool saved to " + savedTo + "\n";
  return text;
}

}  // namespace vorlund

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
  double weighted[3] = {0, 0, 0};
  bool first = true;
  for (int i = 0; i < pool.size(); ++i) {
    const przodek& rec = *pool.get(i);
    s.individuals += rec.popsiz;
    if (rec.popsiz == 0) continue;
    const double f = sim.fitness.fitness(rec);
    s.best = first ? f : std::max(s.best, f);
    first = false;
    weighted[0] += rec.popsiz * rec.lifespan;
    weighted[1] += rec.popsiz * rec.velocity;
    weighted[2] += rec.popsiz * rec.distance;
  }
  if (s.individuals > 0) {
    s.avgLifespan = weighted[0] / s.individuals;
    s.avgVelocity = weighted[1] / s.individuals;
    s.avgDistance = weighted[2] / s.individuals;
  }
  return s;
}

std::string csvRow(long step, const RunSummary& s) {
  return ssprintf("%ld,%d,%ld,%d,%d,%s,%s,%s,%s,%s,%s", step, s.genotypes, s.individuals, s.alive, s.balls,
                  formatReal(s.mean).c_str(), formatReal(s.stddev).c_str(), formatReal(s.best).c_str(),
                  formatReal(s.avgLifespan).c_str(), formatReal(s.avgVelocity).c_str(),
                  formatReal(s.avgDistance).c_str());
}

namespace {
long rate(long steps, long elapsedMs) { return elapsedMs > 0 ? steps * 1000 / elapsedMs : 0; }
}  // namespace

std::string progressLine(long step, long elapsedMs, const RunSummary& s) {
  return ssprintf("step %ld  %ld steps/s  genotypes %d  alive %d  best fitness %s", step, rate(step, elapsedMs),
                  s.genotypes, s.alive, formatReal(s.best).c_str());
}

std::string summaryText(long steps, long elapsedMs, const RunSummary& s, const std::string& savedTo) {
  std::string text = ssprintf("%ld steps in %.1f s (%ld steps/s)\n", steps, elapsedMs / 1000.0, rate(steps, elapsedMs));
  text += ssprintf("genotypes %d, individuals %ld, alive %d, energy balls %d\n", s.genotypes, s.individuals, s.alive,
                   s.balls);
  text += ssprintf("fitness mean %s, std.dev. %s, best %s\n", formatReal(s.mean).c_str(),
                   formatReal(s.stddev).c_str(), formatReal(s.best).c_str());
  if (!savedTo.empty()) text += "gene pool saved to " + savedTo + "\n";
  return text;
}

}  // namespace vorlund

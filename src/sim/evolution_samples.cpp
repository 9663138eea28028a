#include "sim/evolution_samples.h"

#include <algorithm>
#include <sstream>

#include "core/strutil.h"
#include "sim/run_summary.h"
#include "sim/symulator.h"

namespace vorlund {

const EvolutionSeriesInfo kEvolutionSeries[EVS_SERIES_COUNT] = {
    {"genotypes", "Genotypes"},
    {"individuals", "Individuals"},
    {"alive", "Alive"},
    {"balls", "Energy balls"},
    {"fitness_mean", "Fitness mean"},
    {"fitness_stddev", "Fitness std.dev."},
    {"fitness_best", "Fitness best"},
    {"avg_lifespan", "Life span"},
    {"avg_velocity", "Velocity"},
    {"avg_distance", "Distance"},
    {"avg_vertpos", "Vertical position"},
    {"births", "Births / 1000 steps"},
    {"deaths", "Deaths / 1000 steps"},
};

namespace {
// The first line of the memory's text form.
constexpr const char* kSamplesTextKey = "evolution_samples";
}  // namespace

EvolutionSamples::EvolutionSamples(std::size_t capacity, int64_t every)
    : capacity_(std::max<std::size_t>(capacity, 2) & ~std::size_t{1}), every_(std::max<int64_t>(every, 1)), spacing_(every_) {
  samples_.reserve(capacity_);
}

void EvolutionSamples::setEvery(int64_t every) {
  every_ = std::max<int64_t>(every, 1);
  // A coarser memory stays coarse: the spacing never falls below what it already thinned to.
  spacing_ = samples_.empty() ? every_ : std::max(spacing_, every_);
  const int64_t last = samples_.empty() ? base_.step : samples_.back().step;
  nextStep_ = last + spacing_;
}

void EvolutionSamples::restart(int64_t step, double births, double deaths) {
  samples_.clear();
  spacing_ = every_;
  base_ = EvolutionSample{};
  base_.step = step;
  base_.value[EVS_BIRTHS] = births;
  base_.value[EVS_DEATHS] = deaths;
  nextStep_ = step + spacing_;
}

void EvolutionSamples::add(const EvolutionSample& s) {
  samples_.push_back(s);
  if (samples_.size() >= capacity_) halve();
  nextStep_ = samples_.back().step + spacing_;
}

void EvolutionSamples::halve() {
  // Keep the later of each pair: totals stay totals, so the rates over the
  // doubled spans come out right by themselves.
  std::size_t kept = 0;
  for (std::size_t i = 1; i < samples_.size(); i += 2) samples_[kept++] = samples_[i];
  samples_.resize(kept);
  spacing_ *= 2;
}

void EvolutionSamples::sample(symulator& sim) {
  const RunSummary s = summarize(sim);
  EvolutionSample e = sampleFromSummary(sim.stepCount, s);
  e.value[EVS_BIRTHS] = static_cast<double>(sim.bornTotal);
  e.value[EVS_DEATHS] = static_cast<double>(sim.diedTotal);
  add(e);
}

double EvolutionSamples::value(std::size_t i, int s) const {
  const EvolutionSample& now = samples_[i];
  if (s != EVS_BIRTHS && s != EVS_DEATHS) return now.value[static_cast<std::size_t>(s)];
  const EvolutionSample& before = i == 0 ? base_ : samples_[i - 1];
  const int64_t span = now.step - before.step;
  if (span <= 0) return 0;
  const std::size_t k = static_cast<std::size_t>(s);
  return (now.value[k] - before.value[k]) * kEvolutionRateSteps / static_cast<double>(span);
}

std::string EvolutionSamples::csv() const {
  std::string text = "step";
  for (const EvolutionSeriesInfo& info : kEvolutionSeries) text += std::string(",") + info.key;
  text += '\n';
  for (std::size_t i = 0; i < samples_.size(); ++i) {
    text += formatInt(samples_[i].step);
    for (int s = 0; s < EVS_SERIES_COUNT; ++s) text += ',' + formatReal(value(i, s));
    text += '\n';
  }
  return text;
}

std::string EvolutionSamples::toText() const {
  std::string text = ssprintf("%s %s %s %zu\n", kSamplesTextKey, formatInt(every_).c_str(),
                              formatInt(spacing_).c_str(), samples_.size());
  auto line = [&text](const EvolutionSample& e) {
    text += formatInt(e.step);
    for (double v : e.value) text += ' ' + formatRealExact(v);
    text += '\n';
  };
  line(base_);
  for (const EvolutionSample& e : samples_) line(e);
  return text;
}

bool EvolutionSamples::fromText(const std::string& text) {
  std::istringstream in(text);
  std::string key;
  std::string words[3];
  in >> key >> words[0] >> words[1] >> words[2];
  long long every = 0, spacing = 0, count = 0;
  if (key != kSamplesTextKey || parseInteger(words[0], every) == 0 || parseInteger(words[1], spacing) == 0 ||
      parseInteger(words[2], count) == 0 || every < 1 || spacing < every || count < 0 ||
      static_cast<unsigned long long>(count) > capacity_)
    return false;
  std::vector<EvolutionSample> read(static_cast<std::size_t>(count) + 1);
  for (EvolutionSample& e : read) {
    std::string word;
    long long step = 0;
    if (!(in >> word) || parseInteger(word, step) != word.size()) return false;
    e.step = step;
    for (double& v : e.value)
      if (!(in >> word) || parseReal(word, v) != word.size()) return false;
  }
  for (std::size_t i = 1; i < read.size(); ++i)
    if (read[i].step <= read[i - 1].step) return false;
  every_ = every;
  spacing_ = spacing;
  base_ = read.front();
  samples_.assign(read.begin() + 1, read.end());
  nextStep_ = (samples_.empty() ? base_.step : samples_.back().step) + spacing_;
  return true;
}

EvolutionSample sampleFromSummary(int64_t step, const RunSummary& s) {
  EvolutionSample e;
  e.step = step;
  e.value[EVS_GENOTYPES] = s.genotypes;
  e.value[EVS_INDIVIDUALS] = static_cast<double>(s.individuals);
  e.value[EVS_ALIVE] = s.alive;
  e.value[EVS_BALLS] = s.balls;
  e.value[EVS_FITNESS_MEAN] = s.mean;
  e.value[EVS_FITNESS_STDDEV] = s.stddev;
  e.value[EVS_FITNESS_BEST] = s.best;
  e.value[EVS_LIFESPAN] = s.avgLifespan;
  e.value[EVS_VELOCITY] = s.avgVelocity;
  e.value[EVS_DISTANCE] = s.avgDistance;
  e.value[EVS_VERTPOS] = s.avgVertpos;
  return e;
}

}  // namespace vorlund

#include "genepool/symstat.h"

#include <algorithm>
#include <cstdlib>

#include "core/strutil.h"
#include "genepool/fitness.h"
#include "genepool/przodek.h"

namespace vorlund {

namespace {

constexpr ParamEntry kStatisticsRows[] = {
    {"st_num_sp", PF_READONLY, "Genotypes", "d", -1, "Number of genotypes"},
    {"st_stdev_f", PF_READONLY, "Fitness std.dev.", "f", -2, "Fitness standard deviation"},
    {"st_shift", PF_READONLY, "Lower fitness threshold", "f", -3, "Used to shift fitness, equals (avg-n*stddev)"},
    {"st_atzero", PF_READONLY, "Shifted to 0", "f", -4, "Fraction of genotypes having fitness shifted to 0.0"},
};
static_assert(sizeof(kStatisticsRows) / sizeof(kStatisticsRows[0]) == SYMSTAT_FIXED_ROWS);

// The measured fields summarised, in table order.
constexpr const char* kSourceIds[SYMSTAT_SOURCES] = {"vertdist", "vertpos", "popsiz", "lifespan", "velocity",
                                                     "distance"};
// Templates of the three rows of each field: id and display name.
constexpr const char* kTemplateIds[3] = {"st_min_%s", "st_avg_%s", "st_max_%s"};
constexpr const char* kTemplateNames[3] = {"Minimal %s", "Average %s", "Maximal %s"};
constexpr const char* kGroupTemplate = "%s statistics";

enum Kind { KIND_MIN = 0, KIND_AVG = 1, KIND_MAX = 2 };

}  // namespace

SymstatTable::SymstatTable() {
  const param genotype(kGenotypeTable, nullptr);
  rows_.push_back(paramHeader("Statistics", SYMSTAT_GROUPS, SYMSTAT_PARAMS, "stats:"));
  // The header row names group 0 ("Statistics").
  for (const char* src : kSourceIds) {
    const int idx = genotype.findId(src);
    sourceIndex_.push_back(idx);
    texts_.push_back(ssprintf(kGroupTemplate, genotype.name(idx)));
    rows_.push_back(paramGroup(texts_.back().c_str()));
  }
  for (const ParamEntry& r : kStatisticsRows) rows_.push_back(r);
  int code = -SYMSTAT_FIXED_ROWS - 1;
  for (int s = 0; s < SYMSTAT_SOURCES; ++s) {
    const char* srcName = genotype.name(sourceIndex_[static_cast<std::size_t>(s)]);
    for (int k = 0; k < 3; ++k) {
      texts_.push_back(ssprintf(kTemplateIds[k], kSourceIds[s]));
      const char* id = texts_.back().c_str();
      texts_.push_back(ssprintf(kTemplateNames[k], srcName));
      const char* name = texts_.back().c_str();
      rows_.push_back({id, (s + 1) | PF_READONLY, name, "f", code--, nullptr});
    }
  }
  rows_.push_back(paramEnd());
}

symstat::symstat(const PoolFitness& fitness) : SymstatTable(), param(rows_.data(), nullptr), fitness_(&fitness) {}

void* symstat::fieldAddress(int i) {
  if (i == 0) {
    count_ = fitness_->pool().size();
    return &count_;
  }
  number_ = value(i);
  return &number_;
}

double symstat::value(int i) const {
  const listaprz& pool = fitness_->pool();
  switch (i) {
    case 1:
    case 2:
    case 3:
      fitness_->refreshStatistics();
      break;
    default:
      return sourceValue(i);
  }
  const PoolStatistics& s = pool.stats;
  switch (i) {
    case 1:
      return s.stddev;
    case 2:
      return s.mean - fitness_->settings().fitm * s.stddev;
    case 3: {
      const double threshold = s.mean - fitness_->settings().fitm * s.stddev;
      double all = 0, below = 0;
      for (int k = 0; k < pool.size(); ++k) {
        const przodek& rec = *pool.get(k);
        if (rec.popsiz == 0) continue;
        all += rec.popsiz;
        if (fitness_->fitness(rec) <= threshold) below += rec.popsiz;
      }
      return all != 0 ? below / all : 0;
    }
    default:
      return 0;
  }
}

double symstat::sourceValue(int i) const {
  const listaprz& pool = fitness_->pool();
  if (pool.size() == 0) return 0;
  const int j = i - SYMSTAT_FIXED_ROWS;
  const int source = j / 3;
  const int kind = j % 3;
  const int field = sourceIndex_[static_cast<std::size_t>(source)];
  if (std::string_view(kSourceIds[source]) == "popsiz" && kind == KIND_AVG) {
    double sum = 0;
    for (int k = 0; k < pool.size(); ++k) sum += pool.get(k)->popsiz;
    return sum / pool.size();
  }
  // Values go through their text form, as the table shows them.
  auto read = [field](przodek& rec) {
    double v = 0;
    parseReal(rec.parameters().getText(field), v);
    return v;
  };
  double lo = read(*pool.get(0));
  double hi = lo;
  double weighted = 0, individuals = 0;
  for (int k = 0; k < pool.size(); ++k) {
    przodek& rec = *pool.get(k);
    if (rec.popsiz == 0) continue;
    const double v = read(rec);
    lo = std::min(lo, v);
    hi = std::max(hi, v);
    weighted += rec.popsiz * v;
    individuals += rec.popsiz;
  }
  switch (kind) {
    case KIND_MIN:
      return lo;
    case KIND_MAX:
      return hi;
    default:
      return individuals != 0 ? weighted / individuals : 0;
  }
}

}  // namespace vorlund

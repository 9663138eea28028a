// The transport-free half of island evolution: choosing, packing and folding
// migrants and pools. Kept apart from the MPI calls so tests reach it without a launch.
#include "islands.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "island_pools.h"
#include "sim/saved_objects.h"
#include "sim/symulator.h"

namespace vorlund::cli {

uint64_t islandSeed(uint64_t seed, int rank) {
  // An odd multiplier keeps the seeds of different ranks apart for any seed.
  return seed + static_cast<uint64_t>(rank) * 0x9E3779B97F4A7C15ull;
}

przodek* foldRecord(listaprz& pool, std::unique_ptr<przodek> rec) {
  for (int i = 0; i < pool.size(); ++i) {
    przodek* mine = pool.get(i);
    if (GenMan::SameGenotype(mine->genotype.c_str(), rec->genotype.c_str()) != 0) continue;
    const double n = mine->popsiz, m = rec->popsiz;
    if (n + m > 0) {
      for (double PrzodekData::*field : kPerformanceFields) {
        // Body and brain size are structural: the record's own values stand.
        if (field == &PrzodekData::strsiz || field == &PrzodekData::nnsiz) continue;
        mine->*field = (n * (mine->*field) + m * ((*rec).*field)) / (n + m);
      }
    }
    mine->popsiz += rec->popsiz;
    pool.changed(i);
    return mine;
  }
  rec->num = 0;  // numbers belong to the pool that gave them
  return pool.add(std::move(rec));
}

std::string packPool(const listaprz& pool, const std::vector<int>& which, bool asCopies) {
  std::string out;
  for (int i : which) {
    const przodek& rec = *pool.get(i);
    out.append(kSavedRecordSection).push_back('\n');
    if (asCopies && rec.popsiz > 1) {
      // A migrant is one individual carrying its genotype's averages.
      przodek copy(rec.genetics(), rec.genotype, rec.name, rec.info, true);
      static_cast<PrzodekData&>(copy) = rec;
      copy.stickCount = rec.stickCount;
      copy.popsiz = 1;
      writeRecordFields(out, copy);
    } else {
      writeRecordFields(out, rec);
    }
    out.push_back('\n');
  }
  return out;
}

std::string packMigrants(symulator& sim, int migrants) {
  listaprz& pool = sim.pool;
  sim.fitness.refreshStatistics();
  std::vector<double> fit(static_cast<std::size_t>(pool.size()));
  for (int i = 0; i < pool.size(); ++i) fit[static_cast<std::size_t>(i)] = sim.fitness.fitness(*pool.get(i));
  std::vector<int> order(static_cast<std::size_t>(pool.size()));
  std::iota(order.begin(), order.end(), 0);
  // Stable, so that equal fitness keeps pool order and every run picks the same ones.
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return fit[static_cast<std::size_t>(a)] > fit[static_cast<std::size_t>(b)]; });
  order.resize(std::min(order.size(), static_cast<std::size_t>(std::max(migrants, 0))));
  return packPool(pool, order, true);
}

std::string packWholePool(const listaprz& pool) {
  std::vector<int> all(static_cast<std::size_t>(pool.size()));
  std::iota(all.begin(), all.end(), 0);
  return packPool(pool, all, false);
}

int foldPacked(listaprz& pool, const std::string& packed, std::string& error) {
  StateReader in(packed);
  int folded = 0;
  while (!in.atEnd()) {
    std::unique_ptr<przodek> rec = readSavedRecord(in, pool.genetics());
    if (rec == nullptr) {
      error = in.error();
      return -1;
    }
    foldRecord(pool, std::move(rec));
    ++folded;
  }
  return folded;
}

}  // namespace vorlund::cli

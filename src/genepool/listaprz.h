// The gene pool: the genotype records of the population, numbered, owned by
// the pool, observable and sortable by any column of the "Genotype" table.
#pragma once

#include <cstdint>
#include <memory>

#include "core/lists.h"
#include "genepool/pool_stats.h"
#include "genepool/przodek.h"

namespace vorlund {

class org;

class listaprz : public lista2<przodek> {
 public:
  explicit listaprz(const Genetics* genetics = nullptr) : genetics_(genetics) {}
  ~listaprz() override;

  // Takes ownership of `rec`: numbers it, marks statistics and similarities
  // stale, inserts it at its sorted place (or at the end) and notifies.
  przodek* add(std::unique_ptr<przodek> rec);
  // lista2's entry point; the pool takes ownership of `x`.
  void add(przodek* x) override { add(std::unique_ptr<przodek>(x)); }

  // Takes record i out (with the stale flags and notifications) and hands it back.
  std::unique_ptr<przodek> release(int i);
  // Removes and destroys record i (lista2::clear uses it for every record).
  void removeAt(int i) override { release(i); }

  void changed(int i) override;

  // Averages a dead creature's performance into the record of its genotype,
  // creating the record when the pool has none. Returns the record (nullptr
  // for an empty genotype).
  przodek* foldPerformance(const org& creature);
  // One individual fewer: the record goes when it had fewer than two.
  void removeIndividual(przodek* rec);
  // Every record forgets how many individuals it averaged (the values stay).
  void clearPerformance();

  // Marks the statistics stale and, once per similarity computation, every
  // record's similarity.
  void markStale();
  // Counts every change of the records or of their individuals: what is
  // summed over the pool holds while the count stays.
  uint64_t changeCount() const { return changes_; }
  // The similarity computation calls this after refreshing the caches.
  void similaritiesComputed() { allSimiStale = false; }

  const Genetics* genetics() const { return genetics_; }

  int32_t nextNumber = 1;
  PoolStatistics stats;
  bool statsStale = true;
  bool allSimiStale = false;

 private:
  // The statistics are stale, and the change is counted.
  void statsChanged() {
    statsStale = true;
    ++changes_;
  }

  const Genetics* genetics_;
  uint64_t changes_ = 0;
};

}  // namespace vorlund

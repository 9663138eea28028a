#include "island_ring.h"

#include <algorithm>

#include "core/random.h"
#include "genepool/pool_files.h"
#include "island_exchange.h"
#include "island_pools.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {

// The genotype a run starts from when the files give neither pool nor creatures.
constexpr const char* kSeedGenotype = "X";

// One island: its world and its own random stream, swapped in while it steps.
struct Island {
  std::unique_ptr<symulator> sim;
  uint64_t random = 0;
  std::unique_ptr<IslandExchange> exchange;
  std::string posted;  // the packet of its last migration, for the next island's next one
};

bool startIsland(Island& island, const RingSetup& setup, int rank, std::string& error) {
  island.sim = std::make_unique<symulator>();
  symulator& sim = *island.sim;
  seedRandom(islandSeed(setup.seed, rank));
  for (const std::string& f : setup.files) {
    const bool settings = f.size() > 4 && f.compare(f.size() - 4, 4, ".sim") == 0;
    if (!sim.load(f, settings ? FILE_SETTINGS : FILE_GENOTYPES)) {
      error = "cannot read " + f;
      return false;
    }
  }
  if (sim.pool.size() == 0 && sim.all.size() == 0)
    sim.createCreature(przodek(&sim.geneticsContext(), kSeedGenotype, "", ""));
  island.random = randomState();
  island.exchange = std::make_unique<IslandExchange>(setup.islands, setup.options.migrants);
  island.posted = island.exchange->opening("");
  return true;
}

}  // namespace

std::unique_ptr<symulator> stepRingInOneProcess(const RingSetup& setup, std::string& error) {
  if (setup.islands < 2 || setup.options.migrateEvery <= 0) {
    error = "a ring needs two islands or more and a positive interval";
    return nullptr;
  }
  std::vector<Island> ring(static_cast<std::size_t>(setup.islands));
  for (int r = 0; r < setup.islands; ++r)
    if (!startIsland(ring[static_cast<std::size_t>(r)], setup, r, error)) return nullptr;
  const int64_t every = setup.options.migrateEvery;
  for (int64_t done = 0; done < setup.steps;) {
    const int64_t until = std::min(setup.steps, (done / every + 1) * every);
    // Migration k of island r takes in island r - 1's packet of migration k - 1,
    // so every island's new packet waits until the whole round has migrated.
    std::vector<std::string> next(ring.size());
    for (std::size_t r = 0; r < ring.size(); ++r) {
      Island& island = ring[r];
      setRandomState(island.random);
      for (int64_t s = done; s < until; ++s) island.sim->jedenkrok();
      if (until % every == 0) {
        const std::string& received = ring[(r + ring.size() - 1) % ring.size()].posted;
        next[r] = island.exchange->migrate(*island.sim, until / every, received, false);
      }
      island.random = randomState();
    }
    if (until % every == 0)
      for (std::size_t r = 0; r < ring.size(); ++r) ring[r].posted = std::move(next[r]);
    done = until;
  }
  // Island 0 folds the others' pools in rank order, as the launch's gathering does.
  symulator& merged = *ring[0].sim;
  for (std::size_t r = 1; r < ring.size(); ++r) {
    if (foldPacked(merged.pool, packWholePool(ring[r].sim->pool), error) < 0) return nullptr;
  }
  return std::move(ring[0].sim);
}

}  // namespace vorlund::cli

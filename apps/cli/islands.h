// Island evolution: one world per process of a parallel launch, the islands
// in a ring. Every few steps each island sends copies of its fittest
// genotypes to the next one; at the end the first island gathers every pool.
// The transport (MPI) stays behind this interface, outside the simulator;
// builds without it get an implementation that only says so.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

struct IslandOptions {
  bool enabled = false;
  long migrateEvery = 1000;  // steps between migrations
  int migrants = 5;          // genotypes each island sends per migration
  bool islandFiles = false;  // each island also saves its own pool beside the merged one
};

// The time one island spent in its run and, of it, blocked in migration.
struct IslandWaiting {
  double blockedSeconds = 0;
  double runSeconds = 0;
};

// What one island knows of its launch. Collective calls (anyStops,
// gatherPools, gatherWaiting) must be made by all islands in the same order;
// packets pass one way round the ring without waiting for the receiver.
class Islands {
 public:
  virtual ~Islands() = default;
  virtual int rank() const = 0;
  virtual int count() const = 0;
  // Sends `packet` to the next island and returns at once.
  virtual void post(const std::string& packet) = 0;
  // The previous island's next packet, in the order it posted them; waits
  // only until that one has been posted.
  virtual std::string take() = 0;
  // Waits until every posted packet has left this island.
  virtual void flushPosts() = 0;
  // True when any island wants to stop (setup failed somewhere). Blocks until all ask.
  virtual bool anyStops(bool stopHere) = 0;
  // True when every island gave the same `values` (as many on each). Blocks until all ask.
  virtual bool allAgree(const std::vector<int64_t>& values) = 0;
  // Island 0 folds every other island's pool into its own; the others send theirs.
  // False (with a message) when an island's pool could not be read.
  virtual bool gatherPools(symulator& sim, std::string& error) = 0;
  // Island 0 gets every island's figures in rank order; the others an empty list.
  virtual std::vector<IslandWaiting> gatherWaiting(const IslandWaiting& mine) = 0;
};

// The link of this process, or null with the reason in `error` (no MPI in
// this build, or the program was not started by an MPI launcher).
std::unique_ptr<Islands> joinIslands(std::string& error);

// A seed of its own for island `rank`; island 0 keeps the run's seed.
uint64_t islandSeed(uint64_t seed, int rank);

}  // namespace vorlund::cli

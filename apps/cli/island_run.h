// An island's migrations during a run: the lagged exchange over the launch's
// link, the time spent blocked in it, and the ring's waiting figure at the end.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "island_exchange.h"
#include "islands.h"

namespace vorlund::cli {

// False, with the reason, unless every island starts from the same step with
// the same steps to go and the same interval: otherwise they would wait for
// packets that never come.
bool islandsAgree(Islands& link, int64_t done, int64_t steps, long migrateEvery, std::string& error);

class IslandRun {
 public:
  // Posts the opening packet: `held` is what a resumed checkpoint had in flight.
  IslandRun(Islands& link, const IslandOptions& o, const std::string& held);
  // After step `done`: at a migration, exchanges packets. True when the ring stops here.
  bool afterStep(symulator& sim, int64_t done, bool stopHere);
  // What a checkpoint must hold so that a resumed run goes on as this one.
  const std::string& inFlight() const { return exchange_.inFlight(); }
  long arrived() const { return exchange_.arrived(); }
  // Ends the exchange (the packet the neighbour posted last is not taken in:
  // the run ends before the migration that would). On island 0, the closing
  // line with the ring's waiting shares; empty on the others.
  std::string finish();

 private:
  std::string takeTimed();

  Islands& link_;
  IslandExchange exchange_;
  long every_;
  bool alone_;  // a ring of one island exchanges nothing
  std::chrono::steady_clock::time_point start_;
  double blocked_ = 0;
};

// "islands waited 1.2 % of the time, worst island 3.0 %\n": the ring's total
// share of blocked time and that of the island that waited most.
std::string waitingLine(const std::vector<IslandWaiting>& islands);

}  // namespace vorlund::cli

// One island's side of migration with a fixed lag of one interval: at
// migration k an island posts its migrants and takes in the ones its
// neighbour posted at migration k - 1, so neither waits for the other unless
// the neighbour is more than an interval behind. Transport-free: the MPI
// launch and the one-process ring both drive it, and so give the same pools.
#pragma once

#include <cstdint>
#include <string>

namespace vorlund {
class symulator;
}

namespace vorlund::cli {

// Migration number of a ring that has not agreed on a stop.
constexpr int64_t kNoStop = -1;

// Agreement on the migration at which every island stops. An island that
// wants to stop at migration k names k + count - 1, the first migration by
// which that word has gone round the whole ring; packets carry the earliest
// migration named so far, so every island stops at the same one.
class StopAgreement {
 public:
  explicit StopAgreement(int count) : count_(count) {}
  // Migration k: `heard` is what the neighbour's packet carried; returns what this island's packet carries.
  int64_t update(int64_t k, int64_t heard, bool stopHere);
  bool stopsAt(int64_t k) const { return stopAt_ != kNoStop && k >= stopAt_; }

 private:
  int count_;
  int64_t stopAt_ = kNoStop;
};

// What an island posts at a migration: the stop word and its migrants.
struct MigrationPacket {
  int64_t stopAt = kNoStop;
  std::string migrants;  // packed genotype records
};
std::string encodePacket(const MigrationPacket& p);
// False (with `error`) for a text that is not a packet.
bool decodePacket(const std::string& text, MigrationPacket& p, std::string& error);

class IslandExchange {
 public:
  IslandExchange(int count, int migrants) : stop_(count), migrants_(migrants) {}
  // The packet to post before the first step: the one a checkpoint held in
  // flight (without the stop that ended that run), or an empty one.
  std::string opening(const std::string& held);
  // Migration k: folds `received` (the neighbour's packet of migration k - 1)
  // into the pool and returns the packet of migration k.
  std::string migrate(symulator& sim, int64_t k, const std::string& received, bool stopHere);
  // The ring has agreed to stop at migration k.
  bool stopsAt(int64_t k) const { return stop_.stopsAt(k); }
  // The last packet posted, which the neighbour has not yet taken in.
  const std::string& inFlight() const { return inFlight_; }
  long arrived() const { return arrived_; }

 private:
  StopAgreement stop_;
  int migrants_;
  std::string inFlight_;
  long arrived_ = 0;
};

}  // namespace vorlund::cli

#include "island_exchange.h"

#include <algorithm>
#include <cstdlib>

#include "core/message.h"
#include "island_pools.h"
#include "sim/symulator.h"

namespace vorlund::cli {

namespace {
// The first line of every packet: "stop_at:N", N the agreed stop or -1.
constexpr const char* kStopKey = "stop_at:";
}  // namespace

int64_t StopAgreement::update(int64_t k, int64_t heard, bool stopHere) {
  if (heard != kNoStop && (stopAt_ == kNoStop || heard < stopAt_)) stopAt_ = heard;
  if (stopHere && stopAt_ == kNoStop) stopAt_ = k + count_ - 1;
  return stopAt_;
}

std::string encodePacket(const MigrationPacket& p) { return kStopKey + std::to_string(p.stopAt) + "\n" + p.migrants; }

bool decodePacket(const std::string& text, MigrationPacket& p, std::string& error) {
  const std::size_t key = std::char_traits<char>::length(kStopKey);
  const std::size_t end = text.find('\n');
  if (text.compare(0, key, kStopKey) != 0 || end == std::string::npos) {
    error = "no stop line";
    return false;
  }
  const std::string number = text.substr(key, end - key);
  char* rest = nullptr;
  const long long v = std::strtoll(number.c_str(), &rest, 10);
  if (number.empty() || *rest != '\0' || v < kNoStop) {
    error = "bad stop line";
    return false;
  }
  p.stopAt = v;
  p.migrants = text.substr(end + 1);
  return true;
}

std::string IslandExchange::opening(const std::string& held) {
  MigrationPacket p;
  std::string error;
  if (!held.empty() && !decodePacket(held, p, error)) {
    logMessage("Islands", "opening", "the migrants held in the checkpoint are unreadable: " + error, LOG_WARNING);
    p = MigrationPacket();
  }
  p.stopAt = kNoStop;  // that stop ended the run this one continues
  inFlight_ = encodePacket(p);
  return inFlight_;
}

std::string IslandExchange::migrate(symulator& sim, int64_t k, const std::string& received, bool stopHere) {
  MigrationPacket in;
  std::string error;
  const bool decoded = decodePacket(received, in, error);
  const int folded = decoded ? foldPacked(sim.pool, in.migrants, error) : -1;
  if (folded >= 0)
    arrived_ += folded;
  else
    logMessage("Islands", "migrate", "migrants from the previous island were unreadable: " + error, LOG_WARNING);
  MigrationPacket out;
  out.stopAt = stop_.update(k, decoded ? in.stopAt : kNoStop, stopHere);
  out.migrants = packMigrants(sim, migrants_);
  inFlight_ = encodePacket(out);
  return inFlight_;
}

}  // namespace vorlund::cli

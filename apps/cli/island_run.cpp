#include "island_run.h"

#include <algorithm>

#include "core/strutil.h"

namespace vorlund::cli {

namespace {
double secondsSince(std::chrono::steady_clock::time_point t) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t).count();
}
}  // namespace

bool islandsAgree(Islands& link, int64_t done, int64_t steps, long migrateEvery, std::string& error) {
  if (link.allAgree({done, steps, migrateEvery})) return true;
  error = "the islands do not agree on the step they start from, the steps to make or --migrate-every "
          "(checkpoints of different moments?)";
  return false;
}

IslandRun::IslandRun(Islands& link, const IslandOptions& o, const std::string& held)
    : link_(link),
      exchange_(link.count(), o.migrants),
      every_(o.migrateEvery),
      alone_(link.count() < 2),
      start_(std::chrono::steady_clock::now()) {
  const std::string first = exchange_.opening(held);
  if (!alone_) link_.post(first);
}

std::string IslandRun::takeTimed() {
  const auto t = std::chrono::steady_clock::now();
  std::string packet = link_.take();
  blocked_ += secondsSince(t);
  return packet;
}

bool IslandRun::afterStep(symulator& sim, int64_t done, bool stopHere) {
  if (done % every_ != 0) return false;
  const int64_t k = done / every_;
  if (alone_) return stopHere;  // no one else to tell, nothing to exchange
  const std::string received = takeTimed();
  link_.post(exchange_.migrate(sim, k, received, stopHere));
  return exchange_.stopsAt(k);
}

std::string IslandRun::finish() {
  if (!alone_) {
    const auto t = std::chrono::steady_clock::now();
    link_.take();
    link_.flushPosts();
    blocked_ += secondsSince(t);
  }
  const std::vector<IslandWaiting> all = link_.gatherWaiting({blocked_, secondsSince(start_)});
  return all.empty() ? std::string() : waitingLine(all);
}

std::string waitingLine(const std::vector<IslandWaiting>& islands) {
  double blocked = 0, run = 0, worst = 0;
  for (const IslandWaiting& w : islands) {
    blocked += w.blockedSeconds;
    run += w.runSeconds;
    if (w.runSeconds > 0) worst = std::max(worst, w.blockedSeconds / w.runSeconds);
  }
  const double total = run > 0 ? blocked / run : 0;
  return ssprintf("islands waited %.1f %% of the time, worst island %.1f %%\n", 100 * total, 100 * worst);
}

}  // namespace vorlund::cli

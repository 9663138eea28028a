#include "world/step_workers.h"

#include <algorithm>
#include <chrono>

namespace vorlund {

namespace {

// How long a waiter spins before it sleeps. A phase and the serial work
// between two phases last tens of microseconds, about what waking a
// sleeping thread takes. Past this (the run stopped, a long serial stretch)
// it sleeps and leaves the core to others.
constexpr auto kSpinTime = std::chrono::microseconds(50);
// For this long the spin only pauses; later it yields as well: when the
// machine is busy, the thread it waits for may be queued on this very core,
// and a spin that keeps the core cost every phase the whole spin.
constexpr auto kPauseTime = std::chrono::microseconds(5);
// Pauses between two looks at the clock while spinning.
constexpr int kSpinsPerClockRead = 64;
// A range counts as slower than its neighbour only when it took this much
// longer; below it, the times' own noise would move the boundary to and fro.
constexpr double kImbalanceMargin = 1.05;

std::int64_t nanosecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start).count();
}

inline void pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

template <class T, class Done>
void waitUntil(std::atomic<T>& value, Done done) {
  if (done(value.load(std::memory_order_acquire))) return;
  const auto start = std::chrono::steady_clock::now();
  bool yielding = false;
  for (int spin = 1;; ++spin) {
    if (done(value.load(std::memory_order_acquire))) return;
    if (yielding)
      std::this_thread::yield();
    else
      pause();
    if (yielding || spin % kSpinsPerClockRead == 0) {
      const auto spun = std::chrono::steady_clock::now() - start;
      if (spun > kSpinTime) break;
      yielding = spun > kPauseTime;
    }
  }
  for (T seen = value.load(std::memory_order_acquire); !done(seen); seen = value.load(std::memory_order_acquire))
    value.wait(seen, std::memory_order_acquire);
}

// Sets `taken` to `generation` when that is later than what it holds (by
// the wrapping difference: generations count on past 2^32) and says whether
// it did. The caller goes past a generation only once every range of it is
// taken, so a worker that saw an older one loses it here.
bool takeNewer(std::atomic<std::uint32_t>& taken, std::uint32_t generation) {
  std::uint32_t seen = taken.load(std::memory_order_relaxed);
  do {
    if (static_cast<std::int32_t>(generation - seen) <= 0) return false;
  } while (!taken.compare_exchange_weak(seen, generation, std::memory_order_acq_rel, std::memory_order_relaxed));
  return true;
}

}  // namespace

StepWorkers::StepWorkers(int threads) {
  const int n = std::clamp(threads, 1, kMaxStepThreads);
  reports_ = std::vector<Report>(static_cast<std::size_t>(n - 1));
  workers_.reserve(static_cast<std::size_t>(n - 1));
  for (int part = 1; part < n; ++part) workers_.emplace_back([this, part] { serve(part); });
}

StepWorkers::~StepWorkers() {
  handoff_.stopping.store(true, std::memory_order_relaxed);
  handoff_.generation.fetch_add(1, std::memory_order_release);
  handoff_.generation.notify_all();
  for (std::thread& t : workers_) t.join();
}

void StepWorkers::run(const StepPartition& ranges, Phase phase, void* context) {
  if (workers_.empty()) {
    phase(context, 0, ranges.begin[0], ranges.begin[1]);
    return;
  }
  // Every worker reported the last generation: none reads these now.
  handoff_.phase = phase;
  handoff_.context = context;
  std::copy_n(ranges.begin.begin(), threads() + 1, handoff_.begin.begin());
  const std::uint32_t generation = handoff_.generation.fetch_add(1, std::memory_order_release) + 1;
  handoff_.generation.notify_all();
  const auto start = std::chrono::steady_clock::now();
  phase(context, 0, ranges.begin[0], ranges.begin[1]);
  times_[0] = nanosecondsSince(start);
  for (std::size_t w = 0; w < reports_.size(); ++w) {
    Report& report = reports_[w];
    // A worker that has not begun by now (its core taken by another task for
    // a while, or the worker asleep) would keep this thread waiting for the
    // whole of its range: this thread runs it instead.
    if (takeNewer(report.taken, generation)) {
      const auto taken = std::chrono::steady_clock::now();
      phase(context, static_cast<int>(w) + 1, ranges.begin[w + 1], ranges.begin[w + 2]);
      times_[w + 1] = nanosecondsSince(taken);
      continue;
    }
    waitUntil(report.done, [generation](std::uint32_t done) { return done == generation; });
    times_[w + 1] = report.nanoseconds;
  }
}

void StepWorkers::serve(int part) {
  Report& report = reports_[static_cast<std::size_t>(part - 1)];
  std::uint32_t handled = 0;
  for (;;) {
    waitUntil(handoff_.generation, [handled](std::uint32_t g) { return g != handled; });
    handled = handoff_.generation.load(std::memory_order_acquire);
    if (handoff_.stopping.load(std::memory_order_relaxed)) return;
    // The caller took this range already, or a later one while this thread
    // looked (the caller then went on and writes the handoff anew): this
    // thread reads nothing of it.
    if (!takeNewer(report.taken, handled)) continue;
    const auto start = std::chrono::steady_clock::now();
    const std::size_t r = static_cast<std::size_t>(part);
    handoff_.phase(handoff_.context, part, handoff_.begin[r], handoff_.begin[r + 1]);
    report.nanoseconds = nanosecondsSince(start);
    report.done.store(handled, std::memory_order_release);
    report.done.notify_one();
  }
}

void PhaseBalance::adjust(const std::int64_t* nanoseconds) {
  for (int r = 1; r < ranges_.parts; ++r) {
    int& b = ranges_.begin[r];
    const double before = static_cast<double>(nanoseconds[r - 1]), after = static_cast<double>(nanoseconds[r]);
    if (before > after * kImbalanceMargin && b > ranges_.begin[r - 1])
      --b;
    else if (after > before * kImbalanceMargin && b < ranges_.begin[r + 1])
      ++b;
  }
}

}  // namespace vorlund

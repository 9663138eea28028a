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

}  // namespace

StepWorkers::StepWorkers(int threads) {
  const int n = std::clamp(threads, 1, kMaxStepThreads);
  workers_.reserve(static_cast<std::size_t>(n - 1));
  for (int part = 1; part < n; ++part) workers_.emplace_back([this, part] { serve(part); });
}

StepWorkers::~StepWorkers() {
  stopping_.store(true, std::memory_order_relaxed);
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
  for (std::thread& t : workers_) t.join();
}

void StepWorkers::run(const StepPartition& ranges, Phase phase, void* context) {
  if (workers_.empty()) {
    phase(context, 0, ranges.begin[0], ranges.begin[1]);
    return;
  }
  ranges_ = ranges;
  phase_ = phase;
  context_ = context;
  pending_.store(static_cast<int>(workers_.size()), std::memory_order_relaxed);
  generation_.fetch_add(1, std::memory_order_release);
  generation_.notify_all();
  const auto start = std::chrono::steady_clock::now();
  phase(context, 0, ranges.begin[0], ranges.begin[1]);
  times_[0] = nanosecondsSince(start);
  waitUntil(pending_, [](int left) { return left == 0; });
}

void StepWorkers::serve(int part) {
  std::uint32_t handled = 0;
  for (;;) {
    waitUntil(generation_, [handled](std::uint32_t g) { return g != handled; });
    handled = generation_.load(std::memory_order_acquire);
    if (stopping_.load(std::memory_order_relaxed)) return;
    const auto start = std::chrono::steady_clock::now();
    phase_(context_, part, ranges_.begin[part], ranges_.begin[part + 1]);
    times_[static_cast<std::size_t>(part)] = nanosecondsSince(start);
    if (pending_.fetch_sub(1, std::memory_order_acq_rel) == 1) pending_.notify_one();
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

// A small pool of worker threads, made once, that runs one phase of the
// physics step over a fixed partition of the objects: the calling thread
// takes the first of N contiguous ranges, worker w the (w+1)-th. With one
// thread nothing is started and a phase runs inline. A phase touches only
// the objects of its own range, so the results are the same for every N.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace vorlund {

// Most threads a step is split over (the calling one included).
inline constexpr int kMaxStepThreads = 64;

// Where the ranges of a phase begin: range r is [begin[r], begin[r + 1]).
struct StepPartition {
  std::array<int, kMaxStepThreads + 1> begin{};
  int parts = 1;
};

// Splits [0, count) into `parts` ranges of about equal total weight (the
// weight of item i is weight(i), at least 1 each).
template <class Weight>
StepPartition partitionByWeight(int count, int parts, Weight weight) {
  StepPartition p;
  p.parts = parts;
  long total = 0;
  for (int i = 0; i < count; ++i) total += weight(i);
  long sum = 0;
  int part = 1;
  for (int i = 0; i < count && part < parts; ++i) {
    // A range ends once it holds its share of the whole weight.
    while (part < parts && sum >= total * part / parts) p.begin[part++] = i;
    sum += weight(i);
  }
  while (part < parts) p.begin[part++] = count;
  p.begin[parts] = count;
  return p;
}

class StepWorkers {
 public:
  using Phase = void (*)(void* context, int part, int begin, int end);

  // `threads` counts the calling thread; it is held to 1..kMaxStepThreads.
  explicit StepWorkers(int threads);
  ~StepWorkers();
  StepWorkers(const StepWorkers&) = delete;
  StepWorkers& operator=(const StepWorkers&) = delete;

  int threads() const { return static_cast<int>(workers_.size()) + 1; }

  // Runs phase(context, r, begin, end) for every range r of the partition
  // (which has threads() parts) and returns when all are done.
  void run(const StepPartition& ranges, Phase phase, void* context);

 private:
  void serve(int part);

  std::vector<std::thread> workers_;
  // Bumped to hand the workers a phase; they run it once per value.
  std::atomic<std::uint32_t> generation_{0};
  std::atomic<int> pending_{0};
  std::atomic<bool> stopping_{false};
  // Written before generation_ is bumped, read after it is seen.
  StepPartition ranges_;
  Phase phase_ = nullptr;
  void* context_ = nullptr;
};

}  // namespace vorlund

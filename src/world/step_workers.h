// A small pool of worker threads, made once, that runs one phase of the
// physics step over a fixed partition of the objects: the calling thread
// takes the first of N contiguous ranges, worker w the (w+1)-th, unless the
// caller finishes its own before the worker began: then the caller runs that
// range too. With one thread nothing is started and a phase runs inline. A
// phase touches only the objects of its own range, so the results are the
// same for every N and whichever thread runs a range.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
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

// One item per part: for a phase that finds its own items by part.
inline StepPartition unitPartition(int parts) {
  StepPartition p;
  p.parts = parts;
  for (int r = 0; r <= parts; ++r) p.begin[static_cast<std::size_t>(r)] = r;
  return p;
}

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

// The ranges of one kind of phase, kept from step to step and moved after
// each run toward equal times: the weights are only a first guess (an energy
// ball costs more in the motion phase than its few elements suggest, and an
// end another core wrote last costs more than one it wrote itself). Where
// the ranges lie never changes a result, only which thread does the work.
class PhaseBalance {
 public:
  // The ranges for `count` items over `parts`: the last ones held within
  // `count`, or (the first time, or with another number of parts) fresh ones
  // by weight.
  template <class Weight>
  const StepPartition& ranges(int count, int parts, Weight weight) {
    if (ranges_.parts != parts || !started_) {
      ranges_ = partitionByWeight(count, parts, weight);
      started_ = true;
    }
    for (int r = 1; r <= parts; ++r) ranges_.begin[r] = std::clamp(ranges_.begin[r], ranges_.begin[r - 1], count);
    ranges_.begin[parts] = count;
    return ranges_;
  }
  // Moves each inner boundary by one item away from the range of the two
  // beside it that took clearly longer (`nanoseconds[r]` is range r's time).
  void adjust(const std::int64_t* nanoseconds);

 private:
  StepPartition ranges_;
  bool started_ = false;
};

// The size of a cache line, the unit cores hand each other.
inline constexpr std::size_t kCacheLineBytes = 64;

// A list one range of a phase fills, alone on its cache lines. Kept side by
// side in a plain vector, the lists' headers would share lines, and every
// element one thread appends would take the line from the other threads
// appending theirs.
template <class T>
struct alignas(kCacheLineBytes) RangeList : std::vector<T> {};

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
  // How long each range of the last run took, in nanoseconds.
  const std::int64_t* lastTimes() const { return times_.data(); }

 private:
  void serve(int part);

  std::vector<std::thread> workers_;
  // What a worker reads when it sees a new generation, on one cache line up
  // to eight threads: it comes over from the caller's core in one piece.
  struct alignas(kCacheLineBytes) Handoff {
    // Bumped to hand the workers a phase; they run it once per value.
    std::atomic<std::uint32_t> generation{0};
    std::atomic<bool> stopping{false};
    // Written before generation is bumped, read after it is seen.
    Phase phase = nullptr;
    void* context = nullptr;
    std::array<int, kMaxStepThreads + 1> begin{};  // as StepPartition::begin
  };
  // A worker's range of one generation: who takes it, and the worker's word
  // that it finished it, with its time, on a line of its own.
  struct alignas(kCacheLineBytes) Report {
    // The last generation whose range was taken, by the worker or by the
    // caller; whoever sets it to a new value runs that range.
    std::atomic<std::uint32_t> taken{0};
    std::atomic<std::uint32_t> done{0};  // written by the worker only
    std::int64_t nanoseconds = 0;
  };
  Handoff handoff_;
  std::vector<Report> reports_;  // worker w's is reports_[w - 1]
  // Each range's time, as the calling thread gathered them.
  std::array<std::int64_t, kMaxStepThreads> times_{};
};

}  // namespace vorlund

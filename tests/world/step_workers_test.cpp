#include <gtest/gtest.h>

#include <vector>

#include "world/step_workers.h"

namespace vorlund {
namespace {

// How often each item ran, and the part that ran it last.
struct Seen {
  explicit Seen(int count) : runs(static_cast<std::size_t>(count)), part(static_cast<std::size_t>(count), -1) {}
  static void record(void* s, int part, int begin, int end) {
    for (int i = begin; i < end; ++i) {
      ++static_cast<Seen*>(s)->runs[static_cast<std::size_t>(i)];
      static_cast<Seen*>(s)->part[static_cast<std::size_t>(i)] = part;
    }
  }
  std::vector<int> runs, part;
};

// Every item is handed to exactly one range, the ranges follow the item
// order, and a heavy item does not drag its neighbours into one range.
TEST(StepWorkers, EveryItemRunsOnceInOrderedRangesForAnyThreadCount) {
  struct Case {
    int threads, count;
  };
  for (const Case c : {Case{1, 5}, Case{2, 0}, Case{2, 1}, Case{2, 150}, Case{3, 7}, Case{4, 3}}) {
    StepWorkers workers(c.threads);
    ASSERT_EQ(workers.threads(), c.threads);
    // Items 0..9 weigh 10 each, the rest 1: the first ranges take fewer items.
    const StepPartition p = partitionByWeight(c.count, c.threads, [](int i) { return i < 10 ? 10 : 1; });
    for (int r = 0; r < c.threads; ++r) ASSERT_LE(p.begin[r], p.begin[r + 1]) << c.threads << " " << c.count;
    Seen seen(c.count);
    for (int round = 0; round < 3; ++round) workers.run(p, Seen::record, &seen);
    for (int i = 0; i < c.count; ++i) {
      EXPECT_EQ(seen.runs[static_cast<std::size_t>(i)], 3) << i;
      if (i > 0) {
        EXPECT_LE(seen.part[static_cast<std::size_t>(i - 1)], seen.part[static_cast<std::size_t>(i)]);
      }
    }
  }
  const StepPartition heavy = partitionByWeight(150, 2, [](int i) { return i < 50 ? 10 : 1; });
  EXPECT_EQ(heavy.begin[1], 30);  // 300 of the 600 in the first 30 items
}

// The caller, its own range empty, races the workers for theirs round after
// round: still every range runs exactly once a round, with its own part.
TEST(StepWorkers, EveryRangeRunsOnceWhenTheCallerTakesOverFromLateWorkers) {
  constexpr int kRounds = 2000, kPerRange = 4;
  StepWorkers workers(3);
  StepPartition p;
  p.parts = 3;
  p.begin = {0, 0, kPerRange, 2 * kPerRange};
  Seen seen(2 * kPerRange);
  for (int round = 0; round < kRounds; ++round) workers.run(p, Seen::record, &seen);
  for (int i = 0; i < 2 * kPerRange; ++i) {
    EXPECT_EQ(seen.runs[static_cast<std::size_t>(i)], kRounds) << i;
    EXPECT_EQ(seen.part[static_cast<std::size_t>(i)], 1 + i / kPerRange) << i;
  }
}

// Times below the margin leave a boundary where it is; a slower range gives
// one item to its neighbour per run; ranges stay ordered within the count,
// also when the count shrinks under them.
TEST(PhaseBalance, MovesBoundariesTowardEqualTimesWithinTheCount) {
  PhaseBalance b;
  const auto even = [](int) { return 1; };
  EXPECT_EQ(b.ranges(90, 3, even).begin[1], 30);
  const std::int64_t close[3] = {1000, 1040, 1000}, slowFirst[3] = {2000, 1000, 1000}, slowLast[3] = {0, 0, 5000};
  b.adjust(close);
  EXPECT_EQ(b.ranges(90, 3, even).begin[1], 30);
  EXPECT_EQ(b.ranges(90, 3, even).begin[2], 60);
  b.adjust(slowFirst);
  EXPECT_EQ(b.ranges(90, 3, even).begin[1], 29);
  for (int i = 0; i < 100; ++i) b.adjust(slowLast);
  const StepPartition& r = b.ranges(70, 3, even);
  EXPECT_EQ(r.begin[1], 29);
  EXPECT_EQ(r.begin[2], 70);  // held to the count
  EXPECT_EQ(r.begin[3], 70);
}

}  // namespace
}  // namespace vorlund

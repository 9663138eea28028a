#include "core/clock_thinning.h"

#include <gtest/gtest.h>

#include "core/step_rate_meter.h"

namespace vorlund {
namespace {

TEST(ClockThinning, ReadsAboutAThousandTimesASecond) {
  ClockThinning clock;
  for (long rate : {0L, 999L})  // slow or not yet measured: every call
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(clock.due(rate)) << rate;
  int reads = 0;
  for (int i = 0; i < 50000; ++i) reads += clock.due(50000);
  EXPECT_EQ(reads, 1000);
}

// A run of 400 steps a millisecond on a clock that tells the steps' time.
TEST(StepRateMeter, ThinsItsClockFromTheFirstMillisecondAndCountsWholeWindows) {
  StepRateMeter meter;
  long steps = 0, reads = 0;
  const auto clock = [&] {
    ++reads;
    return 5000 + steps / 400;
  };
  for (; steps < 500'000; ++steps) {
    if (meter.step(clock)) break;
    EXPECT_EQ(meter.perSecond(), 0);
  }
  // A short run used to read the clock on every step until the first window ended.
  EXPECT_LT(reads, 3000);
  EXPECT_NEAR(meter.perSecond(), 400'000, 1000);
  EXPECT_EQ(meter.guess(), meter.perSecond());
  reads = 0;
  for (long end = steps + 400'000; steps < end; ++steps) meter.step(clock);
  EXPECT_LT(reads, 1500);
}

}  // namespace
}  // namespace vorlund

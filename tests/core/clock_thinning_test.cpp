#include "core/clock_thinning.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vorlund

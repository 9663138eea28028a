#include "core/random.h"

#include <gtest/gtest.h>

#include <set>

namespace vorlund {
namespace {

TEST(Random, RangesAndResolution) {
  seedRandom(42);
  int lo15 = R15_MAX, hi15 = 0;
  std::set<int> distinct;
  int32_t hi31 = 0;
  for (int i = 0; i < 200000; ++i) {
    const int a = r15();
    lo15 = std::min(lo15, a);
    hi15 = std::max(hi15, a);
    distinct.insert(a);
    const int32_t b = r31();
    ASSERT_GE(b, 0);
    hi31 = std::max(hi31, b);
    const double u = rndUnit();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
  EXPECT_EQ(lo15, 0);
  EXPECT_EQ(hi15, R15_MAX);
  EXPECT_GT(distinct.size(), 32000u);
  EXPECT_GT(hi31, 1 << 30);  // the high bit of 31 is used
  EXPECT_EQ(rndBelow(0), 0);
}

TEST(Random, SameSeedRepeatsDifferentSeedsDiffer) {
  seedRandom(7);
  const int a1 = r15(), a2 = r31();
  seedRandom(7);
  EXPECT_EQ(r15(), a1);
  EXPECT_EQ(r31(), a2);
  seedRandom(8);
  const int b1 = r15(), b2 = r31();
  EXPECT_FALSE(a1 == b1 && a2 == b2);
}

}  // namespace
}  // namespace vorlund

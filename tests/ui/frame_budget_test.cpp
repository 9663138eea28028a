// A slow renderer must not eat the run: skipped-step frames wait out twice
// their own cost, while "Every frame" and the slow-downs always draw.
#include <gtest/gtest.h>

#include "ui/run_pacing.h"

using vorlund::ui::FrameBudget;

TEST(FrameBudget, SlowFramesLeaveTwiceTheirCostToTheRun) {
  FrameBudget budget;
  EXPECT_TRUE(budget.allows(1000, 0.0));  // nothing drawn yet
  budget.drawn(100.0, 110.0);  // a 10 ms frame
  EXPECT_FALSE(budget.allows(4, 119.9));
  EXPECT_TRUE(budget.allows(4, 130.0));
  for (int everyStep : {1, 0, -8}) EXPECT_TRUE(budget.allows(everyStep, 110.5)) << everyStep;
  budget.drawn(130.0, 130.5);  // the cost follows the last frame
  EXPECT_TRUE(budget.allows(1000, 131.5));
}

TEST(FrameBudget, ListsFollowEveryUthStepAtMostTenTimesASecond) {
  EXPECT_TRUE(vorlund::ui::listRefreshDue(200, 100, 1000.0, 900.0));
  EXPECT_FALSE(vorlund::ui::listRefreshDue(201, 100, 1000.0, 0.0));
  EXPECT_FALSE(vorlund::ui::listRefreshDue(300, 100, 1000.0, 950.0));
}

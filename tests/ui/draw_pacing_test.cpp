// A slow renderer or busy lists must not eat the run: skipped-step frames wait
// out four times their own cost, lists follow at most ten times a second, while
// "Every frame" and the slow-downs always draw.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include "ui/paint_throttle.h"
#include "ui/run_pacing.h"

using namespace vorlund::ui;

TEST(DrawPacing, SlowFramesLeaveFourTimesTheirCostToTheRun) {
  FrameBudget budget;
  EXPECT_TRUE(budget.allows(1000, 0.0));  // nothing drawn yet
  budget.drawn(100.0, 110.0);  // a 10 ms frame
  EXPECT_FALSE(budget.allows(4, 149.9));
  EXPECT_TRUE(budget.allows(4, 150.0));
  for (int everyStep : {1, 0, -8}) EXPECT_TRUE(budget.allows(everyStep, 110.5)) << everyStep;
  budget.drawn(130.0, 130.5);  // the cost follows the last frame
  EXPECT_TRUE(budget.allows(1000, 132.5));
}

TEST(DrawPacing, ListsFollowEveryUthStepAtMostTenTimesASecond) {
  EXPECT_TRUE(listRefreshDue(200, 100, 1000.0, 900.0));
  EXPECT_FALSE(listRefreshDue(201, 100, 1000.0, 0.0));
  EXPECT_FALSE(listRefreshDue(300, 100, 1000.0, 950.0));
}

namespace {
struct PaintCounter : QWidget {
  using QWidget::QWidget;
  int paints = 0;
  void paintEvent(QPaintEvent*) override { ++paints; }
};

// Asks for a repaint on every pass of the event loop for `ms`; the paints it got and the time it took.
std::pair<int, qint64> hammer(PaintCounter& w, int ms) {
  const int before = w.paints;
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    w.update();
    QCoreApplication::processEvents();
  }
  return {w.paints - before, t.elapsed()};
}
}  // namespace

TEST(DrawPacing, WindowRepaintsAreHeldBackOnlyWhileActiveAndNeverLost) {
  QWidget window;
  window.resize(60, 40);
  auto* child = new PaintCounter(&window);
  child->resize(60, 40);
  bool active = true;
  new PaintThrottle(&window, [&active] { return active; });
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  const auto [held, heldMs] = hammer(*child, 300);
  EXPECT_LE(held, heldMs / PaintThrottle::kIntervalMs + 2);
  child->update();
  const int last = child->paints;
  QTest::qWait(2 * PaintThrottle::kIntervalMs);  // a repaint held back still comes
  EXPECT_GE(child->paints, last + 1);

  active = false;
  const auto [free, freeMs] = hammer(*child, 300);
  EXPECT_GT(free, freeMs / PaintThrottle::kIntervalMs + 2);
}

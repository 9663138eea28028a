#include "ui/demo_scheduler.h"

#include <algorithm>
#include <utility>

namespace vorlund::ui {

namespace {
// Chance (out of kSelectOutOf) that a showing selects its creature rather
// than showing the world without a selection.
constexpr int kSelectOutOf = 50;
constexpr int kSelectBelow = 49;
}  // namespace

DemoScheduler::DemoScheduler(std::function<long()> secondsClock, std::function<int()> random)
    : clock_(std::move(secondsClock)), random_(std::move(random)) {}

bool DemoScheduler::tick(const DemoSettings& s, DemoStage& stage) {
  const long now = clock_();
  if (!started_) {
    started_ = true;
    periodStart_ = now;
  }
  bool show = false;
  const long budget = static_cast<long>(s.timeBase) * s.demoOn / 100;
  if (now - periodStart_ > s.timeBase) {
    paused_ = false;
    periodStart_ = now;
    used_ = 0;
    if (end_ > 0) {
      show = true;
      end_ = 0;
    }
  }
  if (end_ > 0 && now >= end_) {
    show = true;
    end_ = 0;
  }
  const int rows = stage.rowCount();
  if (end_ == 0 && (now == periodStart_ || used_ <= budget) && rows > 0) {
    const int row = random_() % rows;
    // No creatures allowed at a time would divide by zero: count it as one.
    long d = budget / std::max(1, s.maxCreated);
    if (d < kMinShowingSeconds) d = 2;
    if (!stage.rowMeasuring(row)) d /= 2;
    d = std::min(d, budget - used_);
    d = std::min(d, kMaxShowingSeconds);
    if (d > 0) {
      end_ = now + d;
      used_ += d;
      if (s.advanced) stage.newCameraMotion();
      stage.clearSelection();
      selecting_ = random_() % kSelectOutOf < kSelectBelow;
      if (selecting_) {
        stage.selectRow(row);
        if (random_() % 2 == 0) {
          const int neurons = stage.neuronCount();
          if (neurons > 0) stage.selectNeuron(random_() % neurons);
        }
      }
      stage.checkFollow();
      stage.showWorld();
      show = false;
      paused_ = false;  // a new showing ends the pause
    }
  }
  // A creature that dies during its showing hands the rest of it to another:
  // the camera would otherwise show the bare world until the next showing.
  if (end_ > 0 && selecting_ && rows > 0 && stage.selectionEmpty()) {
    stage.selectRow(random_() % rows);
    stage.checkFollow();
  }
  // Always on means never paused, with or without creatures to show.
  if (s.demoOn >= 100) show = false;
  if (s.advanced) stage.keepCameraAboveGround();
  if (show) paused_ = true;
  return show;
}

}  // namespace vorlund::ui

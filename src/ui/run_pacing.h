// The run loop's pacing, free of the window toolkit: how often the views are
// drawn and the lists refreshed, how the display rate is measured and the
// drawing throttled, and how the step counter is written.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/clock_thinning.h"

namespace vorlund::ui {

// The step counter with a blank before every group of three digits counted
// from the right: 1234567 -> "1 234 567".
std::string groupDigits(long value);

// The redraw ratio D of a refresh-rate choice: "Every frame" -> 1, "1:4" -> 4,
// "8x slow-down" -> -8 (the same state drawn eight times). Anything that does
// not give a usable number (a choice edited into "1:0" or "1:x") means 1.
int parseRedrawChoice(std::string_view text);
// The list update ratio U: "Ever" -> 1, "1:100" -> 100; unusable texts -> 1.
long parseUpdateChoice(std::string_view text);

// The watching paces: "Watch: 1x speed" runs the world at kWatchStepsPerSecond
// steps a second (about life-like: gravity's 0.005 units per step squared is
// the Earth's at one metre a unit), "Watch: 4x speed" four times as fast.
// The pace decides only when steps run, never what they do.
constexpr double kWatchStepsPerSecond = 44.0;
// The speed-up of a watching choice ("Watch: 4x speed" -> 4), 0 for the others.
double parseWatchChoice(std::string_view text);

// Keeps a run to a number of steps per second of real time: how many steps
// are due now, and how long until the next one. A run that falls behind
// (slow frames, a box) carries at most kMaxBacklogMs of steps into the next
// batch, so the world never races to catch up.
class StepPacer {
 public:
  static constexpr double kMaxBacklogMs = 100.0;

  // Starts counting at `nowMs` (any steady clock) at `stepsPerSecond`.
  void start(double nowMs, double stepsPerSecond);
  double stepsPerSecond() const { return rate_; }
  // Steps due at `nowMs` that have not been done yet.
  long due(double nowMs);
  void stepped(long steps) { done_ += steps; }
  // Milliseconds from `nowMs` until the next step is due (0 when one is due).
  double msToNext(double nowMs) const;

 private:
  double startMs_ = 0.0;
  double rate_ = 0.0;
  long done_ = 0;
};

// Frames to draw after a step: 1 on every D-th step when D > 0 (0 on the
// others), and -D on every step when D < 0.
int framesForStep(int redrawRatio, long stepCount);

// Frames the refresh ratio skips steps for (D > 1) are there to show the run,
// not to slow it: such a frame is left out while the previous one ended less
// than kIdlePerDrawn times its own drawing time ago, so drawing takes at most
// about a fifth of the run's time however slow the renderer (a software
// rasteriser spends tens of milliseconds on a frame the screen cannot show
// any sooner). "Every frame" and the slow-downs draw every frame they ask for.
class FrameBudget {
 public:
  static constexpr double kIdlePerDrawn = 4.0;

  // Whether a frame asked for at `nowMs` (any steady clock) is drawn.
  bool allows(int redrawRatio, double nowMs) const {
    return redrawRatio <= 1 || nowMs - lastEndMs_ >= kIdlePerDrawn * lastCostMs_;
  }
  void drawn(double startMs, double endMs) {
    lastCostMs_ = endMs - startMs;
    lastEndMs_ = endMs;
  }

 private:
  double lastEndMs_ = 0.0;
  double lastCostMs_ = 0.0;
};

// How often a batch of steps looks at its clock and for an opened box: every
// step while steps are slow, every few steps when they are fast (a world of
// a few walkers makes a step in a few microseconds, and the two looks cost
// some tenths of a per cent of it even at 64 a batch), so that a batch still
// ends within about 1/kChecksPerBatch of its time (half a millisecond).
class BatchChecks {
 public:
  static constexpr long kChecksPerBatch = 16;

  // Whether the n-th step of a batch (from 1) is followed by a look.
  bool due(long n) const { return n % stride_ == 0; }
  // After n steps of a batch: how many more until the next look.
  long stepsToNextLook(long n) const { return stride_ - n % stride_; }
  // After a batch that made `steps` steps.
  void batchDone(long steps) { stride_ = steps / kChecksPerBatch > 1 ? steps / kChecksPerBatch : 1; }

 private:
  long stride_ = 1;
};

// The lists and the status line follow the run every U-th step, but not
// sooner than kListRefreshMinMs after their last refresh: rows changing faster
// cannot be read, and laying out their text would slow the run down.
constexpr double kListRefreshMinMs = 100.0;
inline bool listRefreshDue(long step, long updateRatio, double nowMs, double lastMs) {
  return step % updateRatio == 0 && nowMs - lastMs >= kListRefreshMinMs;
}

// The lists look at the clock (for listRefreshDue) on U-th steps only, and
// not much more often than the other thinned clock reads: a fast world's
// steps take a few microseconds. After a look on `step`, the step of the
// next one at `stepsPerSecond` (0 while unknown: the next U-th step).
inline long nextUthStep(long step, long updateRatio) { return (step / updateRatio + 1) * updateRatio; }
inline long nextListLook(long step, long updateRatio, long stepsPerSecond) {
  const long gap = stepsPerSecond / ClockThinning::kReadsPerSecond;
  return nextUthStep(step + (gap > 1 ? gap - 1 : 0), updateRatio);
}

// Half-second measurements of the display rate, and the throttle that slows
// drawing down while the rate is above the limit `int_maxfps`.
class FrameRateMeter {
 public:
  // A measurement happens when more than this has passed since the last one.
  static constexpr uint32_t kMeasureAfterMs = 500;
  // The throttle grows or shrinks by this factor per measurement.
  static constexpr double kThrottleStep = 1.1;

  explicit FrameRateMeter(uint32_t nowMs) : lastMs_(nowMs) {}

  void frameDrawn() { ++frames_; }
  void framesDrawn(int n) { frames_ += std::max(n, 0); }
  int framesSinceMeasurement() const { return frames_; }
  // Measures when due (tick clock, wrap-around safe); true when it did.
  bool measure(uint32_t nowMs, int maxFps);

  double rate() const { return rate_; }
  double throttle() const { return throttle_; }
  // The pause after each frame while a limit is set: (throttle - 1) x 10 ms.
  int sleepMs(int maxFps) const;

 private:
  uint32_t lastMs_;
  int frames_ = 0;
  double rate_ = 0.0;
  double throttle_ = 1.0;
};

}  // namespace vorlund::ui

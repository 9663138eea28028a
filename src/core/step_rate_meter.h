// Steps a second, counted over windows of about a second, with the clock
// read only about ClockThinning::kReadsPerSecond times a second: from the
// first millisecond of a run on, not only once the first window has ended,
// which is all of a short run.
#pragma once

#include <cstdint>

#include "core/clock_thinning.h"

namespace vorlund {

class StepRateMeter {
 public:
  // Length of one counting window [ms].
  static constexpr long kWindowMs = 1000;

  // One step; `clockMs()` (a monotonic clock in milliseconds) is called only
  // when a look is due. True when a window ended and perSecond() changed.
  template <class Clock>
  bool step(Clock clockMs) {
    ++steps_;
    if (!clock_.due(guess())) return false;
    const long now = clockMs();
    if (startMs_ < 0) startMs_ = now;
    const long passed = now - startMs_;
    if (passed < kWindowMs) {
      // Before the first window ends, the rate so far paces the looks.
      if (passed > 0) soFar_ = steps_ * 1000 / passed;
      return false;
    }
    // Steps per window, scaled to the exact time passed.
    perSecond_ = static_cast<int32_t>(steps_ * 1000 / passed);
    steps_ = 0;
    startMs_ = now;
    return true;
  }

  // The last window's steps a second; 0 before the first window ended.
  int32_t perSecond() const { return perSecond_; }
  // The best rate known: the last window's, or before it the rate so far
  // (0 until a millisecond has passed).
  long guess() const { return perSecond_ > 0 ? perSecond_ : soFar_; }

 private:
  ClockThinning clock_;
  long steps_ = 0;
  long startMs_ = -1;
  long soFar_ = 0;
  int32_t perSecond_ = 0;
};

}  // namespace vorlund

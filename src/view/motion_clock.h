// Real time as camera-motion ticks: the world view's camera turns and zooms by
// the real time passed, never by the number of simulation steps, so a key
// press moves it as fast running as stopped.
#pragma once

namespace vorlund {

class MotionClock {
 public:
  // One motion tick: the period of the main window's timer, which is what
  // moved the camera once while the simulation was stopped.
  static constexpr double kTickMs = 51.0;
  // Time is handed out in pieces of at least this, so that reading the clock
  // on every step of a fast run does not turn the camera by crumbs.
  static constexpr double kMinPieceMs = 2.0;
  // A gap longer than this (a modal box, a stalled frame) counts as this
  // long: the camera goes on where it was instead of jumping.
  static constexpr double kMaxGapMs = 250.0;

  // The ticks (fractional) since the time last handed out; 0 on the first
  // call and while less than kMinPieceMs has passed. `nowMs` is any steady clock.
  double ticksAt(double nowMs) {
    if (!started_) {
      started_ = true;
      lastMs_ = nowMs;
      return 0.0;
    }
    double gap = nowMs - lastMs_;
    if (gap < kMinPieceMs) return 0.0;  // also a clock that went back
    lastMs_ = nowMs;
    if (gap > kMaxGapMs) gap = kMaxGapMs;
    return gap / kTickMs;
  }

 private:
  bool started_ = false;
  double lastMs_ = 0.0;
};

}  // namespace vorlund

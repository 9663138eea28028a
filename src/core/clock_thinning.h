// Thins out the clock reads of a check made on steps that come many thousand
// a second: a fast world's step takes only about ten readings of the clock,
// so reading it on every step cost such a world some per cent of its steps.
#pragma once

namespace vorlund {

class ClockThinning {
 public:
  static constexpr long kReadsPerSecond = 1000;

  // True about kReadsPerSecond times a second at the given rate of calls;
  // on every call while the rate is slow or not yet known.
  bool due(long callsPerSecond) {
    if (++calls_ < callsPerSecond / kReadsPerSecond) return false;
    calls_ = 0;
    return true;
  }

 private:
  long calls_ = 0;
};

}  // namespace vorlund

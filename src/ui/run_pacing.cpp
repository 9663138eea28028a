#include "ui/run_pacing.h"

#include <algorithm>
#include <cstdlib>

namespace vorlund::ui {

namespace {

// The leading decimal number of `text` (digits only), or -1 when there is none.
long leadingNumber(std::string_view text) {
  long value = 0;
  std::size_t i = 0;
  constexpr long kMax = 1000000000L;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = std::min(kMax, value * 10 + (text[i] - '0'));
  return i == 0 ? -1 : value;
}

long numberAfterColon(std::string_view text) {
  const std::size_t colon = text.find(':');
  return colon == std::string_view::npos ? -1 : leadingNumber(text.substr(colon + 1));
}

}  // namespace

std::string groupDigits(long value) {
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -(value + 1) + 1UL : static_cast<unsigned long>(value));
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ' ';
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

int parseRedrawChoice(std::string_view text) {
  if (text.empty() || text[0] == 'E') return 1;
  if (text[0] == '1' && text.size() > 1 && text[1] == ':') {
    const long d = numberAfterColon(text);
    return d > 0 ? static_cast<int>(d) : 1;
  }
  if (text.size() > 1 && text[1] == 'x') {
    const long d = leadingNumber(text);
    return d > 0 ? -static_cast<int>(d) : 1;
  }
  return 1;
}

long parseUpdateChoice(std::string_view text) {
  if (text.empty() || text[0] == 'E') return 1;
  const long u = numberAfterColon(text);
  return u > 0 ? u : 1;
}

double parseWatchChoice(std::string_view text) {
  constexpr std::string_view kPrefix = "Watch: ";
  if (text.substr(0, kPrefix.size()) != kPrefix) return 0.0;
  const long n = leadingNumber(text.substr(kPrefix.size()));
  return n > 0 ? static_cast<double>(n) : 0.0;
}

void StepPacer::start(double nowMs, double stepsPerSecond) {
  startMs_ = nowMs;
  rate_ = stepsPerSecond;
  done_ = 0;
}

long StepPacer::due(double nowMs) {
  if (rate_ <= 0) return 0;
  const double owed = (nowMs - startMs_) * rate_ / 1000.0 - static_cast<double>(done_);
  const double maxOwed = kMaxBacklogMs * rate_ / 1000.0 + 1.0;
  if (owed > maxOwed) {
    // Forget what is older than the backlog: the start moves up.
    startMs_ += (owed - maxOwed) * 1000.0 / rate_;
    return static_cast<long>(maxOwed);
  }
  return owed >= 1.0 ? static_cast<long>(owed) : 0;
}

double StepPacer::msToNext(double nowMs) const {
  if (rate_ <= 0) return 0.0;
  const double nextMs = startMs_ + static_cast<double>(done_ + 1) * 1000.0 / rate_;
  return std::max(0.0, nextMs - nowMs);
}

int framesForStep(int redrawRatio, long stepCount) {
  if (redrawRatio < 0) return -redrawRatio;
  if (redrawRatio == 0) return 1;
  return stepCount % redrawRatio == 0 ? 1 : 0;
}

bool FrameRateMeter::measure(uint32_t nowMs, int maxFps) {
  const uint32_t elapsed = nowMs - lastMs_;
  if (elapsed <= kMeasureAfterMs) return false;
  rate_ = frames_ * 1000.0 / elapsed;
  frames_ = 0;
  if (maxFps < 1) {
    throttle_ = 1.0;
  } else if (rate_ > maxFps) {
    throttle_ *= kThrottleStep;
  } else if (rate_ < maxFps) {
    throttle_ = std::max(1.0, throttle_ / kThrottleStep);
  }
  lastMs_ = nowMs;
  return true;
}

int FrameRateMeter::sleepMs(int maxFps) const {
  if (maxFps <= 0) return 0;
  return static_cast<int>((throttle_ - 1.0) * 10.0);
}

}  // namespace vorlund::ui

#include "genetics/f1/f1_random.h"

#include <cmath>

#include "core/message.h"
#include "core/random.h"
#include "genetics/f1/f1_alphabet.h"

namespace vorlund::f1 {

namespace {

struct Interval {
  double a, b;
};

// Neuron force after '!': mostly weak, sometimes full.
constexpr Interval kForceTable[] = {{0, 1}, {0.2, 0.001}, {1, 1}};
// Neuron inertia after '=': none, or high.
constexpr Interval kInertiaTable[] = {{0, 0}, {0.7, 0.98}};
// Sigmoid after '/': a step either way, or a moderate slope.
constexpr Interval kSigmoidTable[] = {{-999, -999}, {999, 999}, {-5, -1}, {1, 5}, {-1, 1}};
// Any other input weight.
constexpr Interval kWeightTable[] = {{-999, 999}, {-5, -0.3}, {-3, -0.6}, {3, 0.6}, {0.3, 5}};

template <std::size_t N>
double drawFrom(const Interval (&table)[N]) {
  const Interval& i = table[rndBelow(static_cast<int>(N))];
  return i.a + unitDraw() * (i.b - i.a);
}

// Attempts of a character draw before the exclusion list is given up on.
constexpr int kCharDrawAttempts = 100;
// The polar method rejects about a fifth of its pairs; this many in a row means a broken generator.
constexpr int kPolarAttempts = 1000;

}  // namespace

double unitDraw() { return static_cast<double>(r15()) / 32768.0; }

double drawWeight(char receptor) {
  switch (receptor) {
    case '!':
      return drawFrom(kForceTable);
    case '=':
      return drawFrom(kInertiaTable);
    case '/':
      return drawFrom(kSigmoidTable);
    default:
      return drawFrom(kWeightTable);
  }
}

double NormalDraw::next() {
  if (hasSaved_) {
    hasSaved_ = false;
    return saved_;
  }
  for (int i = 0; i < kPolarAttempts; ++i) {
    const double v1 = 2.0 * unitDraw() - 1.0;
    const double v2 = 2.0 * unitDraw() - 1.0;
    const double s = v1 * v1 + v2 * v2;
    // s == 0 would divide by zero in the scale below.
    if (s >= 1.0 || s == 0.0) continue;
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    saved_ = v2 * f;
    hasSaved_ = true;
    return v1 * f;
  }
  return 0.0;
}

char drawChar(std::string_view set, std::string_view excluded) {
  if (set.empty()) return ' ';
  char c = set[0];
  for (int i = 0; i < kCharDrawAttempts; ++i) {
    c = set[static_cast<std::size_t>(rndBelow(static_cast<int>(set.size())))];
    if (!inSet(excluded, c)) return c;
  }
  logMessage("TGeno_f1", "genrand", "Cannot find a valid character", LOG_ERROR);
  return c;
}

}  // namespace vorlund::f1

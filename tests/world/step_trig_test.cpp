#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "world/step_trig.h"

namespace vorlund {
namespace {

std::uint64_t bits(double x) { return std::bit_cast<std::uint64_t>(x); }

// A run is the same on every machine only when every path gives every angle
// the same bits, in whichever lane of a batch it sits.
TEST(StepTrig, EveryPathGivesTheScalarBitsInEveryLane) {
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> angles = {0.0, -0.0, 1e-300, -5e-324, 0.5, -3.141592653589793, 1e6, inf, -inf, std::nan("")};
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> turn(-0.5, 0.5);
  for (int i = 0; i < 400; ++i) angles.push_back(i % 9 == 0 ? turn(gen) * 200 : turn(gen));
  const TrigPath before = trigPath();
  for (TrigPath path : {TrigPath::Scalar, TrigPath::Sse2, TrigPath::Avx, TrigPath::Avx512}) {
    if (!setTrigPath(path)) continue;  // a processor without AVX
    for (std::size_t i = 0; i + 4 <= angles.size(); ++i) {
      const double batch[4] = {angles[i], angles[i + 1], angles[i + 2], angles[i + 3]};
      double c[4], s[4];
      cosSin4(batch, c, s);
      for (int lane = 0; lane < 4; ++lane) {
        double c1, s1;
        cosSin1(batch[lane], c1, s1);
        ASSERT_EQ(bits(c[lane]), bits(c1)) << trigPathName(path) << " " << batch[lane];
        ASSERT_EQ(bits(s[lane]), bits(s1)) << trigPathName(path) << " " << batch[lane];
      }
    }
    const int many = static_cast<int>(angles.size()) / kTrigLanes * kTrigLanes;
    std::vector<double> c(angles.size()), s(angles.size());
    cosSinMany()(angles.data(), many, c.data(), s.data());
    for (int i = 0; i < many; ++i) {
      double c1, s1;
      cosSin1(angles[i], c1, s1);
      ASSERT_EQ(bits(c[i]), bits(c1)) << trigPathName(path) << " many " << angles[i];
      ASSERT_EQ(bits(s[i]), bits(s1)) << trigPathName(path) << " many " << angles[i];
    }
  }
  setTrigPath(before);
}

}  // namespace
}  // namespace vorlund

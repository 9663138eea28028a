// The views' own random numbers (random layouts, specks): drawing never takes
// a number from the evolution's generator, so opening a view cannot change a
// seeded run.
#pragma once

#include <cstdint>

namespace vorlund {

class ViewRandom {
 public:
  explicit ViewRandom(uint64_t seed = 0x9E3779B97F4A7C15ull) : state_(seed ? seed : 1) {}
  // Uniform in [0, 1).
  double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  // Uniform integer in 0 .. n-1 (0 when n <= 0).
  int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t next() {  // xorshift64*
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1Dull;
  }
  uint64_t state_;
};

}  // namespace vorlund

// The user interface's own random numbers (demo choices, the throttle mark's
// flicker, anything the windows pick at random). Evolution draws from the
// process-wide generator only, so a seeded run evolves the same whether or
// not windows are open; nothing in the windows may touch that one.
#pragma once

#include <cstdint>
#include <random>

namespace vorlund::ui {

class UiRandom {
 public:
  explicit UiRandom(uint64_t seed) : engine_(seed) {}
  // A non-negative 31-bit number, as the evolution's generator gives.
  int32_t next() { return static_cast<int32_t>(engine_() >> 1); }
  // Uniform in 0 .. n-1 (0 when n <= 0).
  int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % n); }

 private:
  std::mt19937 engine_;
};

}  // namespace vorlund::ui

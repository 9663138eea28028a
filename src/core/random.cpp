#include "core/random.h"

#include <ctime>

namespace vorlund {

namespace {

// Linear congruential generator: state = state * 22695477 + 1. r15 reads bits
// 16..30 of the low word; r31 the high 31 bits of the 64-bit state.
constexpr uint64_t kMultiplier = 22695477u;
constexpr uint64_t kIncrement = 1u;

uint64_t gState = 1;

uint64_t step() {
  gState = gState * kMultiplier + kIncrement;
  return gState;
}

}  // namespace

int r15() { return static_cast<int>((step() >> 16) & 0x7fff); }

int32_t r31() { return static_cast<int32_t>(step() >> 33); }

double rndUnit() { return static_cast<double>(r31()) / 2147483648.0; }

int rndBelow(int n) {
  if (n <= 0) return 0;
  return static_cast<int>(static_cast<uint64_t>(r31()) % static_cast<uint64_t>(n));
}

void seedRandom(uint64_t seed) {
  // Spread small seeds over the whole state so that seeds 1, 2, 3 differ at once.
  uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  gState = z ^ (z >> 31);
}

uint64_t randomState() { return gState; }

void setRandomState(uint64_t state) { gState = state; }

void seedRandomFromClock() { seedRandom(static_cast<uint64_t>(std::time(nullptr))); }

}  // namespace vorlund

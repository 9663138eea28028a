#include "world/seeded_random.h"

namespace vorlund {

namespace {

// 31-bit linear congruential step: u = (state * 3677 + 3680) mod 2^31.
constexpr uint64_t kMultiplier = 3677;
constexpr uint64_t kIncrement = 3680;
constexpr uint64_t kStateMask = (uint64_t{1} << 31) - 1;
// Only the low 16 bits of a step are handed out.
constexpr uint64_t kOutputMask = 0xffff;

// Kept as an unsigned word: the wrap of state = u - 1 at u = 0 is harmless,
// because 2^31 divides 2^64 and every step reduces modulo 2^31.
uint64_t gState = 0;

}  // namespace

int seededRandom(int n) {
  if (n <= 0) {
    gState = static_cast<uint64_t>(-static_cast<int64_t>(n));
    return 0;
  }
  const uint64_t u = (gState * kMultiplier + kIncrement) & kStateMask;
  gState = u - 1;
  return static_cast<int>((u & kOutputMask) % static_cast<uint64_t>(n));
}

void seedSeededRandom(uint64_t seed) { gState = seed & kStateMask; }

}  // namespace vorlund

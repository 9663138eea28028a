// The process-wide random generator of evolution and feeding. One generator,
// seeded once (from the clock, or from --seed), so that a seeded run repeats.
#pragma once

#include <cstdint>

namespace vorlund {

constexpr int R15_MAX = 32767;

// Uniform integer in 0 .. 32767.
int r15();
// Uniform non-negative 31-bit integer.
int32_t r31();
// Uniform real in [0, 1), with 31 bits of resolution.
double rndUnit();
// Uniform integer in 0 .. n-1 (0 when n <= 0).
int rndBelow(int n);

void seedRandom(uint64_t seed);
// The generator's whole state, so that a saved run can continue the same sequence.
uint64_t randomState();
void setRandomState(uint64_t state);

// Seeds from the current time in seconds, as the program start does.
void seedRandomFromClock();

}  // namespace vorlund

// The small seeded generator of the terrain: random block maps draw from it, and
// the renderer reuses it for its details, so that a map text always gives the
// same terrain whatever the main generator did before. Kept apart from
// core/random.h on purpose: seeding it must never disturb an evolution run.
#pragma once

#include <cstdint>

namespace vorlund {

// draw(n), n > 0: the next value in 0 .. n-1.
// draw(n), n <= 0: seeds the generator with -n and returns 0.
int seededRandom(int n);

// Seeds the generator with any non-negative seed: seeds up to 32767 give the
// same sequence as seededRandom(-seed); larger seeds are reduced into the
// generator's 31-bit state, so every seed seeds predictably.
void seedSeededRandom(uint64_t seed);

}  // namespace vorlund

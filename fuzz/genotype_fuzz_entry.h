// The body of the genotype fuzz target, kept apart from libFuzzer so that the
// test suite can replay the corpus through the very same code.
#pragma once

#include <cstddef>
#include <cstdint>

// Feeds arbitrary bytes to the genetic manager's check, validate, style,
// mutate, crossover and similarity. Returns 0, or a nonzero code when one of
// the operators contradicted another (for example a validated text that does
// not check as valid).
int fuzzGenotypeOperators(const uint8_t* data, size_t size);

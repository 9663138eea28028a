// The body of the genotype and settings file fuzz target, kept apart from
// libFuzzer so that the test suite can replay the corpus through it.
#pragma once

#include <cstddef>
#include <cstdint>

// Loads the bytes as a genotype and settings file, saves what was loaded,
// loads that into a fresh simulator and saves it again. Returns 0, or a
// nonzero code when the second save differs from the first (something was
// lost or changed on the way) or a save failed.
int fuzzFileRoundTrip(const uint8_t* data, size_t size);

// The body of the format-0 body fuzz target, kept apart from libFuzzer so
// that the test suite can replay the corpus through the very same code.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the bytes as a format-0 body description, starts several copies of
// it among other creatures and energy balls in a small world and steps it.
// Returns 0, or a nonzero code when a position, velocity, orientation or
// energy stopped being a finite number.
int fuzzBodyPhysics(const uint8_t* data, size_t size);

// libFuzzer driver of format-0 bodies in the physics; a number that stops
// being finite is a finding just like a crash.
#include <cstdlib>

#include "body_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (fuzzBodyPhysics(data, size) != 0) std::abort();
  return 0;
}

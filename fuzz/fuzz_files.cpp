// libFuzzer driver of genotype and settings files: whatever a file holds,
// what was loaded from it survives a save and a load unchanged.
#include <cstdlib>

#include "files_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (fuzzFileRoundTrip(data, size) != 0) std::abort();
  return 0;
}

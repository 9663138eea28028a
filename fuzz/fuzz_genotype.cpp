// libFuzzer driver of the genotype operators; a contradiction between the
// operators is a finding just like a crash.
#include <cstdlib>

#include "genotype_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (fuzzGenotypeOperators(data, size) != 0) std::abort();
  return 0;
}

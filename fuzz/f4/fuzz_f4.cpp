// libFuzzer target for encoding 4.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "genetics/f4/f4_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (vorlund::fuzzF4(data, size) != 0) std::abort();
  return 0;
}

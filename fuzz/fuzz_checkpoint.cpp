// libFuzzer driver of the checkpoint reader. The input gets a matching
// checksum line, so that the fuzzer reaches the parser behind the checksum.
#include <cstdint>
#include <string>

#include "quiet_log.h"
#include "sim/checkpoint.h"
#include "sim/symulator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QuietLog quiet;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  text += vorlund::checkpointChecksumLine(text);
  vorlund::symulator sim;
  int64_t steps = 0;
  std::string error;
  vorlund::restoreCheckpoint(sim, text, steps, error);
  return 0;
}

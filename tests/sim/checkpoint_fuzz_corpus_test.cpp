// Checkpoints of every shape, real ones and what the fuzzer made of them: a
// damaged one is refused with a reason, never a crash.
#include <gtest/gtest.h>

#include "../../fuzz/fuzz_checkpoint.cpp"
#include "support/corpus.h"

namespace {

TEST(FuzzCorpus, DamagedCheckpointsAreRefusedWithoutHarm) {
  vorlund::test_support::replayCorpus("checkpoint", LLVMFuzzerTestOneInput, 3);
}

}  // namespace

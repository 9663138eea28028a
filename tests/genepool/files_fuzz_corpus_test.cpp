// Genotype and settings files of every shape: what was loaded survives a save
// and a load unchanged.
#include <gtest/gtest.h>

#include "../../fuzz/files_fuzz_entry.cpp"
#include "support/corpus.h"

namespace {

TEST(FuzzCorpus, LoadedFilesSurviveSaveAndLoad) { vorlund::test_support::replayCorpus("files", fuzzFileRoundTrip, 5); }

}  // namespace

// The genotype and encoding-4 fuzz corpora, replayed.
#include <gtest/gtest.h>

#include "../../fuzz/genotype_fuzz_entry.cpp"
#include "genetics/f4/f4_fuzz.h"
#include "support/corpus.h"

namespace {

using vorlund::test_support::entryOnText;
using vorlund::test_support::replayCorpus;

TEST(FuzzCorpus, GenotypeOperatorsAgreeOnEveryInput) { replayCorpus("genotype", fuzzGenotypeOperators, 30); }

TEST(FuzzCorpus, EncodingFourKeepsItsPropertiesOnEveryInput) {
  replayCorpus("f4", vorlund::fuzzF4, 10);
  for (const std::string& bytes : {std::string("X\0<", 3), std::string("\xff\xfe<[>#"), std::string(100000, '<'),
                                  std::string("#999999999<X>>X")})
    EXPECT_EQ(entryOnText(vorlund::fuzzF4, bytes), 0);
}

}  // namespace

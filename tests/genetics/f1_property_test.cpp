// Many seeded mutations and crossovers: every accepted offspring is valid as
// written and develops into a body.
#include <gtest/gtest.h>

#include <vector>

#include "core/random.h"
#include "f1_test_support.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"

namespace vorlund {
namespace {

const std::vector<std::string> kParents = {
    "X",
    "XX",
    "LLX(X,X)",
    "X(X,X,X)",
    "MX[@*:1,0:-2.5](RX[|-1:1],LLX(X,X[0:1e3]))",
    "X[!:0.5,/:2,T:1,G:-1,S:0.3]X[=:0.8,-1:2]",
    "rRLLX(cX,CCX(qX,QX))",
    "(X,X[0:1])",
    "X(X(X(X,X),X),X)",
    "FFwwX[|1:0.5]X[@-1:-0.5](X,X)X",
};

// Stick records of a format-0 text, or -1 when the development is not available.
int developedSticks(const GenMan& gm, const std::string& text, bool& unavailable) {
  std::string out;
  if (gm.Convert(text, '0', out) == 0) {
    unavailable = out.find("conversion failed") != std::string::npos;
    return -1;
  }
  int sticks = 0;
  for (std::size_t p = out.find("j:"); p != std::string::npos; p = out.find("j:", p + 2))
    if (p == 0 || out[p - 1] == '\n') ++sticks;
  return sticks;
}

TEST(F1Property, AcceptedOffspringAreValidAndDevelop) {
  test::MessageLog log;
  GenMan gm;
  GenoConvManager conv;
  registerStandardOperators(gm);
  gm.setConverters(&conv);
  seedRandom(20240607);

  std::vector<std::string> offspring;
  int mutations = 0, crossovers = 0;
  for (int round = 0; round < 150; ++round) {
    for (const std::string& parent : kParents) {
      std::string text = parent, info;
      // Chains of mutants drift far from the parents.
      for (int step = 0; step < 2; ++step) {
        if (gm.Mutate("p", text, info) != GENMAN_OK) break;
        ++mutations;
        ASSERT_EQ(gm.CheckValidity(text), 0) << parent << " -> " << text;
        if (round % 10 == 0) offspring.push_back(text);
      }
    }
    for (std::size_t i = 0; i < kParents.size(); ++i) {
      std::string a = kParents[i], b = kParents[(i + round) % kParents.size()], i1, i2;
      if (gm.CrossOver("a", a, i1, "b", b, i2) != GENMAN_OK) continue;
      ++crossovers;
      const int v1 = gm.CheckValidity(a), v2 = gm.CheckValidity(b);
      ASSERT_TRUE(v1 == 0 || v2 == 0) << a << " / " << b;
      // A child that was not good stays as its repair left it: not valid, not repairable.
      EXPECT_TRUE(v1 >= 0 && v2 >= 0) << a << " / " << b;
      if (v1 == 0 && round % 10 == 0) offspring.push_back(a);
    }
  }
  EXPECT_GT(mutations, 2500);
  EXPECT_GT(crossovers, 1000);

  bool unavailable = false;
  for (const std::string& child : offspring) {
    const int sticks = developedSticks(gm, child, unavailable);
    if (unavailable) GTEST_SKIP() << "encoding-1 development is not in this build yet (f1 -> f0 converter fails)";
    EXPECT_GE(sticks, 1) << child;
  }
}

}  // namespace
}  // namespace vorlund

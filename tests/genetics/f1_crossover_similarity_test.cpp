// Crossover and similarity of encoding-1 genotypes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/random.h"
#include "f1_test_support.h"
#include "genetics/f1/geno_f1.h"
#include "genetics/genman.h"

namespace vorlund {
namespace {

TEST(F1Similarity, CountsAndStructureWeightedEmptyGenotypeReported) {
  TGeno_f1 op;
  EXPECT_FLOAT_EQ(op.Similarity("X", "XX"), 0.625f);
  EXPECT_FLOAT_EQ(op.Similarity("X(X[0:1],X)", "X(X[0:1],X)"), 1.0f);
  // Sticks 3/4, body 5/6, structure: segments X|X, X|XX, X)|X) -> 0.5 / 3.
  EXPECT_NEAR(op.Similarity("X(X,X)", "X(XX,X)"), 1.0 - (4.0 / 6 + 0.25 + 1.0 / 6) / 8, 1e-6);
  // Neurons 1/2, inputs 2/3; a comma inside a neuron is no segment end.
  EXPECT_NEAR(op.Similarity("X[0:1,*:1]", "X[0:1]X[0:1,T:2]"),
              1.0 - (4 * 0.5 + 0.5 + 0.5 + 0.5 + 1.0 / 3) / 8, 1e-6);
  op.vars.geno_f1_simNN = op.vars.geno_f1_simSN = op.vars.geno_f1_simSS = op.vars.geno_f1_simNS = 0;
  op.vars.geno_f1_simStr = 0;
  EXPECT_FLOAT_EQ(op.Similarity("X", "XXXX"), 1.0f);
  // An empty genotype is reported.
  test::MessageLog log;
  EXPECT_DOUBLE_EQ(f1StructSim("", "X"), 1.0);
  EXPECT_TRUE(log.has("StructSim", "Empty genotype(s)"));
  EXPECT_DOUBLE_EQ(f1StructSim("X(X,X)", "X(X,X)"), 0.0);
  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_FLOAT_EQ(gm.Similarity("X", "/*4*/X"), -2.0f);
}

TEST(F1CrossOver, MissingParentFails) {
  test::MessageLog log;
  TGeno_f1 op;
  std::string a = "X", b;
  float c1 = 0, c2 = 0;
  EXPECT_EQ(op.CrossOver(a, b, c1, c2), F1_FAILED);
  EXPECT_EQ(a, "X");
  EXPECT_TRUE(log.has("CrossOver", "Invalid parameter(s)"));
}

TEST(F1CrossOver, CutsNeverSplitANeuron) {
  TGeno_f1 op;
  const std::string p1 = "X[0:1.5]LX[*:2.5](X,X)", p2 = "XX[T:3.5]X[-1:4.5]";
  int done = 0;
  for (uint64_t seed = 1; seed <= 300; ++seed) {
    seedRandom(seed);
    std::string a = p1, b = p2;
    float c1 = 0, c2 = 0;
    if (op.CrossOver(a, b, c1, c2) != 0) continue;
    ++done;
    EXPECT_EQ(a.size() + b.size(), p1.size() + p2.size());
    for (const std::string* child : {&a, &b}) {
      EXPECT_EQ(std::count(child->begin(), child->end(), '['), std::count(child->begin(), child->end(), ']'));
      for (std::size_t open = child->find('['); open != std::string::npos; open = child->find('[', open + 1)) {
        const std::string inside = child->substr(open + 1, child->find(']', open) - open - 1);
        EXPECT_TRUE(inside == "0:1.5" || inside == "*:2.5" || inside == "T:3.5" || inside == "-1:4.5") << *child;
      }
    }
    // The share of child 1 from parent 1: what it kept of its own text.
    const float inserted1 = (1.0f - c1) * static_cast<float>(a.size());
    EXPECT_LE(inserted1, static_cast<float>(p2.size()) + 0.01f);
  }
  EXPECT_GT(done, 100);
}

TEST(F1CrossOver, ProportionalSegmentsMatchInSize) {
  TGeno_f1 op;
  op.vars.gm_xosegm = 1;
  const std::string p1(40, 'X'), p2(20, 'X');
  for (uint64_t seed = 1; seed <= 100; ++seed) {
    seedRandom(seed);
    std::string a = p1, b = p2;
    float c1 = 0, c2 = 0;
    ASSERT_EQ(op.CrossOver(a, b, c1, c2), 0);
    // child1 = 40 - taken1 + taken2 and the segment of the shorter parent is half as long.
    const long taken2 = std::lround((1.0 - c1) * static_cast<double>(a.size()));
    const long taken1 = taken2 - (static_cast<long>(a.size()) - 40);
    EXPECT_LE(std::labs(2 * taken2 - taken1), 2) << a << " / " << b;
  }
}

}  // namespace
}  // namespace vorlund

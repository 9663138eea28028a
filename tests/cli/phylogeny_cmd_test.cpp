#include <gtest/gtest.h>

#include "core/random.h"
#include "genetics/phylogeny/evolstudy.h"
#include "phylogeny_demo.h"
#include "support/scratch.h"

namespace vorlund::cli {
namespace {

// A stand-in encoding-1 operator: mutation appends a letter, crossover swaps tails.
class AppendingOperator : public TGeno_fx {
 public:
  int Validate(std::string&) override { return 0; }
  int Mutate(std::string& body, float& change) override {
    body += static_cast<char>('A' + rndBelow(3));
    change = 0.5f;
    return 0;
  }
  int CrossOver(std::string& a, std::string& b, float& c1, float& c2) override {
    const std::size_t ha = a.size() / 2, hb = b.size() / 2;
    const std::string na = a.substr(0, ha) + b.substr(hb), nb = b.substr(0, hb) + a.substr(ha);
    a = na;
    b = nb;
    c1 = c2 = 0.5f;
    return 0;
  }
};

TEST(PhylogenyDemo, EveryOperationOfTheDemoBecomesPoints) {
  GenMan gm;
  gm.registerOperator('1', std::make_unique<AppendingOperator>());
  seedRandom(4);
  const PhylogenyDemoResult r = runPhylogenyDemo(gm, 40, "X", 0.3);
  EXPECT_FALSE(r.noOperator);
  EXPECT_EQ(r.mutations + r.crossovers + r.failures, 40);
  EXPECT_GT(r.crossovers, 0);
  EXPECT_EQ(gm.history().size(), static_cast<std::size_t>(r.mutations + 2 * r.crossovers));
  EvolStudy study;
  ASSERT_TRUE(study.Analyze(gm.history()));
  // The root, one point per mutant, two per crossover child.
  EXPECT_EQ(study.points().size(), static_cast<std::size_t>(1 + r.mutations + 4 * r.crossovers));

  GenMan bare;
  EXPECT_TRUE(runPhylogenyDemo(bare, 5, "X", 0.3).noOperator);
}

TEST(PhylogenyCommand, SeededEncodingTwoDemoWritesTheSameTreeTwice) {
  test_support::ScratchDir dir;
  const std::string a = dir.file("a.svg"), b = dir.file("b.svg");
  const std::string start = "/*2*/stick (0) (10) 5\nstick (10) (20) 7\nconn G(5) (0) 1";
  const test_support::ToolRun r =
      test_support::runTool({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, a});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind(a + ": 26 points", 0), 0u) << r.out;
  ASSERT_EQ(test_support::runTool({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, b}).code, 0);
  const std::string svg = dir.read(a);
  EXPECT_EQ(svg, dir.read(b));
  EXPECT_NE(svg.find("most recent: #26"), std::string::npos);

  EXPECT_NE(test_support::runTool({"phylogeny", "--seed", "1", a}).code, 0);  // --demo is required
  EXPECT_NE(test_support::runTool({"phylogeny", "--demo", "5", "--show", "3", a}).code, 0);
}

}  // namespace
}  // namespace vorlund::cli

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "genetics/converters.h"
#include "genetics/f4/f4_writers.h"
#include "genetics/genoconv.h"

namespace vorlund {
namespace {

// Root stick with two child sticks and two neurons that feed each other.
constexpr const char* kBranched = "<<<<X>N@[*:1][-1:2]>N|[G:-0.5][1:1]>X>X";

TEST(F4Convert, FormatZeroListsEndsJointsNeuronsAndInputsOrFailsUntouched) {
  std::string out;
  ASSERT_EQ(convertF4ToF0(kBranched, out), 1);
  EXPECT_EQ(out,
            "p:\n"
            "p:1, m=3\n"
            "p:1.5, -0.866025\n"
            "p:1.5, 0.866025\n"
            "j:0, 1\n"
            "j:1, 2, mz=0.5\n"
            "j:1, 3, mz=0.5\n"
            "neu:0, 2\n"
            "inp:0, 3, -0.5, 0\n"  // a gyroscope is an equilibrium input
            "inp:0, conn=1\n"
            "neu:0, 1\n"
            "inp:1, 1, conn=0\n"  // a constant input keeps its type
            "inp:1, w=2, -1\n");
  // A genotype that does not develop converts to nothing.
  out = "untouched";
  EXPECT_EQ(convertF4ToF0("X<X>X", out), 0);
  EXPECT_EQ(convertF4ToF0("", out), 0);
  EXPECT_EQ(convertF4ToF1("N", out), 0);
  EXPECT_EQ(out, "untouched");
}

TEST(F4Convert, EncodingOneReplaysTopologyNeuronsAndModifiersInBoundedLoops) {
  std::string out;
  ASSERT_EQ(convertF4ToF1(kBranched, out), 1);
  EXPECT_EQ(out, "X[|G:-0.5,1:1][@*:1,-1:2](X,X)");
  ASSERT_EQ(convertF4ToF1("<X>X", out), 1);
  EXPECT_EQ(out, "XX");
  ASSERT_EQ(convertF4ToF1("#2L>X", out), 1);
  EXPECT_EQ(out, "LLX");
  ASSERT_EQ(convertF4ToF1("RRLLC<lX>,<X>cX", out), 1);
  EXPECT_EQ(out, "LCRRXLX(,cX)");
  ASSERT_EQ(convertF4ToF1("<X>N[*:1]R", out), 0);  // no modifier in a neuron
  // Replay loops are bounded.
  ASSERT_EQ(convertF4ToF1(std::string(300, 'R') + "X", out), 1);
  EXPECT_EQ(std::count(out.begin(), out.end(), 'R'), F4_MAX_REPLAY_LETTERS);
  EXPECT_EQ(std::count(out.begin(), out.end(), 'r'), 0);
  ASSERT_EQ(convertF4ToF1("RrRR<X>X", out), 1);
  EXPECT_EQ(out, "RRXX");
}

TEST(F4Convert, EncodingOneToFormatZeroGoesThroughItsDevelopment) {
  for (const char* body : {"X", "X(X,X)[@1:2]", "", "(("}) {
    std::string direct, routed;
    EXPECT_EQ(convertF1ToF0ViaF4(body, routed), convertF1ToF0(body, direct)) << body;
    EXPECT_EQ(routed, direct) << body;
  }
}

TEST(F4Convert, RegistryChoosesShortestEnabledChain) {
  GenoConvManager conv;
  conv.entry(2).enabled = 0;
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{3, 0}));
  conv.entry(0).enabled = 0;
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{3, 4}));
  conv.entry(3).enabled = 0;
  EXPECT_TRUE(conv.findChain('4', '0').empty());

  GenoConvManager fresh;
  std::string out;
  ASSERT_EQ(fresh.Convert("/*4*/\n<X>X", '0', out), 1);
  EXPECT_EQ(out, "/*0*/\np:\np:1, m=2\np:2\nj:0, 1\nj:1, 2\n");
  ASSERT_EQ(fresh.Convert("/*4*/\n<X>X", '1', out), 1);
  EXPECT_EQ(out, "XX");
  EXPECT_EQ(fresh.Convert("/*4*/\nN", '0', out), 0);
  EXPECT_EQ(out, "/* f4->f0 conversion failed (Tovi: f4->f0) */");
}

}  // namespace
}  // namespace vorlund

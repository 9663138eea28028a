// The converter registry (chains and switches) and the converters between encodings:
// encoding 1 and encoding 4 to format 0, encoding 4 to encoding 1.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/record.h"
#include "genetics/converters.h"
#include "genetics/f4/f4_writers.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "world/world_test_support.h"

namespace vorlund {
namespace {

int appendTag(const std::string& body, std::string& out, const char* tag) {
  out = body + tag;
  return 1;
}
int toZero(const std::string& b, std::string& o) { return appendTag(b, o, "|0"); }
int toOne(const std::string& b, std::string& o) { return appendTag(b, o, "|1"); }
int tovi(const std::string& b, std::string& o) { return appendTag(b, o, "|tovi"); }
int fail(const std::string&, std::string&) { return 0; }

class ConvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < GENOCONV_COUNT; ++i) conv.setFunction(i, conv.entry(i).to == '0' ? toZero : toOne);
    conv.setFunction(4, tovi);
  }
  GenoConvManager conv;
};

TEST_F(ConvTest, SameFormatIsCopiedUncheckedOthersCarryTheWantedMarker) {
  std::string out;
  EXPECT_EQ(conv.Convert("X((", '1', out), 1);
  EXPECT_EQ(out, "X((");
  // Other formats come out with the marker of the wanted one.
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 1);
  EXPECT_EQ(out, "/*0*/\nS|1|0");
  EXPECT_EQ(conv.Convert("/*4*/\nC", '1', out), 1);
  EXPECT_EQ(out, "\nC|1");
}

TEST_F(ConvTest, ShortestChainInTableOrder) {
  EXPECT_EQ(conv.findChain('1', '0'), (std::vector<int>{0}));
  EXPECT_EQ(conv.findChain('2', '0'), (std::vector<int>{1, 0}));
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{2}));
  EXPECT_EQ(conv.findChain('4', '1'), (std::vector<int>{3}));
  conv.parameters().set(conv.parameters().findId("genkonw0"), "0");
  EXPECT_EQ(conv.findChain('1', '0'), (std::vector<int>{4}));
  EXPECT_EQ(conv.findChain('2', '0'), (std::vector<int>{1, 4}));
  conv.parameters().set(conv.parameters().findId("genkonw2"), "0");
  EXPECT_EQ(conv.findChain('4', '0'), (std::vector<int>{3, 4}));
}

TEST_F(ConvTest, MissingChainAndFailedStepBecomeComments) {
  std::string out;
  EXPECT_EQ(conv.Convert("X", '4', out), 0);
  EXPECT_EQ(out, "/* converter not found */");
  conv.parameters().set(1, "0");
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 0);
  EXPECT_EQ(out, "/* converter not found */");
  conv.parameters().set(1, "1");
  conv.setFunction(0, fail);
  EXPECT_EQ(conv.Convert("/*2*/S", '0', out), 0);
  EXPECT_EQ(out, "/* f1->f0 conversion failed (f1 -> f0) */");
}

TEST_F(ConvTest, SwitchesAreAGkparamRecord) {
  param& p = conv.parameters();
  std::ostringstream out;
  writeRecord(p, out);
  EXPECT_EQ(out.str(), "gkparam:\ngenkonw0:1\ngenkonw1:1\ngenkonw2:1\ngenkonw3:1\ngenkonw4:1\n\n");
  std::istringstream in("genkonw3:0\ngenkonw1:7\n");
  readRecord(p, in);
  EXPECT_EQ(conv.entry(3).enabled, 0);
  EXPECT_EQ(conv.entry(1).enabled, 1);  // clamped to the switch range
}

std::string toF0(const std::string& f1) {
  testing_world::MessageCatcher quiet;
  std::string out = "untouched";
  EXPECT_EQ(convertF1ToF0(f1, out), 1) << f1;
  return out;
}

TEST(ConvF1F0, WritesDevelopedBodyAgainstDefaultsAndNothingForBrokenText) {
  EXPECT_EQ(toF0("X"), "\np:\np:1\nj:0, 1\n");
  EXPECT_EQ(toF0("XX"), "\np:\np:1, m=2\np:2\nj:0, 1\nj:1, 2\n");
  EXPECT_EQ(toF0("LLX"), "\np:\np:2\nj:0, 1\n");
  EXPECT_EQ(toF0("X(X,X)"),
            "\np:\np:1, m=3\np:1.50017, -0.865927\np:1.50017, 0.865927\n"
            "j:0, 1\nj:1, 2, mz=0.5\nj:1, 3, mz=0.5\n");
  // Empty or broken text gives the line break alone.
  EXPECT_EQ(toF0(""), "\n");
  EXPECT_EQ(toF0("[1:1]"), "\n");
  EXPECT_EQ(toF0(")(,"), "\n");
}

TEST(ConvF1F0, WritesEachNeuronFollowedByItsInputs) {
  EXPECT_EQ(toF0("X[@*:1][@*:1]"), "\np:\np:1\nj:0, 1\nneu:0, 1\ninp:0, 1\nneu:0\ninp:1, 1\n");
  EXPECT_EQ(toF0("XX[|1:0.5,T:2]X[-1:1,=:0.5]"),
            "\np:\np:1, m=2\np:2, m=2\np:3\nj:0, 1\nj:1, 2\nj:2, 3\n"
            "neu:1, 2\ninp:0, w=0.5, conn=1\ninp:0, 2, 2\nneu:2, in=0.5\ninp:1, conn=-1\n");
}

TEST(ConvF1F0, GenotypeNotValidAsWrittenIsNotDeveloped) {
  GenMan gm;
  registerStandardOperators(gm);
  if (gm.findOperator('1') == nullptr) GTEST_SKIP() << "no encoding-1 operator in this build";
  // Repairable (the connection points past the only neuron), but not valid as written.
  EXPECT_EQ(toF0("X[1:1]"), "\n");
  EXPECT_EQ(toF0("X[0:1]"), "\np:\np:1\nj:0, 1\nneu:0\ninp:0\n");
}

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
}

}  // namespace
}  // namespace vorlund

// The genetics manager (markers, operators, retries, history) and the converter
// registry with the converters between encodings.
#include "genetics/genman.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/record.h"
#include "genetics/converters.h"
#include "genetics/f4/f4_writers.h"
#include "genetics/genoconv.h"
#include "support/message_capture.h"
#include "world/world_test_support.h"

namespace vorlund {
namespace {

// A scriptable operator: each hook decides what one call does.
class ScriptedOper : public TGeno_fx {
 public:
  std::function<int(std::string&, float&)> mutate = [](std::string& b, float& c) {
    b += "X";
    c = 0.25f;
    return 0;
  };
  std::function<int(std::string&, std::string&, float&, float&)> cross = [](std::string& a, std::string& b, float& c1,
                                                                             float& c2) {
    std::swap(a, b);
    c1 = 0.75f;
    c2 = 0.5f;
    return 0;
  };
  std::function<int(std::string&)> validate = [](std::string&) { return 0; };
  int newline = 1;

  int CheckValidity(const std::string& body) override { return body == "bad" ? 2 : 0; }
  int Validate(std::string& body) override { return validate(body); }
  int Mutate(std::string& body, float& change) override { return mutate(body, change); }
  int CrossOver(std::string& a, std::string& b, float& c1, float& c2) override { return cross(a, b, c1, c2); }
  float Similarity(const std::string& a, const std::string& b) override { return a == b ? 1.0f : 0.5f; }
  uint32_t Style(const std::string&, int) override { return 0x123; }
  int MarkerNewline() override { return newline; }
};

class GenManTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto f4 = std::make_unique<ScriptedOper>();
    op4 = f4.get();
    gm.registerOperator('4', std::move(f4));
    auto f2 = std::make_unique<ScriptedOper>();  // writes its marker without a line break
    f2->newline = 0;
    gm.registerOperator('2', std::move(f2));
  }

  test_support::MessageCapture log;
  GenMan gm;
  ScriptedOper* op4 = nullptr;
};

TEST(GenMan_Format, RecognisesMarkerForms) {
  // The text, its format and where its body starts.
  const std::tuple<const char*, char, std::size_t> cases[] = {
      {"", '1', 0}, {"X(X)", '1', 0}, {"/x4", '1', 0}, {"/*4*/X", '4', 5}, {"//2 a note\nstick", '2', 11},
      {"/*4", '4', 3},  // unclosed: empty body
      {"//4", '4', 3},
      {"/*0*/\np:", '0', 5},  // the body starts right after "*/", not after a line break behind it
  };
  for (const auto& [text, format, body] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(GenMan::GetFormat(text), format);
    EXPECT_EQ(GenMan::SkipMarker(text), body);
  }
}

TEST(GenMan_Same, IgnoresWhiteSpaceOnly) {
  EXPECT_EQ(GenMan::SameGenotype("X (X)", "X(X)"), 0);
  EXPECT_EQ(GenMan::SameGenotype(" X\t(\r\nX) ", "X(X)"), 0);
  EXPECT_EQ(GenMan::SameGenotype("X(X)", "X(XX)"), 1);
  EXPECT_EQ(GenMan::SameGenotype("", "  "), 0);
  test_support::MessageCapture quiet;
  EXPECT_EQ(GenMan::SameGenotype(nullptr, "X"), 1);
}

TEST_F(GenManTest, MissingOperatorLeavesEverythingUntouched) {
  std::string text = "X", info = "keep";
  EXPECT_EQ(gm.Mutate("p", text, info), GENMAN_NO_OPERATOR);
  EXPECT_EQ(text, "X");
  EXPECT_EQ(info, "keep");
  EXPECT_EQ(gm.vars.gen_count, 0);
  EXPECT_EQ(gm.CheckValidity("/*9*/x"), GENMAN_NO_OPERATOR);
  EXPECT_EQ(gm.Validate(text), GENMAN_NO_OPERATOR);
  EXPECT_FLOAT_EQ(gm.Similarity("/*9*/a", "/*9*/a"), -2.0f);
  EXPECT_EQ(gm.Style("/*9*/abc", 6), 0u);
}

TEST_F(GenManTest, CheckValidityShiftsPositionsByMarker) {
  EXPECT_EQ(gm.CheckValidity("/*4*/bad"), 7);
  EXPECT_EQ(gm.CheckValidity("/*4*/\nok"), 0);
  EXPECT_EQ(gm.Style("/*4*/\nok", 2), GENSTYLE_MARKER);
  EXPECT_EQ(gm.Style("/*4*/\nok", 6), 0x123u);
}

TEST_F(GenManTest, MutantIsWrappedInItsMarkerWithInfoAndRemembered) {
  std::string text = "/*4*/\nX", info;
  ASSERT_EQ(gm.Mutate("Parent", text, info), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\n\nXX");
  EXPECT_EQ(info, "[25.00% mutation of 'Parent']");
  std::string two = "/*2*/X";
  ASSERT_EQ(gm.Mutate("p", two, info), GENMAN_OK);
  EXPECT_EQ(two, "/*2*/XX");
  EXPECT_EQ(gm.vars.gen_count, 2);
  // History is kept only while remembering.
  EXPECT_TRUE(gm.history().empty());
  gm.vars.gen_hist = 1;
  gm.Mutate("p", text, info);
  ASSERT_EQ(gm.history().size(), 1u);
  EXPECT_EQ(gm.history()[0].number, 3);
  EXPECT_EQ(gm.history()[0].parent, "/*4*/\n\nXX");
}

TEST_F(GenManTest, MutationEqualToParentIsRejectedCountedAndRetried) {
  int calls = 0;
  op4->mutate = [&](std::string& b, float&) {
    if (++calls >= 3) b += "Y";
    return 0;
  };
  std::string text = "/*4*/X", info;
  ASSERT_EQ(gm.Mutate("p", text, info), GENMAN_OK);
  EXPECT_EQ(gm.vars.gen_invlm, 2);
  EXPECT_EQ(gm.vars.gen_count, 3);
  EXPECT_EQ(text, "/*4*/\nXY");
}

TEST_F(GenManTest, AlwaysFailingOperatorGivesUpAfterHundredAttempts) {
  op4->mutate = [](std::string&, float&) { return 1; };
  std::string text = "/*4*/X", info = "old";
  EXPECT_EQ(gm.Mutate("p", text, info), GENMAN_FAILED);
  EXPECT_EQ(gm.vars.gen_count, 100);
  EXPECT_EQ(gm.vars.gen_failm, 100);
  EXPECT_EQ(text, "/*4*/X");
  EXPECT_EQ(info, "old");
  EXPECT_EQ(log.single(), "GenMan::Mutate error: Tried 100x and failed: /*4*/X");
}

TEST_F(GenManTest, InvalidMutantsCountAsInvalid) {
  op4->validate = [](std::string&) { return -1; };  // repairable counts as valid
  std::string text = "/*4*/X", info;
  ASSERT_EQ(gm.Mutate("p", text, info), GENMAN_OK);
  EXPECT_EQ(gm.vars.gen_invlm, 0);
  op4->validate = [](std::string&) { return 5; };
  EXPECT_EQ(gm.Mutate("p", text, info), GENMAN_FAILED);
  EXPECT_EQ(gm.vars.gen_invlm, 100);
}

TEST_F(GenManTest, CrossOverWritesBothChildrenInfosAndHistory) {
  gm.vars.gen_hist = 1;
  std::string a = "/*4*/AAA", b = "/*4*/BBB", ia, ib;
  ASSERT_EQ(gm.CrossOver("Ann", a, ia, "Bob", b, ib), GENMAN_OK);
  EXPECT_EQ(a, "/*4*/\nBBB");
  EXPECT_EQ(b, "/*4*/\nAAA");
  EXPECT_EQ(ia, "[Crossing over of 'Ann' (75.00%) and 'Bob' (25.00%)]");
  EXPECT_EQ(ib, "[Crossing over of 'Bob' (50.00%) and 'Ann' (50.00%)]");
  ASSERT_EQ(gm.history().size(), 2u);
  EXPECT_EQ(gm.history()[1].number, 1);  // one operation, two children
  EXPECT_EQ(gm.history()[0].parent, "/*4*/AAA");
  EXPECT_EQ(gm.history()[0].child, "/*4*/\nBBB");
  EXPECT_EQ(gm.history()[1].parent, "/*4*/BBB");
  EXPECT_FLOAT_EQ(gm.history()[1].change, 0.5f);
  gm.clearStatistics();
  EXPECT_TRUE(gm.history().empty());
  EXPECT_EQ(gm.vars.gen_count, 0);
}

TEST_F(GenManTest, CrossOverNeedsOneFormatAndOneGoodChild) {
  std::string a = "A", b = "/*4*/B", ia, ib;
  EXPECT_EQ(gm.CrossOver("a", a, ia, "b", b, ib), GENMAN_NO_OPERATOR);
  EXPECT_EQ(gm.vars.gen_count, 0);
  // Children identical to their parents are not good.
  op4->cross = [](std::string&, std::string&, float&, float&) { return 0; };
  a = "/*4*/A";
  EXPECT_EQ(gm.CrossOver("a", a, ia, "b", b, ib), GENMAN_FAILED);
  EXPECT_EQ(gm.vars.gen_invlxo, 100);
  EXPECT_EQ(a, "/*4*/A");
  op4->cross = [](std::string& x, std::string&, float&, float&) {
    x += "+";
    return 0;
  };
  ASSERT_EQ(gm.CrossOver("a", a, ia, "b", b, ib), GENMAN_OK);
  EXPECT_EQ(a, "/*4*/\nA+");
  EXPECT_EQ(b, "/*4*/\nB");  // both are returned even when only one was good
}

TEST_F(GenManTest, ValidateWrapsRepairedBodyOrLeavesTextOnFailure) {
  op4->validate = [](std::string& b) {
    b = "fixed";
    return -1;
  };
  std::string text = "/*4*/broken";
  EXPECT_EQ(gm.Validate(text), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\nfixed");
  op4->validate = [](std::string&) { return 3; };
  EXPECT_EQ(gm.Validate(text), GENMAN_FAILED);
  EXPECT_EQ(text, "/*4*/\nfixed");
}

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
  // Encodings no chain reaches at all are the command-line tool's "convert --to 4 X".
  std::string out;
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
  // "X" itself is the command-line tool's "convert --to 0 X".
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
  conv.entry(0).enabled = conv.entry(3).enabled = 0;  // {3, 4} is the registry test's
  EXPECT_TRUE(conv.findChain('4', '0').empty());

  GenoConvManager fresh;
  std::string out;
  ASSERT_EQ(fresh.Convert("/*4*/\n<X>X", '0', out), 1);
  EXPECT_EQ(out, "/*0*/\np:\np:1, m=2\np:2\nj:0, 1\nj:1, 2\n");
}

}  // namespace
}  // namespace vorlund

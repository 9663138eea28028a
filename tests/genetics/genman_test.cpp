#include "genetics/genman.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

#include "support/message_capture.h"

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

}  // namespace
}  // namespace vorlund

// Validity answers, repairs and error positions of the encoding-1 operator,
// and the editor colouring of its characters.
#include <gtest/gtest.h>

#include "f1_test_support.h"
#include "genetics/f1/f1_parser.h"
#include "genetics/f1/geno_f1.h"

namespace vorlund {
namespace {

using f1::F1Mode;
using f1::F1Parser;

int checkParse(std::string text) { return F1Parser(F1Mode::Check).run(text); }

// Validate's result and the text it leaves.
std::pair<int, std::string> validated(const std::string& text) {
  TGeno_f1 op;
  std::string t = text;
  const int r = op.Validate(t);
  return {r, t};
}

TEST(F1Validity, AnswersForTheBasicShapes) {
  test::MessageLog log;
  TGeno_f1 op;
  EXPECT_EQ(op.CheckValidity("X"), 0);
  EXPECT_EQ(op.CheckValidity("X(X,)"), 0);
  EXPECT_EQ(op.CheckValidity("X(X,X)X"), 0);  // the text behind the branching is skipped
  EXPECT_EQ(op.CheckValidity("X(X,X),X"), 7);
  EXPECT_EQ(op.CheckValidity("X[*:1]"), 0);
  EXPECT_EQ(op.CheckValidity("X[*1:1]"), 4);
  EXPECT_EQ(op.CheckValidity("L(X,X)"), 0);
  EXPECT_EQ(op.CheckValidity("(X,X)"), 0);
  EXPECT_EQ(op.CheckValidity("XL"), 3);           // a group without X, stopped past the end
  EXPECT_EQ(op.CheckValidity("X[0:1]Y"), 7);
  EXPECT_EQ(op.CheckValidity(" X [ @ 0 : 1 ] ( X , X )"), 0);
  // Nothing to develop: the repaired copy is empty; white space alone is wrong past its end.
  EXPECT_EQ(op.CheckValidity(""), 1);
  EXPECT_EQ(op.CheckValidity("   "), 4);
  EXPECT_EQ(op.CheckValidity("()"), 1);
  EXPECT_EQ(checkParse("()"), 2);  // the parser alone stops past the end
  EXPECT_TRUE(log.entries.empty());
}

TEST(F1Validity, ConnectionsMustPointAtExistingNeurons) {
  TGeno_f1 op;
  EXPECT_EQ(op.CheckValidity("X[1:1]"), -1);
  EXPECT_EQ(validated("X[1:1]"), std::make_pair(-1, std::string("X[0:1]")));
  EXPECT_EQ(op.CheckValidity("X[0:1]X[-1:1]"), 0);
  EXPECT_EQ(op.CheckValidity("X[1:1]X[-1:1]"), 0);
  EXPECT_EQ(validated("X[0:1]X[1:1]"), std::make_pair(-1, std::string("X[0:1]X[0:1]")));
  // The bound is padded up to the colon, and the padding is kept to one blank.
  EXPECT_EQ(validated("X[-55:1]"), std::make_pair(-1, std::string("X[0 :1]")));
  // Absurdly long numbers saturate instead of overflowing.
  EXPECT_EQ(validated("X[99999999999999999999:1]").first, -1);
}

TEST(F1Validity, RepairsParenthesesEmptyGroupsAndWhiteSpace) {
  EXPECT_EQ(validated("X[]"), std::make_pair(-1, std::string("X")));
  EXPECT_EQ(validated("X)"), std::make_pair(-1, std::string("X")));
  EXPECT_EQ(validated("X(X"), std::make_pair(-1, std::string("XX")));
  EXPECT_EQ(validated("X(X(X)"), std::make_pair(-1, std::string("X(XX)")));
  EXPECT_EQ(validated("X((,),X)"), std::make_pair(-1, std::string("X(,X)")));
  EXPECT_EQ(validated("X[@ ,]X"), std::make_pair(-1, std::string("XX")));
  // White space alone is not a repair; inside a neuron one blank of each run stays.
  EXPECT_EQ(validated("  X  X [  0  :  1 ]"), std::make_pair(0, std::string("XX[ 0 : 1 ]")));
  // Repair cannot invent an input.
  EXPECT_GT(validated("X[0:]").first, 0);
}

TEST(F1Validity, EmptyBranchingLeavesNothingDeadBehind) {
  TGeno_f1 op;
  // Valid as written: the text behind the inner branching is skipped, and the
  // modifier in front of it acts on nothing. Removing the branching takes both along.
  EXPECT_EQ(op.CheckValidity("((,)w,X)"), 0);
  EXPECT_EQ(validated("((,)w,X)"), std::make_pair(-1, std::string("(,X)")));
  EXPECT_EQ(op.CheckValidity("(LX,L(,))"), 0);
  EXPECT_EQ(validated("(LX,L(,))"), std::make_pair(-1, std::string("(LX,)")));
  EXPECT_EQ(validated("X(,)L"), std::make_pair(-1, std::string("X")));
}

TEST(F1Validity, RefusesUnrepairableTextNonFiniteWeightsAndDeepNesting) {
  TGeno_f1 op;
  // The parenthesis is repaired but the stray letter is not: not repairable.
  EXPECT_EQ(op.CheckValidity("X)Y"), 2);
  EXPECT_GT(validated("X)Y").first, 0);
  // Weights must be finite.
  EXPECT_EQ(op.CheckValidity("X[0:nan]"), 5);
  EXPECT_EQ(op.CheckValidity("X[0:inf]"), 5);
  EXPECT_EQ(op.CheckValidity("X[0:1e999]"), 5);
  EXPECT_EQ(op.CheckValidity("X[0:-2.5e3]"), 0);
  // Deep nesting is refused, not overflowed.
  const std::string deep = std::string(f1::kMaxBranchDepth + 100, '(') + "X" +
                           std::string(f1::kMaxBranchDepth + 100, ')');
  EXPECT_GT(op.CheckValidity(deep), 0);
  EXPECT_EQ(op.CheckValidity("X" + std::string(50, '(') + "X" + std::string(50, ')')), 0);
}

TEST(F1Validity, TooManyModifiersIsCritical) {
  test::MessageLog log;
  TGeno_f1 op;
  EXPECT_EQ(op.CheckValidity(std::string(499, 'L') + "X"), 0);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_GT(op.CheckValidity(std::string(500, 'L') + "X"), 0);
  ASSERT_TRUE(log.has("modif", "Too many modifiers in genotype"));
  EXPECT_EQ(log.entries.back().level, LOG_CRITICAL);
  EXPECT_EQ(log.entries.back().module, "TGeno_f1");
}

TEST(F1Style, ColoursEveryCharacterClass) {
  TGeno_f1 op;
  const std::string g = "LX[@S:1.5,-1:2]S(X,X)Y";
  auto at = [&](char c) { return op.Style(g, static_cast<int>(g.find(c))); };
  EXPECT_EQ(at('X'), 0u);
  EXPECT_EQ(at('L'), 0x646464u);
  EXPECT_EQ(at('['), 200u);
  EXPECT_EQ(at('-'), 200u);
  EXPECT_EQ(at('.'), 200u);
  EXPECT_EQ(at('@'), 0x2C80000u);
  EXPECT_EQ(at('('), 0x2000000u);
  EXPECT_EQ(at(','), 0x2000000u);
  EXPECT_EQ(at('Y'), 0x1000000u);
  // The same letter is a receptor inside an open neuron and a modifier after it.
  EXPECT_EQ(op.Style(g, 4), 0x2009600u);
  EXPECT_EQ(op.Style(g, static_cast<int>(g.find(']') + 1)), 0x646464u);
  EXPECT_EQ(op.Style("X\n", 1), 0x1000000u);
  EXPECT_EQ(op.Style("X", 5), 0u);
  EXPECT_EQ(op.Style("X", -1), 0u);
}

}  // namespace
}  // namespace vorlund

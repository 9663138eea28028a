// The encoding-1 operator: validity answers, repairs and error positions, the
// editor colouring, mutation (sites, edits, multiplier search, neuron addition
// with renumbering, exclusion lists, draws), crossover and similarity, and the
// property that every accepted offspring is valid as written and develops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "core/random.h"
#include "f1_test_support.h"
#include "genetics/f1/f1_edits.h"
#include "genetics/f1/f1_parser.h"
#include "genetics/f1/f1_random.h"
#include "genetics/f1/geno_f1.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"

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

// "X(X,X),X" (7), "   " (4) and the similarity of "X" and "XX" are the command-line tool's cases.
TEST(F1Validity, AnswersForTheBasicShapes) {
  test::MessageLog log;
  TGeno_f1 op;
  EXPECT_EQ(op.CheckValidity("X"), 0);
  EXPECT_EQ(op.CheckValidity("X(X,)"), 0);
  EXPECT_EQ(op.CheckValidity("X(X,X)X"), 0);  // the text behind the branching is skipped
  EXPECT_EQ(op.CheckValidity("X[*:1]"), 0);
  EXPECT_EQ(op.CheckValidity("X[*1:1]"), 4);
  EXPECT_EQ(op.CheckValidity("L(X,X)"), 0);
  EXPECT_EQ(op.CheckValidity("(X,X)"), 0);
  EXPECT_EQ(op.CheckValidity("XL"), 3);           // a group without X, stopped past the end
  EXPECT_EQ(op.CheckValidity("X[0:1]Y"), 7);
  EXPECT_EQ(op.CheckValidity(" X [ @ 0 : 1 ] ( X , X )"), 0);
  // Nothing to develop: the repaired copy is empty.
  EXPECT_EQ(op.CheckValidity(""), 1);
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

using f1::F1Edit;
using f1::F1EditList;

TEST(F1Mutation, ModifierRunsAreNormalised) {
  EXPECT_EQ(f1::normaliseModifiers("rRLL"), "LL");
  EXPECT_EQ(f1::normaliseModifiers(std::string(18, 'L')), std::string(16, 'L'));
  EXPECT_EQ(f1::normaliseModifiers("LlL"), "L");
  EXPECT_EQ(f1::normaliseModifiers("eMRrm"), "e");
  EXPECT_EQ(f1::normaliseModifiers("WLRq"), "RLqW");
  EXPECT_EQ(f1::normaliseModifiers(""), "");
}

TEST(F1Mutation, PassRewritesRunsAndDropsTextBehindBranchings) {
  f1::F1Params p;
  test::silenceSites(p);
  f1::NormalDraw normal;
  auto pass = [&](std::string text) {
    F1Parser parser(F1Mode::Mutate, {&p, 1.0, &normal});
    EXPECT_EQ(parser.run(text), 0);
    return parser.edits();
  };
  F1EditList e = pass("rRLLX");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].start, 0);
  EXPECT_EQ(e[0].end, 4);
  EXPECT_EQ(e[0].text, "LL");
  e = pass("X(X,X)XX");
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].start, 6);
  EXPECT_EQ(e[0].end, 8);
  EXPECT_TRUE(pass("RLX(X[0:1],X)").empty());
}

TEST(F1Mutation, ApplyKeepsOnlyTheFirstEditAtAnOffset) {
  test::MessageLog log;
  // The count of edits made and the text they leave.
  const auto apply = [](std::string t, F1EditList e) {
    const int n = f1::applyMutations(t, e);
    return std::pair(n, t);
  };
  EXPECT_EQ(apply("XX", {{1, 1, "A"}, {1, 1, "B"}}), std::pair(1, std::string("XAX")));
  EXPECT_EQ(apply("ABCDE", {{0, 1, ""}, {2, 3, "xy"}}), std::pair(3, std::string("BxyDE")));
  // The failed edit still counts.
  EXPECT_EQ(apply("X", {{5, 6, ""}, {0, 0, "L"}}), std::pair(2, std::string("LX")));
  EXPECT_TRUE(log.has("ApplyMutations", "Out of range"));

  std::string t = "X";
  F1EditList e = {{0, 0, "L"}, {1, 1, std::string(498, 'X')}};
  EXPECT_EQ(f1::applyMutations(t, e), 0);
  EXPECT_TRUE(e.empty());
  EXPECT_EQ(t, "LX");
  EXPECT_TRUE(log.has("ApplyMutations", "Mutation too long!"));
}

TEST(F1Mutation, EmptyParentIsBornFromTheDust) {
  test::MessageLog log;
  TGeno_f1 op;
  std::string t;
  float change = 0;
  EXPECT_EQ(op.Mutate(t, change), 0);
  EXPECT_EQ(t, "X");
  EXPECT_FLOAT_EQ(change, 1.0f);
  EXPECT_TRUE(log.has("Mutate", "Born from the dust???"));
  t = "X)Y";
  EXPECT_EQ(op.Mutate(t, change), F1_FAILED);
  EXPECT_EQ(t, "X)Y");
}

TEST(F1Mutation, MultiplierIsThatOfThePassThatRecorded) {
  TGeno_f1 op;
  float change = 0;
  // A run that is not in normal form is rewritten by the very first pass.
  std::string t = "rRLLX";
  test::silenceSites(op.vars);
  EXPECT_EQ(op.Mutate(t, change), 0);
  EXPECT_EQ(t, "LLX");
  EXPECT_DOUBLE_EQ(op.vars.geno_f1_mult, 1.0);
  EXPECT_FLOAT_EQ(change, 4.0f / 5.0f);

  // With every site off no pass records: the search runs up to its limit.
  t = "X";
  EXPECT_EQ(op.Mutate(t, change), 0);
  EXPECT_EQ(t, "X");
  EXPECT_GT(op.vars.geno_f1_mult, 1.9);
  EXPECT_LT(op.vars.geno_f1_mult, kF1MultiplierLimit);

  // At the defaults, replay the passes to learn which one recorded first.
  TGeno_f1 fresh;
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    seedRandom(seed);
    f1::F1Params params = fresh.vars;
    f1::NormalDraw normal;
    double m = 1.0;
    while (m < kF1MultiplierLimit) {
      std::string copy = "X";
      F1Parser pass(F1Mode::Mutate, {&params, m, &normal});
      pass.run(copy);
      if (!pass.edits().empty()) break;
      m *= kF1MultiplierStep;
    }
    seedRandom(seed);
    std::string x = "X";
    fresh.Mutate(x, change);
    EXPECT_NEAR(fresh.vars.geno_f1_mult, m, 1e-9) << "seed " << seed;
  }
}

// The inside of a neuron added by mutation: muscle, connection -1 .. 1, weight "%.3lf".
bool isAddedNeuron(const std::string& inner) {
  std::size_t i = 0;
  if (i < inner.size() && (inner[i] == '|' || inner[i] == '@')) ++i;
  while (i < inner.size() && inner[i] == ' ') ++i;
  if (i < inner.size() && inner[i] == '-') ++i;
  if (i >= inner.size() || (inner[i] != '0' && inner[i] != '1')) return false;
  ++i;
  const std::size_t colon = inner.find(':', i);
  if (colon == std::string::npos || colon == i || inner.find_first_not_of(' ', i) != colon) return false;
  const std::string weight = inner.substr(colon + 1);
  const std::size_t dot = weight.find('.');
  return dot != std::string::npos && weight.size() - dot == 4 &&
         weight.find_first_not_of("-0123456789.") == std::string::npos;
}

// Whether `t` is `head` + "[" + an added neuron + "]" + `tail`.
bool addedBetween(const std::string& t, const std::string& head, const std::string& tail) {
  if (t.size() < head.size() + tail.size() + 2) return false;
  if (t.compare(0, head.size(), head) != 0 || t.compare(t.size() - tail.size(), tail.size(), tail) != 0) return false;
  const std::string middle = t.substr(head.size(), t.size() - head.size() - tail.size());
  return middle.front() == '[' && middle.back() == ']' && isAddedNeuron(middle.substr(1, middle.size() - 2));
}

TEST(F1Mutation, NewNeuronKeepsConnectionsOnTheirNeurons) {
  TGeno_f1 op;
  test::silenceSites(op.vars);
  op.vars.geno_f1_nm2 = 0.5;
  // Neuron 1 points at neuron 2 and back; a neuron inserted between them moves both.
  // The same probability also removes neurons in the passes; those outcomes are left out,
  // and the cancelling pair makes the very first pass record, so that removals stay rare.
  int inserted = 0, betweenSeen = 0;
  for (uint64_t seed = 1; seed <= 400; ++seed) {
    seedRandom(seed);
    std::string t = "rRX[1:1]X[-1:1]";
    float change = 0;
    ASSERT_EQ(op.Mutate(t, change), 0);
    if (std::count(t.begin(), t.end(), '[') != 3) continue;
    ++inserted;
    const bool isBetween = addedBetween(t, "X[2:1]X", "[-2:1]");
    EXPECT_TRUE(isBetween || addedBetween(t, "X", "[1:1]X[-1:1]")) << t;
    if (isBetween) ++betweenSeen;
  }
  EXPECT_GT(inserted, 10);
  EXPECT_GT(betweenSeen, 0);
}

TEST(F1Mutation, RenumberingThatDoesNotFitFails) {
  TGeno_f1 op;
  test::silenceSites(op.vars);
  op.vars.geno_f1_nm2 = 0.5;
  // Neuron 1 points nine neurons ahead; behind any later stick "9" would have to become "10".
  std::string parent = "rRX[9:1]";
  for (int i = 0; i < 9; ++i) parent += "X[0:1]";
  int failed = 0;
  for (uint64_t seed = 1; seed <= 100; ++seed) {
    seedRandom(seed);
    std::string t = parent;
    float change = 0;
    const int r = op.Mutate(t, change);
    if (r != 0) {
      ++failed;
      EXPECT_EQ(t, parent);  // a failed mutation leaves the text alone
    } else if (std::count(t.begin(), t.end(), '[') == 11) {
      EXPECT_EQ(t.find("X[9:1]"), std::string::npos) << t;  // only an insertion in front succeeds
    }
  }
  EXPECT_GT(failed, 0);
}

TEST(F1Mutation, ExclusionListsLimitWhatIsInserted) {
  test::MessageLog log;
  GenMan gm;
  registerStandardOperators(gm);
  // Through the parameter chain, as a settings file would set it.
  param& chain = gm.parameters();
  EXPECT_NE(chain.setString(chain.findId("mut_exmod"), "RrlAaCcFfMmSsIiQqWwEe") & PSET_CHANGED, 0);
  TGeno_f1& op = *static_cast<TGeno_f1*>(gm.findOperator('1'));
  EXPECT_EQ(op.vars.mut_exmod, "RrlAaCcFfMmSsIiQqWwEe");
  test::silenceSites(op.vars);
  op.vars.geno_f1_sm4 = 1;
  op.vars.mut_str = 20;
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    seedRandom(seed);
    std::string t = "X";
    float change = 0;
    ASSERT_EQ(op.Mutate(t, change), 0);
    EXPECT_EQ(t.find_first_not_of("LX"), std::string::npos) << t;
  }
  EXPECT_TRUE(log.entries.empty());
  const char c = f1::drawChar("|@", "@|");
  EXPECT_TRUE(c == '|' || c == '@');
  EXPECT_TRUE(log.has("genrand", "Cannot find a valid character"));
}

TEST(F1Mutation, WeightsComeFromTheirTables) {
  seedRandom(11);
  for (int i = 0; i < 2000; ++i) {
    const double inertia = f1::drawWeight('=');
    EXPECT_TRUE(inertia == 0.0 || (inertia >= 0.7 && inertia < 0.98));
    const double force = f1::drawWeight('!');
    EXPECT_TRUE(force >= 0.0 && force <= 1.0);
    const double sigmoid = f1::drawWeight('/');
    EXPECT_TRUE(sigmoid == -999 || sigmoid == 999 || (sigmoid >= -5 && sigmoid <= 5));
    const double weight = f1::drawWeight('*');
    EXPECT_TRUE(weight >= -999 && weight <= 999);
  }
  f1::NormalDraw normal;
  double sum = 0, squares = 0;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    const double v = normal.next();
    ASSERT_TRUE(std::isfinite(v));
    sum += v;
    squares += v * v;
  }
  EXPECT_NEAR(sum / n, 0.0, 0.05);
  EXPECT_NEAR(squares / n, 1.0, 0.05);
}

TEST(F1Similarity, CountsAndStructureWeightedEmptyGenotypeReported) {
  TGeno_f1 op;
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

// Mutation of encoding-1 genotypes: the sites, the edit list, the multiplier
// search, neuron addition with renumbering, exclusion lists and the draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/random.h"
#include "f1_test_support.h"
#include "genetics/f1/f1_edits.h"
#include "genetics/f1/f1_parser.h"
#include "genetics/f1/f1_random.h"
#include "genetics/f1/geno_f1.h"
#include "genetics/genman.h"

namespace vorlund {
namespace {

using f1::F1Edit;
using f1::F1EditList;
using f1::F1Mode;
using f1::F1Parser;

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
  TGeno_f1 op;
  test::silenceSites(op.vars);
  op.vars.geno_f1_sm4 = 1;
  op.vars.mut_str = 20;
  GenMan gm;
  // Through the parameter chain, as a settings file would set it.
  registerStandardOperators(gm);
  param& chain = gm.parameters();
  ASSERT_GE(chain.findId("mut_exmod"), 0);
  EXPECT_NE(chain.setString(chain.findId("mut_exmod"), "RrlAaCcFfMmSsIiQqWwEe") & PSET_CHANGED, 0);
  auto* f1op = static_cast<TGeno_f1*>(gm.findOperator('1'));
  EXPECT_EQ(f1op->vars.mut_exmod, "RrlAaCcFfMmSsIiQqWwEe");
  op.vars.mut_exmod = f1op->vars.mut_exmod;
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

}  // namespace
}  // namespace vorlund

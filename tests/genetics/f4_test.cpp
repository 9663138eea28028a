// Encoding-4 genotypes: the tree parsed from the text, its development into
// sticks and neurons, and the operator (repairs, mutation, crossover, colouring).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "core/random.h"
#include "genetics/f4/f4_cells.h"
#include "genetics/f4/f4_node.h"
#include "genetics/f4/f4_organism.h"
#include "genetics/f4/geno_f4.h"
#include "genetics/genman.h"
#include "support/message_capture.h"

namespace vorlund {
namespace {

std::string roundTrip(const std::string& text) {
  f4tree t;
  EXPECT_EQ(t.parse(text), F4_PARSE_OK) << text;
  return t.write();
}

TEST(F4Tree, ParseClosesBranchesAndWritesBack) {
  EXPECT_EQ(roundTrip("X"), "X>");
  EXPECT_EQ(roundTrip("X>"), "X>");
  EXPECT_EQ(roundTrip(" <X>\n\tX "), "<X>X>");
  EXPECT_EQ(roundTrip("<X"), "<X>>");  // the daughter gets a lone end
  EXPECT_EQ(roundTrip("<<X>X>X"), "<<X>X>X>");
  EXPECT_EQ(roundTrip("#2L>X"), "#2L>X>");
  EXPECT_EQ(roundTrip("#1L>X"), "#L>X>");  // count 1 has no digits
  EXPECT_EQ(roundTrip("#L>X"), "#L>X>");
  EXPECT_EQ(roundTrip("#1 7>X"), "#1 7>X>");  // a digit code stays apart from the count
  EXPECT_EQ(roundTrip("<X>N[*:1][G:-2.5][-3:0.25]"), "<X>N[*:1][G:-2.5][-3:0.25]>");
  EXPECT_EQ(roundTrip("<X>N[ 2: 1.5 ]"), "<X>N[2:1.5]>");
}

// "# 2L>X" was once read as a count of 1 followed by a code '2'.
TEST(F4Tree, RepeatCountIsReadAsAnIntegerAfterBlanksAndASign) {
  struct Case {
    const char* text;
    int count;
    const char* written;
  };
  const Case cases[] = {
      {"# 2L>X", 2, "#2L>X>"},     {"#\n+3L>X", 3, "#3L>X>"}, {"#-2L>X", -2, "#-2L>X>"},
      {"# L>X", 1, "#L>X>"},       {"#- 2L>X", 1, "#1 -2L>X>"},  // a sign without digits is a code
      {"#+ 7>X", 1, "#1 +7>X>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    f4tree t;
    ASSERT_EQ(t.parse(c.text), F4_PARSE_OK);
    EXPECT_EQ(t.program()->kind, c.count);
    EXPECT_EQ(t.write(), c.written);
    EXPECT_EQ(roundTrip(c.written), c.written);
  }
}

TEST(F4Tree, ParseKeepsStructureAndPositions) {
  f4tree t;
  ASSERT_EQ(t.parse("#3 <X>N[-1:0.5]"), F4_PARSE_OK);
  // The codes themselves are pinned by the round trips above.
  const f4node* rep = t.program();
  EXPECT_EQ(rep->kind, 3);
  const f4node* div = rep->child1;
  EXPECT_EQ(div->pos, 3);
  const f4node* link = div->child2->child1;
  ASSERT_TRUE(link->isLink());
  EXPECT_EQ(link->kind, F4_LINK_NEURON);
  EXPECT_EQ(link->target, -1);
  EXPECT_FLOAT_EQ(link->weight, 0.5f);
  // The repetition's text ended early: its continuation is a lone end.
  EXPECT_EQ(rep->child2->code, '>');
  EXPECT_EQ(t.nodeCount(), 8u);
  EXPECT_EQ(f4tree::subtreeSize(div), 6u);
}

TEST(F4Tree, ParseReportsErrorPositions) {
  f4tree t;
  EXPECT_EQ(t.parse(""), 1);
  EXPECT_EQ(t.parse(" \n\t"), 1);
  EXPECT_EQ(t.parse("X[x:1]"), 3);  // '[' at 0-based 1, reported two further
  EXPECT_EQ(t.parse("X[1:]"), 3);
  EXPECT_EQ(t.parse("X[1:2"), 3);     // no closing bracket
  EXPECT_EQ(t.parse("[*:nan]X"), 2);  // only finite weights
  EXPECT_EQ(t.parse("[*:1e99]X"), 2);
  EXPECT_EQ(t.parse("[99999999999:1]X"), 2);
  EXPECT_EQ(t.parse("X>X"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("X>>"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("<X>X>X"), F4_ERR_ROOT);
  EXPECT_EQ(t.parse("X> \n"), F4_PARSE_OK);
}

TEST(F4Tree, EditsRelinkNodesAndCopiesAreIndependent) {
  f4tree t;
  ASSERT_EQ(t.parse("<lX>X"), F4_PARSE_OK);
  f4tree copy(t);
  f4node* div = t.program();
  t.removeNode(div);  // keeps the first branch
  EXPECT_EQ(t.write(), "lX>");
  t.insertBefore(t.program()->child1, 'R');
  EXPECT_EQ(t.write(), "lRX>");
  EXPECT_EQ(copy.write(), "<lX>X>");

  f4tree n;
  ASSERT_EQ(n.parse("<X>X"), F4_PARSE_OK);
  f4tree::replaceInParent(n.program()->child1->child1, nullptr);  // cut the first branch's end
  n.program()->child2 = nullptr;
  n.normalize();
  EXPECT_EQ(n.write(), "<X>>");
}

TEST(F4Tree, LongGenotypesNeedNoDeepRecursion) {
  const std::string text(200000, 'L');
  f4tree t;
  ASSERT_EQ(t.parse(text + "X"), F4_PARSE_OK);
  f4tree copy(t);
  EXPECT_EQ(copy.write().size(), text.size() + 2);
  EXPECT_EQ(f4tree::subtreeSize(copy.program()), text.size() + 2);
}

Organism develop(const std::string& body) {
  Organism org;
  EXPECT_EQ(developOrganism(body, org), F4_DEV_OK) << body;
  return org;
}

void expectPoint(const f4vec& p, double x, double y, double z) {
  EXPECT_NEAR(p[0], x, 1e-9);
  EXPECT_NEAR(p[1], y, 1e-9);
  EXPECT_NEAR(p[2], z, 1e-9);
}

TEST(F4Develop, ClosedAndOpenProgramMakeOneStickAndADaughterStartsAtItsEnd) {
  for (const char* body : {"X>", "X"}) {
    const Organism org = develop(body);
    ASSERT_EQ(org.sticks.size(), 1u);
    EXPECT_EQ(org.sticks[0].parent, -1);
    expectPoint(org.sticks[0].end, 1, 0, 0);
  }
  const Organism org = develop("<X>X");
  ASSERT_EQ(org.sticks.size(), 2u);
  EXPECT_EQ(org.sticks[1].parent, 0);
  EXPECT_EQ(org.sticks[1].branchIndex, 1);
  EXPECT_EQ(org.sticks[0].branchCount, 1);
  expectPoint(org.sticks[1].start, 1, 0, 0);
  expectPoint(org.sticks[1].end, 2, 0, 0);  // a single child goes straight on
  EXPECT_DOUBLE_EQ(org.sticks[1].share, 1.0);
}

TEST(F4Develop, ErrorsCarryTheFailingCodesPositionAndUnknownCodesAreReported) {
  Organism org;
  EXPECT_EQ(developOrganism("X<X>X", org), 2);  // a stick cell cannot divide
  EXPECT_EQ(developOrganism("N", org), 1);      // a neuron needs a parent cell
  EXPECT_EQ(developOrganism("<X>", org), 3);    // the daughter ends undecided
  EXPECT_EQ(developOrganism("<X>X@", org), 5);  // control only on a neuron
  EXPECT_EQ(developOrganism("<X>N@|", org), 6); // one control per neuron
  EXPECT_EQ(developOrganism("<X>NL", org), 5);  // no stick modifier in a neuron
  EXPECT_EQ(developOrganism("X[*:1]", org), 2); // links only on neurons
  EXPECT_EQ(developOrganism("X>X", org), F4_ERR_NOPOS);
  // A repetition with a huge count is cut off instead of running for ever.
  EXPECT_EQ(developOrganism("#999999999L>X", org), F4_ERR_NOPOS);
  // An unknown code is reported.
  test_support::MessageCapture log;
  EXPECT_EQ(developOrganism("X?", org), 2);
  EXPECT_EQ(log.single(), "cell4::onestep error: unknown code '?'");
}

TEST(F4Develop, ModifiersShapeTheStick) {
  EXPECT_NEAR(develop("#2L>X").sticks[0].length, 2.02, 1e-12);
  EXPECT_NEAR(develop("# 2L>X").sticks[0].length, 2.02, 1e-12);
  EXPECT_NEAR(develop("lX").sticks[0].length, 0.799, 1e-12);
  const double longest = develop(std::string(40, 'L') + "X").sticks[0].length;
  EXPECT_GT(longest, 2.99);
  EXPECT_LE(longest, F4_LONGER_TARGET);
  EXPECT_NEAR(develop("CCX").sticks[0].curvedness, 0.5775, 1e-12);
  EXPECT_NEAR(develop("cRRrX").sticks[0].curvedness, -0.33, 1e-12);
  EXPECT_NEAR(develop("cRRrQqX").sticks[0].rotation, F4_ROTATION_STEP, 1e-12);
  // The daughter starts halfway to 1 with two thirds of the curvedness.
  const Organism org = develop("LC<X>X");
  EXPECT_NEAR(org.sticks[1].length, (1.0 + 1.6) / 2, 1e-12);
  EXPECT_NEAR(org.sticks[1].curvedness, 0.33 * 0.66, 1e-12);
}

TEST(F4Develop, BranchesSpreadAndTurnWithTheParent) {
  Organism org = develop("<<X>X>X");
  ASSERT_EQ(org.sticks.size(), 3u);
  expectPoint(org.sticks[2].end, 1.5, std::sqrt(3.0) / 2, 0);
  EXPECT_EQ(org.sticks[0].children, 2);

  // Two R turn the parent's frame by about a right angle: the fork leaves the x-y plane.
  org = develop("RR<<X>X>X");
  EXPECT_NEAR(org.sticks[1].end[2], -std::sqrt(3.0) / 2, 1e-6);
  EXPECT_NEAR(org.sticks[1].end[1], 0, 1e-6);

  // The parent's curvedness bends a straight continuation.
  org = develop("C<X>X");
  expectPoint(org.sticks[1].end, 1 + std::cos(0.33), std::sin(0.33), 0);

  // A reserved slot moves the only child to the second of two places.
  org = develop("<,X>X");
  EXPECT_EQ(org.sticks[1].branchIndex, 2);
  EXPECT_NEAR(std::atan2(org.sticks[1].end[1], org.sticks[1].end[0] - 1), std::numbers::pi / 3, 1e-9);
}

// Where neurons sit, their controls and links by rank are pinned by the
// format-0 conversion of the same body (converters_test).
TEST(F4Develop, NeuronsDaughterTakesItsLinksAndSitsOnTheSameStick) {
  const Organism twin = develop("<X>N[*:0.5]<>");
  ASSERT_EQ(twin.neurons.size(), 2u);
  EXPECT_EQ(twin.neurons[1].stick, 0);
  EXPECT_EQ(twin.neurons[1].links.size(), 1u);
}

TEST(F4Develop, CellsBeyondTheLimitAreDropped) {
  std::string body;
  for (int i = 0; i < 150; ++i) body += "<X>";
  body += "X";
  const Organism org = develop(body);
  EXPECT_EQ(org.sticks.size(), static_cast<std::size_t>(F4_MAX_CELLS));
}

TEST(F4Develop, RepairsInsertMissingStickDropWaitingLinksAndStopAfterTheirLimit) {
  f4tree tree;
  ASSERT_EQ(tree.parse("<X>"), F4_PARSE_OK);
  bool repaired = false;
  EXPECT_EQ(developTree(tree, 1, repaired), F4_DEV_OK);
  EXPECT_EQ(tree.write(), "<X>X>");

  // Three bad codes need three repairs.
  ASSERT_EQ(tree.parse("X@@@"), F4_PARSE_OK);
  EXPECT_EQ(developTree(tree, 2, repaired), 4);
  EXPECT_EQ(developTree(tree, 1, repaired), F4_DEV_OK);
  EXPECT_EQ(tree.write(), "X>");

  // A link waiting for an absent neuron fails, or is dropped by a repair.
  Organism org;
  EXPECT_EQ(developOrganism("<X>N[5:1.0]", org), 5);
  ASSERT_EQ(tree.parse("<X>N[5:1.0]"), F4_PARSE_OK);
  repaired = false;
  EXPECT_EQ(developTree(tree, F4_VALIDATE_REPAIRS, repaired), F4_DEV_OK);
  EXPECT_TRUE(repaired);
  EXPECT_EQ(tree.write(), "<X>N>");
}

TEST(F4Operator, ValidateRepairsOrReportsPositions) {
  TGeno_f4 op;
  std::string body = "X";
  EXPECT_EQ(op.Validate(body), 0);
  EXPECT_EQ(body, "X");  // a valid text is left as written

  body = "<X>";
  EXPECT_EQ(op.Validate(body), -1);
  EXPECT_EQ(body, "<X>X>");  // the missing stick is inserted

  body = "X<X>X";
  EXPECT_EQ(op.CheckValidity(body), -1);
  EXPECT_EQ(op.Validate(body), -1);
  EXPECT_EQ(op.CheckValidity(body), 0);

  // A bad link's error lies two past its '[' and is reported one further.
  body = "X[q:1]";
  EXPECT_EQ(op.Validate(body), 4);
  EXPECT_EQ(body, "X[q:1]");
  body = "[";
  EXPECT_EQ(op.Validate(body), 3);
  body = "X>X";
  EXPECT_EQ(op.Validate(body), F4_ERR_NOPOS);
  body = "";
  EXPECT_EQ(op.CheckValidity(body), 1);
  body = std::string(F4_VALIDATE_REPAIRS + 1, '@') + "X";
  EXPECT_EQ(op.CheckValidity(body), F4_VALIDATE_REPAIRS + 1);

  // Registered with the manager, which wraps the repair in the marker and its line break.
  GenMan gm;
  registerStandardOperators(gm);
  EXPECT_EQ(gm.CheckValidity("/*4*/\nX[q:1]"), 10);
  EXPECT_EQ(gm.CheckValidity("/*4*/\nX["), 10);
  std::string text = "/*4*/\n<X>";
  EXPECT_EQ(gm.Validate(text), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\n<X>X>");
  // A valid text is left as it is, however often it is validated.
  for (int pass = 0; pass < 3; ++pass) EXPECT_EQ(gm.Validate(text), GENMAN_OK);
  EXPECT_EQ(text, "/*4*/\n<X>X>");
  EXPECT_EQ(gm.Similarity(text, text), -2.0f);  // no similarity measure of its own
}

// That offspring are valid or repairable is checked on every input of the f4 fuzz corpus.
TEST(F4Operator, MutateReadsChangeAndKindsFollowProbabilities) {
  TGeno_f4 op;
  seedRandom(7);
  std::string body = "<X>N[*:1]";
  float change = 0.1f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_FLOAT_EQ(change, 0.1f);  // read, not written
  EXPECT_NE(body, "<X>N[*:1]");

  change = 0.0f;
  body = "<X>X";
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(body, "<X>X");  // nothing changed, so not even tidied

  // Only additions of divisions.
  op.vars.mut1add = 1.0;
  op.vars.mutAdd2div = 1.0;
  body = "X";
  change = 1.0f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(std::count(body.begin(), body.end(), '<'), 2);

  // Only changes: the one division swaps its branches.
  op.vars.mut1add = 0.0;
  op.vars.mut1del = 0.0;
  body = "<lX>X";
  change = 0.01f;
  ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_EQ(body, "<X>lX>");

  // A repetition count stays within its limits.
  body = "#19L>X";
  for (int i = 0; i < 30; ++i) ASSERT_EQ(op.Mutate(body, change), 0);
  const int count = std::stoi(body.substr(1));
  EXPECT_GE(count, F4_MIN_REPEAT);
  EXPECT_LE(count, F4_MAX_REPEAT);

  // Only deletions: codes go away, and the stick stays (repaired back when deleted).
  op.vars.mut1del = 1.0;
  body = "RRRRX";
  for (int i = 0; i < 10; ++i) ASSERT_EQ(op.Mutate(body, change), 0);
  EXPECT_LT(std::count(body.begin(), body.end(), 'R'), 4);
  EXPECT_EQ(std::count(body.begin(), body.end(), 'X'), 1);
  body = "X>X";  // two programs cannot be mutated
  EXPECT_EQ(op.Mutate(body, change), F4_ERR_NOPOS);
}

TEST(F4Operator, CrossOverExchangesSubtrees) {
  TGeno_f4 op;
  seedRandom(11);
  std::string a = "<<X>LLX>lX", b = "<<X>N[*:2]>RRX";
  float c1 = 0.5f, c2 = 0.5f;
  ASSERT_EQ(op.CrossOver(a, b, c1, c2), 0);
  EXPECT_FLOAT_EQ(c1, 0.5f);
  EXPECT_TRUE(a != "<<X>LLX>lX>" || b != "<<X>N[*:2]>RRX>");

  std::string bad = "X>X", good = "X";
  EXPECT_EQ(op.CrossOver(bad, good, c1, c2), F4_ERR_NOPOS);

  // The size window picks whole programs when a child keeps nothing of its parent.
  f4tree x, y;
  ASSERT_EQ(x.parse("LX"), F4_PARSE_OK);
  ASSERT_EQ(y.parse("<X>X"), F4_PARSE_OK);
  ASSERT_TRUE(exchangeSubtrees(x, y, 0.0));
  EXPECT_EQ(x.write(), "<X>X>");
  EXPECT_EQ(y.write(), "LX>");
}

TEST(F4Operator, StyleColoursCodes) {
  TGeno_f4 op;
  const std::string text = "/*4*/\n<X>N[*:1]#Q";
  EXPECT_EQ(op.Style(text, 5), 0u);  // the marker's line break is white space
  EXPECT_EQ(op.Style(text, 6), GENSTYLE_BOLD | genStyleRgb(0, 0, 200));
  EXPECT_EQ(op.Style(text, 7), 0u);
  EXPECT_EQ(op.Style(text, 8), genStyleRgb(0, 0, 100));
  EXPECT_EQ(op.Style(text, 9), 0xC800u);
  EXPECT_EQ(op.Style(text, 10), 0x9600u);
  EXPECT_EQ(op.Style(text, 13), 0x646464u);
  EXPECT_EQ(op.Style(text, 15), GENSTYLE_STRIKEOUT);
  EXPECT_EQ(op.Style(text, 16), GENSTYLE_INVALID);
  EXPECT_EQ(op.Style(text, 99), 0u);
}

}  // namespace
}  // namespace vorlund

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "genetics/f4/f4_organism.h"
#include "support/message_capture.h"

namespace vorlund {
namespace {

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
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].module, "cell4");
  EXPECT_EQ(log.entries[0].level, LOG_ERROR);
  EXPECT_TRUE(log.has("onestep", "unknown code '?'"));
}

TEST(F4Develop, ModifiersShapeTheStick) {
  EXPECT_NEAR(develop("#2L>X").sticks[0].length, 2.02, 1e-12);
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

}  // namespace
}  // namespace vorlund

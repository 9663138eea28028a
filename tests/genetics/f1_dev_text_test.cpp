#include <gtest/gtest.h>

#include "genetics/f1/f1_dev_neuron.h"
#include "genetics/f1/f1_dev_state.h"

namespace vorlund {
namespace {

F1DevState applyAll(const char* letters) {
  F1DevState s;
  for (const char* c = letters; *c; ++c) EXPECT_TRUE(applyF1Modifier(s, *c)) << *c;
  return s;
}

TEST(F1Modifiers, LengthApproachesItsBoundsByThirty) {
  EXPECT_NEAR(applyAll("L").props.length, 1.6, 1e-12);
  EXPECT_NEAR(applyAll("LL").props.length, 2.02, 1e-12);
  EXPECT_NEAR(applyAll("l").props.length, 1.0 + (0.33 - 1.0) * 0.3, 1e-12);
  EXPECT_NEAR(applyAll("C").props.curvedness, 0.5, 1e-12);
  EXPECT_NEAR(applyAll("Q").props.twist, 0.474, 1e-12);
  EXPECT_NEAR(applyAll("f").props.friction, 0.32, 1e-12);
  EXPECT_NEAR(applyAll("E").props.energy, 1.9, 1e-12);
  EXPECT_NEAR(applyAll("RrR").rotation, F1_ROTATION_STEP, 1e-12);
}

TEST(F1Modifiers, FourSharesAlwaysSumToOne) {
  for (const char* text : {"M", "mm", "AaSsIi", "MMMMMMMMMMMMMMM", "iiiiiiiiiiiiiiiiiiiiiiiii"}) {
    const F1Props p = applyAll(text).props;
    EXPECT_NEAR(p.muscle + p.assimilation + p.stamina + p.ingestion, 1.0, 1e-12) << text;
  }
  const F1Props m = applyAll("M").props;
  // 0.25 -> 0.85, then divided by 1.6.
  EXPECT_NEAR(m.muscle, 0.85 / 1.6, 1e-12);
  EXPECT_NEAR(m.stamina, 0.25 / 1.6, 1e-12);
  F1DevState s;
  EXPECT_FALSE(applyF1Modifier(s, 'X'));
  EXPECT_FALSE(applyF1Modifier(s, 'G'));
}

TEST(F1Modifiers, DecayPullsTowardStartValues) {
  F1Props p = applyAll("LLCWFQ").props;
  p.decay();
  EXPECT_NEAR(p.length, 0.5 * 2.02 + 0.5, 1e-12);
  EXPECT_NEAR(p.curvedness, 0.5 * 0.66, 1e-12);
  EXPECT_NEAR(p.weight, 1.3 + (1.0 - 1.3) * 0.5, 1e-12);
  EXPECT_NEAR(p.friction, 0.8 * 1.12 + 0.08, 1e-12);
  EXPECT_NEAR(p.twist, 0.474 * 0.66, 1e-12);
  F1Props start;
  start.decay();
  // An untouched block stays exactly at its start values (format 0 then leaves them out).
  EXPECT_EQ(start.muscle, 0.25);
  EXPECT_EQ(start.length, 1.0);
  EXPECT_EQ(start.friction, 0.4);
}

// Neurons read from whole genotypes are pinned by the development and conversion tests.
TEST(F1NeuronText, ReadsControlConnectionAndWeightAcrossBlanksToTheEnd) {
  const std::string t = "X[@1:2.5]";
  EXPECT_EQ(readF1Neuron(t, 1).end, t.size());
  const F1NeuronText b = readF1Neuron("[ | -2:0.5, T:1,S:3]", 0);
  EXPECT_EQ(b.control, 2);
  ASSERT_EQ(b.inputs.size(), 3u);
  EXPECT_EQ(b.inputs[0].conn, -2);
  EXPECT_EQ(b.inputs[1].type, F1_SEG_TOUCH);
  EXPECT_EQ(b.inputs[2].type, F1_SEG_SMELL);
  EXPECT_DOUBLE_EQ(b.inputs[2].weight, 3.0);
}

TEST(F1NeuronText, SegmentWithoutColonRepeatsPreviousValues) {
  const F1NeuronText n = readF1Neuron("[-1:0.7,G,*]", 0);
  ASSERT_EQ(n.inputs.size(), 3u);
  EXPECT_EQ(n.inputs[1].type, F1_SEG_EQUILIBRIUM);
  EXPECT_EQ(n.inputs[1].conn, -1);
  EXPECT_DOUBLE_EQ(n.inputs[1].weight, 0.7);
  EXPECT_EQ(n.inputs[2].type, F1_SEG_CONSTANT);
  EXPECT_DOUBLE_EQ(n.inputs[2].weight, 0.7);
  // A first segment with nothing to repeat takes connection 0 and weight 0.
  const F1NeuronText e = readF1Neuron("[@]", 0);
  ASSERT_EQ(e.inputs.size(), 1u);
  EXPECT_EQ(e.inputs[0].conn, 0);
  EXPECT_EQ(e.inputs[0].weight, 0.0);
}

TEST(F1NeuronText, SettersClampAndAddNoInput) {
  const F1NeuronText n = readF1Neuron("[=:3.0,!:-1,/:-7.5]", 0);
  EXPECT_TRUE(n.inputs.empty());
  EXPECT_EQ(n.inertia, 1.0);
  EXPECT_EQ(n.force, 0.0);
  EXPECT_EQ(n.sigmoid, -7.5);
}

TEST(F1NeuronText, EndsAtParenthesisOrEndOfText) {
  const std::string t = "X[1:2)X";
  const F1NeuronText n = readF1Neuron(t, 1);
  EXPECT_EQ(n.end, 5u);  // at ")", which closes the branch
  ASSERT_EQ(n.inputs.size(), 1u);
  const F1NeuronText u = readF1Neuron("[1:2,T", 0);
  EXPECT_EQ(u.end, 6u);
  EXPECT_EQ(u.inputs.size(), 2u);
  // Connections beyond int are held at its bound, not wrapped.
  const F1NeuronText big = readF1Neuron("[99999999999999999999:1]", 0);
  ASSERT_EQ(big.inputs.size(), 1u);
  EXPECT_EQ(big.inputs[0].conn, INT32_MAX);
}

}  // namespace
}  // namespace vorlund

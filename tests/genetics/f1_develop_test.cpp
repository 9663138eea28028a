// Development of encoding-1 genotypes: the modifiers and neuron texts, and the
// bodies they make.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/message.h"
#include "genetics/f1/f1_dev_neuron.h"
#include "genetics/f1/f1_dev_state.h"
#include "world/f1_development.h"
#include "world/genetics_context.h"
#include "world/org.h"
#include "world/sim_settings.h"
#include "world/world_test_support.h"

namespace vorlund {
namespace {

F1DevState applyAll(const char* letters) {
  F1DevState s;
  for (const char* c = letters; *c; ++c) EXPECT_TRUE(applyF1Modifier(s, *c)) << *c;
  return s;
}

// "LL", "C" and "Q" are pinned by the decay below.
TEST(F1Modifiers, LengthApproachesItsBoundsByThirty) {
  EXPECT_NEAR(applyAll("L").props.length, 1.6, 1e-12);
  EXPECT_NEAR(applyAll("l").props.length, 1.0 + (0.33 - 1.0) * 0.3, 1e-12);
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

struct Developed {
  std::unique_ptr<org> c;
  std::vector<LogEntry> messages;
};

Developed develop(const std::string& text, double grow = 0) {
  Developed d;
  d.c = std::make_unique<org>(nullptr, text);
  SimSettings s;
  s.grow = grow;
  testing_world::MessageCatcher catcher;
  developF1(*d.c, text, s);
  d.messages = catcher.entries;
  return d;
}

void expectAt(const ses* e, double x, double y, double z) {
  ASSERT_NE(e, nullptr);
  EXPECT_NEAR(e->p.x, x, 1e-9);
  EXPECT_NEAR(e->p.y, y, 1e-9);
  EXPECT_NEAR(e->p.z, z, 1e-9);
}

// Positions, masses, stick ends and stick properties of developed bodies, as
// format 0 writes them, are pinned by the conversion tests (converters_test).
TEST(F1Develop, SticksJoinEndsOneUnitApartAndShareTheirMiddleEnd) {
  const Developed d = develop("XX");
  const org& c = *d.c;
  ASSERT_EQ(c.sesCount(), 3);
  ASSERT_EQ(c.estCount(), 2);
  EXPECT_EQ(c.getSes(1)->owner, c.getEst(0));
  EXPECT_EQ(c.getEst(1)->e[0], c.getSes(1));
  EXPECT_EQ(c.getEst(0)->len, 1.0);
  EXPECT_EQ(c.getEst(1)->s1, 1);
  EXPECT_EQ(c.getEst(1)->s2, 2);
  EXPECT_EQ(c.getSes(2)->devIndex, 2);
  EXPECT_DOUBLE_EQ(develop("X").c->energyWeight, 1.0);
}

TEST(F1Develop, ForkTurnsBranchesAThirdOfACircleEachWay) {
  const Developed d = develop("X(X,X)");
  ASSERT_EQ(d.c->estCount(), 3);
  expectAt(d.c->getSes(2), 1 + std::cos(-1.047), std::sin(-1.047), 0);
  // Text after the closing parenthesis is not developed; a comma ends the path.
  EXPECT_EQ(develop("X(X,X)X").c->estCount(), 3);
  EXPECT_EQ(develop("X,X").c->estCount(), 1);
  // Three branches: -1.5705, 0 and +1.5705 radians.
  const Developed t = develop("X(X,X,X)");
  expectAt(t.c->getSes(2), 1 + std::cos(-1.5705), std::sin(-1.5705), 0);
  expectAt(t.c->getSes(3), 2, 0, 0);
  expectAt(t.c->getSes(4), 1 + std::cos(1.5705), std::sin(1.5705), 0);
  EXPECT_NEAR(t.c->getEst(2)->zakz, 1.0 / 3, 1e-15);
}

TEST(F1Develop, NestedBranchesDevelopDepthFirstInTextOrder) {
  const Developed d = develop("X(X(X,X),X)");
  const org& c = *d.c;
  ASSERT_EQ(c.estCount(), 5);
  // Sticks of the first branch and its fork come before the second branch.
  EXPECT_EQ(c.getEst(1)->e[0], c.getSes(1));
  EXPECT_EQ(c.getEst(2)->e[0], c.getSes(2));
  EXPECT_EQ(c.getEst(3)->e[0], c.getSes(2));
  EXPECT_EQ(c.getEst(4)->e[0], c.getSes(1));
  // Commas inside a neuron do not separate branches.
  const Developed n = develop("X(X[1:1,*:2],X)");
  EXPECT_EQ(n.c->estCount(), 3);
  EXPECT_EQ(n.c->getEst(2)->zakz, 0.5);
}

TEST(F1Develop, LengthModifiersAreCappedAtTwo) {
  EXPECT_EQ(develop("LLX").c->getEst(0)->len, 2.0);
  // Decay: 0.5 * 2.02 + 0.5 for the next stick.
  const Developed e = develop("LLXX");
  EXPECT_NEAR(e.c->getEst(1)->len, 1.51, 1e-12);
  // A growing creature starts at a hundredth of its length, full-grown rest kept apart.
  const Developed g = develop("X", 10);
  EXPECT_NEAR(g.c->getEst(0)->len, 0.01, 1e-15);
  EXPECT_NEAR(g.c->getEst(0)->rest.x, 0.01, 1e-15);
  EXPECT_EQ(g.c->getEst(0)->rest0.x, 1.0);
  expectAt(g.c->getSes(1), 0.01, 0, 0);
}

TEST(F1Develop, CurvednessTurnsFollowingSticksAndRotationOnlyTheFrame) {
  const Developed d = develop("CXX");
  // 0.5 decayed by 0.66 when the first stick was made.
  expectAt(d.c->getSes(2), 1 + std::cos(0.33), std::sin(0.33), 0);
  EXPECT_NEAR(d.c->getEst(1)->r0.z, 0.33, 1e-12);

  const Developed r = develop("RX");
  expectAt(r.c->getSes(1), 1, 0, 0);
  EXPECT_NEAR(r.c->getSes(1)->o.y.z, std::sin(0.7853), 1e-12);
  // The turn of the fork's branches then happens in the rotated plane.
  const Developed f = develop("RX(X,X)");
  expectAt(f.c->getSes(2), 1 + std::cos(1.047), -std::sin(1.047) * std::cos(0.7853),
           -std::sin(1.047) * std::sin(0.7853));
}

TEST(F1Develop, NeuronsSitOnTheLastStickWithTheirSegments) {
  const Developed d = develop("X[@1:2.5]X[|-1:0.5,T:1,G:2,S:3]");
  const org& c = *d.c;
  ASSERT_EQ(c.neuroCount(), 2);
  const neuro* a = c.getNeuro(0);
  EXPECT_EQ(a->place, c.getEst(0));
  EXPECT_EQ(a->ownIndex, 0);
  EXPECT_EQ(a->estIndex, 0);
  EXPECT_EQ(a->kto, d.c.get());
  ASSERT_EQ(a->inputCount(), 1);
  EXPECT_EQ(c.getEst(0)->muscles, EST_MUSCLE_ROTATE);
  EXPECT_EQ(c.getEst(0)->sensors, EST_SENSOR_NEURON);

  const neuro* b = c.getNeuro(1);
  EXPECT_EQ(b->place, c.getEst(1));
  ASSERT_EQ(b->inputCount(), 4);
  EXPECT_EQ(c.getEst(1)->sensors,
            EST_SENSOR_NEURON | EST_SENSOR_TOUCH | EST_SENSOR_EQUILIBRIUM | EST_SENSOR_SMELL);
  EXPECT_TRUE(d.messages.empty());
}

TEST(F1Develop, OneMuscleOfEachKindPerStick) {
  const Developed d = develop("X[@*:1][@*:1][|*:1][|*:1]");
  const org& c = *d.c;
  ASSERT_EQ(c.neuroCount(), 4);
  EXPECT_EQ(c.getNeuro(2)->typster, NEURO_MUSCLE_BEND);
  EXPECT_EQ(c.getNeuro(3)->typster, NEURO_NO_MUSCLE);
  EXPECT_EQ(c.getEst(0)->muscles, EST_MUSCLE_ROTATE | EST_MUSCLE_BEND);
  // Another stick takes its own muscle again.
  EXPECT_EQ(develop("X[@*:1]X[@*:1]").c->getNeuro(1)->typster, NEURO_MUSCLE_ROTATE);
}

TEST(F1Develop, NeuronBeforeTheFirstStickIsDroppedWithAWarning) {
  const Developed d = develop("[0:1]X");
  EXPECT_EQ(d.c->neuroCount(), 0);
  EXPECT_EQ(d.c->estCount(), 1);
  ASSERT_EQ(d.messages.size(), 1u);
  EXPECT_EQ(d.messages[0].message, "Illegal neuron position (ignored)");
  EXPECT_EQ(d.messages[0].function, "rozwin");
  EXPECT_EQ(d.messages[0].level, LOG_WARNING);
  const Developed kept = develop("X[0:1]");
  EXPECT_EQ(kept.c->neuroCount(), 1);
}

TEST(F1Develop, EnergyAndPropertiesComeFromTheBlock) {
  const Developed d = develop("EFwIX");
  const org& c = *d.c;
  EXPECT_NEAR(c.energyWeight, 0.9 * 1.9 + 0.1, 1e-12);
  EXPECT_NEAR(c.getSes(1)->tarcie, 0.4 + 3.6 * 0.2, 1e-12);
  EXPECT_NEAR(c.getSes(0)->tarcie, c.getSes(1)->tarcie, 1e-15);
  const double weight = 1.0 + (0.5 - 1.0) * 0.3;
  EXPECT_NEAR(c.getSes(1)->buoy, 1 / weight, 1e-12);
  EXPECT_NEAR(c.getSes(1)->wchl, 0.85 / 1.6, 1e-12);
}

TEST(F1Develop, MalformedTextEndsCleanly) {
  for (const char* text : {"", "(", ")", "X(", "X((((", "X[", "X[@", "[", "X)X", "X]]X", "((X,,X)", "X[1:",
                           "X(X[,X)", "X[:::::]", "X(,)"}) {
    const Developed d = develop(text);
    for (int i = 0; i < d.c->estCount(); ++i) EXPECT_NE(d.c->getEst(i)->e[1], nullptr) << text;
  }
  // Branches at the very start both grow from the creature's first end.
  const Developed b = develop("(X,X)");
  ASSERT_EQ(b.c->estCount(), 2);
  EXPECT_EQ(b.c->getEst(1)->e[0], b.c->getSes(0));
  EXPECT_EQ(b.c->getSes(0)->m, 2.0);
}

TEST(F1Develop, DeepTextDoesNotExhaustTheStack) {
  const std::string deep = std::string(200000, '(') + "X";
  EXPECT_EQ(develop(deep).c->estCount(), 1);
  const std::string chain(20000, 'X');
  EXPECT_EQ(develop(chain).c->estCount(), 20000);
}

TEST(F1Develop, BuilderStartsTheDevelopedBodyWithItsEnergyAndPositionMap) {
  testing_world::MessageCatcher quiet;
  SimSettings settings;
  const Genetics genetics{nullptr, &settings, nullptr};
  org c(&genetics, "XEX[0:1]");
  c.allocatePositionMap();
  ASSERT_EQ(c.Build(), ORG_BUILD_OK);
  EXPECT_NEAR(c.startEnergy, 100 * (1.0 + 0.9 * 1.9 + 0.1), 1e-9);
  ASSERT_EQ(c.posMap.size(), 9u);
  EXPECT_EQ(c.posMap[0], POSMAP_EST | 0);
  EXPECT_EQ(c.posMap[1], POSMAP_EST | 0);  // the modifier belongs to the stick before it
  EXPECT_EQ(c.posMap[2], POSMAP_EST | 1);
  EXPECT_EQ(c.posMap[3], POSMAP_NEURO | 0);
  EXPECT_EQ(c.posMap[7], POSMAP_NEURO | 0);
  // The inputs were linked by the builder.
  EXPECT_EQ(c.getNeuro(0)->input(0)->srcNeuron, c.getNeuro(0));
}

}  // namespace
}  // namespace vorlund

#include <gtest/gtest.h>

#include "support/message_capture.h"
#include "world/format0.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {
namespace {

using test_support::MessageCapture;

constexpr const char* kOneStick = "/*0*/\np:\np:1\nj:0, 1";

std::string f0(const std::string& body) { return "/*0*/\n" + body; }

TEST(Format0, ReadsDefaultsOfTwoEndsAndOneStick) {
  org o(nullptr, kOneStick);
  ASSERT_EQ(o.Build(), ORG_BUILD_OK);
  ASSERT_EQ(o.sesCount(), 2);
  ASSERT_EQ(o.estCount(), 1);
  EXPECT_EQ(o.getSes(0)->p, Vec3(0, 0, 0));
  EXPECT_EQ(o.getSes(1)->p, Vec3(1, 0, 0));
  const est* k = o.getEst(0);
  EXPECT_EQ(k->e[0], o.getSes(0));
  EXPECT_EQ(k->e[1], o.getSes(1));
  EXPECT_EQ(o.getSes(1)->owner, k);
  EXPECT_EQ(o.getSes(0)->owner, nullptr);
  EXPECT_DOUBLE_EQ(k->len, 1.0);
  EXPECT_EQ(k->rest0, Vec3(1, 0, 0));
  EXPECT_DOUBLE_EQ(o.startEnergy, SimSettings{}.Energy0);
  EXPECT_EQ(o.sticks0, 1);
  EXPECT_EQ(o.typ, ORG_CREATURE);
}

TEST(Format0, SkipsForeignLinesAndReadsBlanksAfterPrefixAndNamedKeys) {
  org o(nullptr, f0("# comment\nx:1\np: 1, 2, 3\n p:7\np:vol=5, m=2\nj:0,1,mz=0.5\n"));
  o.Build();
  ASSERT_EQ(o.sesCount(), 2);  // " p:7" does not start at the line start
  EXPECT_EQ(o.getSes(0)->p, Vec3(1, 2, 3));
  EXPECT_DOUBLE_EQ(o.getSes(1)->v.x, 5.0);
  EXPECT_DOUBLE_EQ(o.getSes(1)->m, 2.0);
  ASSERT_EQ(o.estCount(), 1);
  EXPECT_DOUBLE_EQ(o.getEst(0)->zakz, 0.5);
  EXPECT_DOUBLE_EQ(o.getEst(0)->ruch, 0.25);
}

TEST(Format0, CorrectsInputNamingNeuronOutsideTheList) {
  MessageCapture log;
  org o(nullptr, f0("p:\np:1\nj:0,1\nneu:0\ninp:0, 0, 1, 5\ninp:0, 2, 0.5\n"));
  o.Build();
  ASSERT_EQ(o.neuroCount(), 1);
  neuro* n = o.getNeuro(0);
  EXPECT_EQ(n->place, o.getEst(0));
  EXPECT_EQ(n->kto, &o);
  ASSERT_EQ(n->inputCount(), 2);
  EXPECT_EQ(log.count("illegal neuron input (corrected)"), 1);
  EXPECT_EQ(n->input(0)->conn, 0);
  EXPECT_EQ(n->input(0)->srcNeuron, n);
  // A receptor reads the neuron's stick.
  EXPECT_EQ(n->input(1)->typ, WEJ_TOUCH);
  EXPECT_EQ(n->input(1)->srcStick, o.getEst(0));
  EXPECT_DOUBLE_EQ(n->input(1)->w, 0.5);
}

TEST(Format0, RejectsRecordsNamingMissingElementsAndReadsTheRest) {
  MessageCapture log;
  org o(nullptr, "/*0*/\n"
        "p:\np:1\n"
        "j:0, 2\n"     // no stick end 2
        "j:1, 1\n"     // both ends the same
        "j:0\n"        // no second end
        "j:s2=1\n"     // no first end
        "j:-1, 1\n"
        "j:1, 0\n"     // the one good stick
        "neu:3\n"      // no stick 3
        "neu:\n"       // no stick at all
        "neu:0\n"      // the good neuron
        "inp:1\n"      // no neuron 1
        "inp:w=2\n"    // no neuron at all
        "inp:0, 1\n"); // the good input
  EXPECT_EQ(o.Build(), ORG_BUILD_OK);
  EXPECT_EQ(o.sesCount(), 2);
  ASSERT_EQ(o.estCount(), 1);
  EXPECT_EQ(o.getEst(0)->e[0], o.getSes(1));
  ASSERT_EQ(o.neuroCount(), 1);
  EXPECT_EQ(o.getNeuro(0)->inputCount(), 1);
  EXPECT_EQ(log.countContaining("ignored"), 9);
  for (const auto& e : log.entries) EXPECT_EQ(e.level, LOG_WARNING);
  EXPECT_DOUBLE_EQ(o.energyWeight, 1.0);
}

TEST(Format0, WritesAgainstDefaultElementsAndEmptyBodyAsNothing) {
  org o(nullptr, kOneStick);
  o.Build();
  EXPECT_EQ(writeFormat0(o), "\np:\np:1\nj:0, 1\n");

  org rich(nullptr, f0("p:\np:1, 2, fr=0.1\nj:0, 1, m=0.5\nneu:0, 1\ninp:0, 1, 2\ninp:0, conn=0\n"));
  rich.Build();
  const std::string text = writeFormat0(rich);
  EXPECT_EQ(text, "\np:\np:1, 2, fr=0.1\nj:0, 1, 0.5\nneu:0, 1\ninp:0, 1, 2\ninp:0\n");
  // What is written reads back into the same body.
  org again(nullptr, f0(text));
  again.Build();
  EXPECT_EQ(writeFormat0(again), text);

  // An empty body (written as nothing, see converters_test) has a zero box and centre.
  org empty(nullptr, "/*0*/\n");
  empty.Build();
  empty.bboxMin = empty.bboxMax = Vec3(5, 5, 5);
  empty.computeBoundingBox();
  EXPECT_EQ(empty.bboxMin, kZeroVec);
  EXPECT_EQ(empty.bboxMax, kZeroVec);
  EXPECT_EQ(empty.meanPosition(), kZeroVec);
}

TEST(PositionMap, MarksRecordsFillsGapsAndRejectsOverflow) {
  MessageCapture log;
  const std::string text = "/*0*/\np:\np:1\nj:0, 1\np:D=999\n";
  org o(nullptr, text);
  o.allocatePositionMap();
  o.Build();
  ASSERT_EQ(o.posMap.size(), text.size() + 1);
  EXPECT_EQ(log.count("debuginfo overflow"), 1);
  const std::size_t firstP = text.find("p:");
  const std::size_t stick = text.find("j:");
  EXPECT_EQ(o.posMap[0], 0);  // before the first record nothing is known
  EXPECT_EQ(o.posMap[firstP], POSMAP_SES + 1);
  EXPECT_EQ(o.posMap[firstP + 1], POSMAP_SES + 1);
  EXPECT_EQ(o.posMap[stick], POSMAP_EST + 0);
  EXPECT_EQ(o.posMap[text.size()], POSMAP_EST + 0);
}

TEST(OrgBuild, BallHasOneEndAndBallEnergyGrowingCreatureStartsOnGrowingEnergy) {
  SimSettings settings;
  settings.feede0 = 33;
  Genetics g{nullptr, &settings, nullptr};
  org ball(&g, "*");
  EXPECT_EQ(ball.Build(), ORG_BUILD_OK);
  EXPECT_EQ(ball.typ, ORG_FOOD);
  ASSERT_EQ(ball.sesCount(), 1);
  EXPECT_DOUBLE_EQ(ball.getSes(0)->wchl, 0.25);
  EXPECT_DOUBLE_EQ(ball.energy, 33);
  EXPECT_DOUBLE_EQ(ball.energyWeight, 33);

  settings.grow = 3;
  org o(&g, f0("p:\np:1\np:2\nj:0,1\nj:1,2"));
  o.flags = ORG_GROWING;
  o.Build();
  EXPECT_DOUBLE_EQ(o.startEnergy, 200);
  EXPECT_DOUBLE_EQ(o.energy, 3);
  EXPECT_DOUBLE_EQ(o.grownEnergy, 3);
}

TEST(OrgBuild, ClearCallsReleaseHooksOnceAndEmptiesTheBody) {
  org o(nullptr, kOneStick);
  o.Build();
  int calls = 0;
  o.releaseHooks.push_back({[](void* arg) { ++*static_cast<int*>(arg); }, &calls});
  o.releaseHooks.push_back({[](void* arg) { EXPECT_EQ(arg, nullptr); }, nullptr});
  o.Clear();
  o.Clear();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(o.sesCount(), 0);
  EXPECT_EQ(o.estCount(), 0);
}

}  // namespace
}  // namespace vorlund

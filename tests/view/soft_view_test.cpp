// The software views: the projection, the world painter and its display
// table, the body view, the brain view's layouts and the drawing surface they share.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "recording_area.h"
#include "support/message_capture.h"
#include "view/body_view.h"
#include "view/brain_layout.h"
#include "view/brain_view.h"
#include "view/display_settings.h"
#include "view/soft_projection.h"
#include "view/soft_world_painter.h"
#include "world/life_test_support.h"
#include "world/org_param.h"

namespace vorlund {
namespace {

TEST(SoftProjection, TargetIsCentredAndClicksMapBackToTheGround) {
  SoftProjection p;
  const Vec3 target{20, 10, 0};
  p.set(400, 300, target, 0.05);
  EXPECT_DOUBLE_EQ(p.sx(), 15.0);  // min(400, 300) * 0.05
  int x, y;
  p.project(target, x, y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 150);
  for (const Vec3 g : {Vec3{0, 0, 0}, Vec3{33, 7, 0}, Vec3{50, 50, 0}}) {
    p.project(g, x, y);
    const Vec3 back = p.toGround(x, y);
    EXPECT_NEAR(back.x, g.x, 2.0 / p.sx()) << g.x;
    EXPECT_NEAR(back.y, g.y, 4.0 / p.sy()) << g.y;
  }
  // Far points are clamped, a zero scale or window maps clicks to the target.
  p.project({1e300, 0, 0}, x, y);
  EXPECT_EQ(x, 1000000);
  for (const auto& [w, h, s] : {std::tuple{0, 0, 1.0}, std::tuple{400, 300, 0.0}}) {
    p.set(w, h, target, s);
    const Vec3 g = p.toGround(10, 10);
    EXPECT_TRUE(std::isfinite(g.x) && std::isfinite(g.y));
  }
}

TEST(SoftProjection, GridHalvesTheWorldSizeToSevenCellsOrFewer) {
  const std::pair<double, int> cases[] = {{50, 6}, {200, 6}, {10, 5}, {7, 7}, {14, 7}, {15, 3}};
  for (const auto& [size, cells] : cases) EXPECT_EQ(softGridCells(size), cells) << size;
  EXPECT_NEAR(softGridStep(50), 50.0 / 6 + 0.0001, 1e-12);
}

TEST(BodyView, TurningAngleStaysInRange) {
  BodyView v;
  for (int i = 0; i < 100000; ++i) {
    v.animate();
    ASSERT_GT(v.angle(), -3.14 - 1e-9);
    ASSERT_LE(v.angle(), 3.14);
  }
}

TEST(BodyView, DisplayBodyIsFullSizeEvenWhenCreaturesGrow) {
  SimSettings growing;
  growing.grow = 1.0;
  Genetics g{nullptr, &growing, nullptr};
  BodyView v;
  v.showGenotype("X(X,X)", g);
  ASSERT_NE(v.displayBody(), nullptr);
  EXPECT_EQ(v.displayBody()->estCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(v.displayBody()->getEst(i)->len, 1.0, 0.2);
}

// A world with one living two-stick creature, drawn in a recording area.
struct WorldScene : ::testing::Test {
  void SetUp() override { creature->getSes(0)->contact = 1; }
  testing_life::World scene;
  Life& life = scene.life;
  WorldDisplayFields display;
  SoftWorldPainter painter{display};
  org* creature = scene.creature("p:10,10,0\np:11,10,0\np:12,10,1\nj:0,1\nj:1,2\n");
  test::RecordingArea paint(int w, int h, double scale) {
    test::RecordingArea area(w, h);
    painter.paint(area, life, {10, 10, 0}, scale);
    return area;
  }
};

TEST_F(WorldScene, QualityZeroDrawsOnlyTheOutlineAndTheSticks) {
  display.w3_qual = QUALITY_LOW;
  display.w3_la1 = 0;
  const auto area = paint(300, 300, 0.02);
  EXPECT_EQ(area.count('l', VC_OUTLINE), 4);
  EXPECT_EQ(area.count('l', VC_STICK), 2);
  EXPECT_EQ(area.ops.size(), 6u);
  display.w3_qual = QUALITY_CONNECTIONS;
  const auto full = paint(300, 300, 0.02);
  EXPECT_GT(full.count('l', VC_GRID), 0);
  EXPECT_EQ(full.count('l', VC_SHADOW), 2);
  EXPECT_EQ(full.count('l', VC_CONTACT), 2);
  EXPECT_GT(full.count('l', VC_FENCE), 0);
}

TEST_F(WorldScene, LabelsOnlyWhenTheViewIsLargeEnough) {
  org_param acc(creature);
  display.w3_la1 = acc.findId("name") + 1;
  creature->name = "Walker\nsecond line";
  EXPECT_FALSE(paint(300, 300, 0.02).hasText("Walker"));  // 12 pixels per unit
  EXPECT_TRUE(paint(300, 300, 0.2).hasText("Walker"));    // 120 pixels per unit
}

TEST_F(WorldScene, ChartsFollowTheSelectedCreatureAndItsDeath) {
  org_param acc(creature);
  display.w3_ch1 = acc.findId("energy") + 1;
  display.w3_ch2 = acc.findId("wiek") + 1;
  painter.select(creature, &life);
  creature->energy = 5;
  paint(300, 300, 0.02);
  creature->energy = 7;
  const auto area = paint(300, 300, 0.02);
  EXPECT_EQ(painter.chart(1).size(), 2u);
  EXPECT_EQ(painter.chart(2).size(), 2u);
  EXPECT_TRUE(area.hasText("Energy: 7"));
  EXPECT_GT(area.count('l', VC_POINTER), 0);
  bool lost = false;
  painter.setOnLost([&] { lost = true; });
  life.killCreature(creature);
  EXPECT_TRUE(lost);
  EXPECT_EQ(painter.selected(), nullptr);
  paint(300, 300, 0.02);
}

TEST(WorldDisplayTable, ChoicesAreBuiltFromTheCreatureTable) {
  WorldDisplayFields f;
  WorldDisplayParams p(&f);
  org_param creature;
  const int n = creature.paramCount();
  ASSERT_EQ(p.paramCount(), 6);
  for (const char* key : {"w3_la1", "w3_la2", "w3_ch1", "w3_ch2"}) {
    const ParamType t = parseParamType(p.type(p.findId(key)));
    EXPECT_EQ(t.hi, n) << key;
    std::string expected = "~(off)";
    for (int i = 0; i < n; ++i) expected += std::string("~") + creature.name(i);
    EXPECT_EQ(std::string(t.labels), expected) << key;
  }
}

TEST(WorldDisplayTable, ChartsTakeOnlyNumbers) {
  WorldDisplayFields f;
  WorldDisplayParams p(&f);
  org_param creature;
  const int ch1 = p.findId("w3_ch1");
  const int nameIndex = creature.findId("name") + 1;
  const int energyIndex = creature.findId("energy") + 1;
  EXPECT_NE(p.set(ch1, std::to_string(nameIndex)) & PSET_HITMIN, 0);
  EXPECT_EQ(f.w3_ch1, 0);
  p.set(ch1, std::to_string(energyIndex));
  EXPECT_EQ(f.w3_ch1, energyIndex);
  // Labels may show texts.
  p.set(p.findId("w3_la2"), std::to_string(nameIndex));
  EXPECT_EQ(f.w3_la2, nameIndex);
}

TEST(Area2D, UnknownColourIsReportedAndKeepsTheColour) {
  test::RecordingArea area(1, 1);
  test_support::MessageCapture log;
  ASSERT_TRUE(area.color(VC_GRID));
  EXPECT_FALSE(area.color(VC_COUNT));
  EXPECT_FALSE(area.color(-1));
  EXPECT_EQ(area.currentColor(), VC_GRID);
  ASSERT_EQ(log.entries.size(), 2u);
  EXPECT_EQ(log.entries[0].module, "Area2D");
  EXPECT_TRUE(log.has("Color", "Invalid constant"));
  EXPECT_EQ(log.entries[0].level, LOG_ERROR);
}

TEST(Area2D, LabelsUseTheFirstLineCutShort) {
  EXPECT_EQ(firstLineCut("abc\ndef", 10), "abc");
  EXPECT_EQ(firstLineCut("abcdefgh", 3), "abc");
  EXPECT_EQ(clampToPixel(1e300), 1000000);
  EXPECT_EQ(clampToPixel(-1e300), -1000000);
  EXPECT_EQ(clampToPixel(std::nan("")), 0);
}

// The brain view's layouts place neurons on a grid of kNeuronCellPitch.
std::pair<int, int> cell(const NeuronBox& b) { return {b.x / kNeuronCellPitch, b.y / kNeuronCellPitch}; }

void expectDistinctCells(const std::vector<NeuronBox>& boxes) {
  std::set<std::pair<int, int>> cells;
  for (const NeuronBox& b : boxes) {
    EXPECT_EQ(b.x % kNeuronCellPitch, 0);
    EXPECT_EQ(b.y % kNeuronCellPitch, 0);
    EXPECT_TRUE(cells.insert({b.x, b.y}).second) << "two neurons at " << b.x << "," << b.y;
  }
}

std::vector<NeuronBox> smart(const NeuronSources& net) {
  ViewRandom rng;
  return layoutSmart(net, rng);
}

TEST(DumbArray, FollowsItsFormulaForFiveNeurons) {
  ViewRandom rng;
  const auto boxes = layoutDumbArray(NeuronSources(5), rng);
  // side 3: x = 70c + ((r+c) mod 4) * 4, y = 70r + ((r+c+2) mod 4) * 4
  const int expected[5][2] = {{0, 8}, {74, 12}, {148, 0}, {4, 82}, {78, 70}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(boxes[i].x, expected[i][0]) << i;
    EXPECT_EQ(boxes[i].y, expected[i][1]) << i;
    EXPECT_EQ(boxes[i].w, 50);
  }
}

TEST(SmartLayout, PutsSourcesOneCellLeft) {
  // A chain 0 <- 1 <- 2 (each fed by the one before).
  auto chain = smart({{}, {0}, {1}});
  EXPECT_EQ(cell(chain[0]).first + 1, cell(chain[1]).first);
  EXPECT_EQ(cell(chain[1]).first + 1, cell(chain[2]).first);
  EXPECT_EQ(cell(chain[0]).second, cell(chain[2]).second);
  // Neuron 2 fed by 0 and 1: both one column left, in different rows.
  auto fork = smart({{}, {}, {0, 1}});
  EXPECT_EQ(cell(fork[0]).first, cell(fork[2]).first - 1);
  EXPECT_EQ(cell(fork[1]).first, cell(fork[2]).first - 1);
  expectDistinctCells(fork);
}

TEST(SmartLayout, CyclesTerminate) {
  // Two neurons feeding each other, a self-loop and a longer cycle.
  expectDistinctCells(smart({{1}, {0}}));
  expectDistinctCells(smart({{0, 2}, {0}, {1}}));
  // A dense evolved-like network: everyone fed by everyone.
  NeuronSources dense(12);
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 12; ++j) dense[i].push_back(j);
  expectDistinctCells(smart(dense));
  // A long chain would exhaust a recursive walk.
  NeuronSources longChain(5000);
  for (int i = 1; i < 5000; ++i) longChain[i].push_back(i - 1);
  EXPECT_EQ(smart(longChain).size(), 5000u);
}

TEST(SmartLayout, SeparateClustersAreStackedBelow) {
  // Pairs {0 <- 1} and {2 <- 3} are not connected.
  auto boxes = smart({{}, {0}, {}, {2}});
  expectDistinctCells(boxes);
  EXPECT_EQ(boxes[2].x, boxes[0].x);  // left edges aligned
  EXPECT_EQ(cell(boxes[2]).second, cell(boxes[0]).second + 1);
}

TEST(Fit, ScalesTheLayoutIntoTheWindow) {
  const LayoutBounds b{0, 0, 200, 100};
  const LayoutFit f = fitLayout(b, 600, 400);
  EXPECT_DOUBLE_EQ(f.scale, 2.0);  // min(600/300, 400/200)
  EXPECT_GE(f.ox, 0);
  EXPECT_LE(f.ox + 200 * f.scale, 600);
  EXPECT_LE(f.oy + 100 * f.scale, 400);
  // Negative cells are fitted too.
  const LayoutFit g = fitLayout({-140, -70, 50, 50}, 300, 300);
  EXPECT_GE(g.ox - 140 * g.scale, 0);
  // A tiny window or an empty layout keeps scale 1.
  for (const LayoutFit& same : {fitLayout(b, 2, 2), fitLayout(b, 0, 0), fitLayout({}, 600, 400)}) {
    EXPECT_EQ(same.scale, 1.0);
    EXPECT_EQ(same.ox, 0);
  }
}

TEST(BrainView, InputsEnterEvenlyDownTheLeftSide) {
  EXPECT_EQ(BrainView::inputEntryY(100, 50, 0, 1), 125);
  EXPECT_EQ(BrainView::inputEntryY(100, 60, 0, 2), 120);
  EXPECT_EQ(BrainView::inputEntryY(100, 60, 1, 2), 140);
}

}  // namespace
}  // namespace vorlund

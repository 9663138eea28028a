#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "view/brain_layout.h"
#include "view/brain_view.h"

namespace vorlund {
namespace {

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

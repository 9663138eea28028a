// The "Evolution" window in the main window: its toggle, series check boxes,
// "Export CSV" and snapshot, a new chart on loading, its setting in
// "Default.par", and a bounded memory through a long run.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <algorithm>

#include "main_window_rig.h"
#include "ui/evolution_chart.h"
#include "ui/evolution_window.h"
#include "ui/settings_chain.h"

namespace vorlund::ui {
namespace {

TEST(EvolutionWindow, ChartsTheRunAndExportsWhatItCharts) {
  WindowRig rig;
  MainWindow& w = rig.make();
  EvolutionWindow& e = *w.evolutionWindow();
  EXPECT_FALSE(e.isVisible());
  w.toggle(MainToggle::Evolution)->click();
  EXPECT_TRUE(e.isVisible());
  e.settings().U = 50;
  e.restart();
  if (w.toggle(MainToggle::World)->isChecked()) w.toggle(MainToggle::World)->click();  // steps in stretches between samples
  w.runSteps(1000);
  ASSERT_EQ(e.samples().size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) EXPECT_EQ(e.samples().at(i).step, static_cast<int64_t>(50 * (i + 1)));
  EXPECT_EQ(e.samples().at(19).step, w.sim().stepCount);

  // Check boxes choose the curves; the picture changes with them.
  EvolutionChart& chart = *e.chart();
  const QImage before = chart.renderImage().copy();
  e.seriesBox(EVS_FITNESS_BEST)->click();
  EXPECT_FALSE(chart.shown(EVS_FITNESS_BEST));
  e.seriesBox(EVS_BIRTHS)->click();
  EXPECT_TRUE(chart.shown(EVS_BIRTHS));
  EXPECT_TRUE(chart.renderImage() != before);
  e.logBox()->click();
  EXPECT_TRUE(chart.logSteps());

  rig.prompts.fileNames = {QString::fromStdString(rig.scratch.file("chart")), QString::fromStdString(rig.scratch.file("shot"))};
  ASSERT_TRUE(e.exportCsv());
  const std::string csv = test_support::ScratchDir::read(rig.scratch.file("chart.csv"));
  EXPECT_EQ(csv, e.samples().csv());
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 21);
  ASSERT_TRUE(e.savePng());
  EXPECT_FALSE(QImage(QString::fromStdString(rig.scratch.file("shot.png"))).isNull());

  // Loading a pool starts a new chart.
  rig.prompts.fileNames = {WindowRig::exampleQ("seeds.gen")};
  rig.prompts.answers = {PromptAnswer::No};
  w.loadGenotypes();
  EXPECT_EQ(e.samples().size(), 0u);
}

TEST(EvolutionWindow, SettingIsKeptInDefaultParAndMemoryStaysBounded) {
  WindowRig rig;
  {
    MainWindow& w = rig.make();
    w.evolutionWindow()->settings().U = 1;
    ASSERT_TRUE(w.context().settingsChain().write(kSettingsFileName));
  }
  MainWindow& w = rig.make();
  EvolutionWindow& e = *w.evolutionWindow();
  ASSERT_EQ(e.settings().U, 1);
  e.restart();
  w.runSteps(static_cast<long>(3 * kEvolutionSampleCapacity));
  EXPECT_LE(e.samples().size(), kEvolutionSampleCapacity);
  EXPECT_GE(e.samples().spacing(), 2);
  EXPECT_EQ(e.samples().at(e.samples().size() - 1).step, w.sim().stepCount);
}

}  // namespace
}  // namespace vorlund::ui

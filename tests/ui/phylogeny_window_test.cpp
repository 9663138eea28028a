// The phylogeny window drawing a history off screen.
#include <gtest/gtest.h>

#include <QComboBox>

#include "ui/param_dialog.h"
#include "ui/phylogeny_window.h"
#include "ui/ui_context.h"
#include "views_rig.h"

namespace vorlund {
namespace {

TEST(PhylogenyWindow, DrawsTheTreeOfAHistory) {
  // A root with two mutants, one of which has a mutant and a crossover child.
  const std::vector<GenoLink> history = {
      {1, "X", "XX", 0.3f, 0}, {2, "X", "XXX", 0.5f, 0}, {3, "XX", "X(X,X)", 0.2f, 0},
      {4, "XX", "XRX", 0.5f, 0}, {4, "XXX", "XLX", 0.5f, 0},
  };
  EvolStudy study;
  ASSERT_TRUE(study.Analyze(history));
  ui::PhylogenyWindow w(study, nullptr);
  EXPECT_EQ(w.windowTitle(), "Phylogeny analysis");
  w.resize(400, 300);
  const QImage& image = w.area()->renderImage();
  EXPECT_EQ(image.size(), w.area()->size());
  EXPECT_GT(test::countPixels(image, [](QColor c) { return c.red() > 200 && c.green() < 80; }), 20);  // mutations
  const auto white = [](QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 200; };
  EXPECT_GT(test::countPixels(image, white), 5);  // crossover points
  // Redrawn at the new size.
  w.resize(250, 200);
  EXPECT_EQ(w.area()->renderImage().size(), w.area()->size());
}

TEST(PhylogenyWindow, ParametersGoThroughTheGenericDialogAndCancelDrawsNothing) {
  ui::UiContext ctx;
  ctx.sim().genman.history() = {{1, "X", "XX", 0.3f, 0}};
  QString title;
  bool hadChoice = false;
  ui::ScopedParamDialogRunner cancel([&](ui::ParamDialog& d) {
    title = d.windowTitle();
    hadChoice = qobject_cast<QComboBox*>(d.controlFor(1)) != nullptr;
    return false;
  });
  ui::runPhylogenyAnalysis(nullptr, ctx);  // would block in the tree window if it went on
  EXPECT_EQ(title, "Phylogeny Analysis Parameters");
  EXPECT_TRUE(hadChoice);
}

}  // namespace
}  // namespace vorlund

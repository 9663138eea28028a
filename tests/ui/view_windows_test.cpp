// The body, brain and phylogeny windows drawn off screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "ui/body_view_window.h"
#include "ui/brain_view_window.h"
#include "ui/param_dialog.h"
#include "ui/phylogeny_window.h"
#include "ui/prompt_service.h"
#include "ui/world_view_window.h"
#include "view/recording_area.h"
#include "views_rig.h"
#include "world/org_param.h"

namespace vorlund {
namespace {

using ui::UiContext;

TEST(BodyViewWindow, ShowsXXXAsThreeSticksAndSavesThePictureAtItsSize) {
  UiContext ctx;
  ui::BodyViewWindow w(ctx, nullptr);
  w.resize(173, 121);
  w.show();
  w.view().showGenotype("X(X,X)", ctx.sim().geneticsContext());
  ASSERT_NE(w.view().displayBody(), nullptr);
  test::RecordingArea rec(200, 200);
  w.view().paint(rec);
  EXPECT_EQ(rec.count('l', VC_STICK), 3);
  EXPECT_EQ(rec.count('e', VC_STICK_END), 4);
  const QImage& image = w.area()->renderImage();
  EXPECT_EQ(image.size(), w.area()->size());
  EXPECT_GT(test::pixelsOf(image, VC_STICK), 60);
  w.advanceAnimation();
  EXPECT_NEAR(w.view().angle(), 0.02, 1e-12);

  QTemporaryDir dir;
  ui::ScriptedPrompts prompts;
  ui::ScopedPromptService scoped(&prompts);
  prompts.fileNames.push_back(dir.filePath("shot"));
  ASSERT_TRUE(w.area()->saveSnapshot());
  EXPECT_EQ(QImage(dir.filePath("shot.bmp")).size(), w.area()->size());
  EXPECT_EQ(prompts.shown.back().title, "Save snapshot as:");
  EXPECT_FALSE(w.area()->saveSnapshot());  // cancelled: nothing saved
}

TEST(BrainViewWindow, DrawsNeuronsReceptorsAndMuscleLabels) {
  UiContext ctx;
  org* o = test::addWiredCreature(ctx);
  ui::BrainViewWindow w(ctx, nullptr);
  w.resize(300, 240);
  w.show();
  w.showCreature(o);
  EXPECT_TRUE(w.showsCreature());
  EXPECT_EQ(w.neuronCount(), 2);
  test::RecordingArea rec(300, 240);
  w.view().paint(rec);
  for (const char* label : {"Rot", "Bend", "T", "G", "0", "1"}) EXPECT_TRUE(rec.hasText(label)) << label;
  EXPECT_EQ(rec.count('l', VC_RECEPTOR), 2);
  EXPECT_GT(rec.count('l', VC_CONNECTION), 0);
  EXPECT_GT(test::pixelsOf(w.area()->renderImage(), VC_NEURON), 100);

  // A double click on a neuron adds a probe that charts the neuron.
  int x, y, bw, bh;
  w.view().boxPixels(0, x, y, bw, bh);
  EXPECT_EQ(w.view().neuronAt(x + bw / 2, y + bh / 2), 0);
  EXPECT_TRUE(w.addProbe(0));
  EXPECT_FALSE(w.addProbe(7));
  o->getNeuro(0)->stan = 0.5;
  emit ctx.stepped();
  emit ctx.stepped();
  EXPECT_EQ(w.view().probe(0).chart.size(), 2u);
  EXPECT_DOUBLE_EQ(w.view().probe(0).chart.last(), 0.5);
}

TEST(BrainViewWindow, SaysWhenThereIsNoNetwork) {
  UiContext ctx;
  ui::BrainViewWindow w(ctx, nullptr);
  w.resize(200, 150);
  w.show();
  w.showGenotype(nullptr);
  test::RecordingArea rec(200, 150);
  w.view().show(nullptr);
  auto o = std::make_unique<org>(&ctx.sim().geneticsContext(), "");
  o->readFormat0("p:\np:1\nj:0,1\n");
  w.view().show(o.get());
  w.view().paint(rec);
  EXPECT_TRUE(rec.hasText("[No neural network]"));
  const QImage& image = w.area()->renderImage();
  EXPECT_LT(test::pixelsOf(image, VC_BACKGROUND), image.width() * image.height() - 20);  // the text
  o.reset();  // the view lets go of a body that is destroyed
  EXPECT_FALSE(w.showsCreature());
}

TEST(Views, LetGoOfACreatureThatDiesWhileShown) {
  UiContext ctx;
  org* o = test::addWiredCreature(ctx);
  ui::BodyViewWindow body(ctx, nullptr);
  ui::BrainViewWindow brain(ctx, nullptr);
  ui::WorldViewWindow world(ctx, nullptr);
  world.resize(200, 200);
  world.displaySettings().w3_ch1 = org_param().findId("energy") + 1;
  ctx.selectCreature(o);
  brain.addProbe(1);
  world.picture();
  EXPECT_EQ(body.view().creature(), o);
  ctx.sim().worldRules().corpsen = 0;  // the dead body is destroyed at once
  ctx.sim().killCreature(o);
  EXPECT_EQ(brain.view().creature(), nullptr);
  EXPECT_EQ(body.view().creature(), nullptr);
  brain.area()->renderImage();
  body.area()->renderImage();
  world.picture();
}

TEST(PhylogenyWindow, DrawsTheTreeOfAHistory) {
  // A root with two mutants, one of which has a mutant and a crossover child.
  const std::vector<GenoLink> history = {
      {1, "X", "XX", 0.3f, 0}, {2, "X", "XXX", 0.5f, 0}, {3, "XX", "X(X,X)", 0.2f, 0},
      {4, "XX", "XRX", 0.5f, 0}, {4, "XXX", "XLX", 0.5f, 0},
  };
  EvolStudy study;
  ASSERT_TRUE(study.Analyze(history));
  ui::PhylogenyWindow w(study, nullptr);
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
  ui::ScopedParamDialogRunner cancel([&](ui::ParamDialog& d) {
    title = d.windowTitle();
    return false;
  });
  ui::runPhylogenyAnalysis(nullptr, ctx);  // would block in the tree window if it went on
  EXPECT_EQ(title, "Phylogeny Analysis Parameters");
}

}  // namespace
}  // namespace vorlund

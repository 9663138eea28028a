// The main window driven as a user would, with the prompt service answering
// (and that service itself).
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "ui/body_view_window.h"
#include "ui/lists_window.h"
#include "ui/message_window.h"
#include "ui/qt_text.h"
#include "ui/status_texts.h"
#include "ui/window_layouts.h"
#include "ui/world_view_window.h"
#include "main_window_rig.h"
#include "ui_test_support.h"

using namespace vorlund;
using namespace vorlund::ui;
using test_support::exampleFile;

namespace {

void expectGeometry(QWidget* w, const LayoutRect& r, const char* what) {
  const QRect g = w->frameGeometry();
  EXPECT_EQ(g, QRect(r.x, r.y, std::max(1, r.w), std::max(1, r.h))) << what;
}

}  // namespace

TEST(PromptService, ScriptedServiceAnswersInOrderAndRestoresThePrevious) {
  PromptService* real = &prompts();
  {
    ScriptedPrompts script;
    script.answers = {PromptAnswer::Yes};
    script.fileNames = {"a.gen"};
    ScopedPromptService use(&script);
    EXPECT_EQ(prompts().question(nullptr, "T", "Q?", PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompts().question(nullptr, "T", "Q?", PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(prompts().openFileName(nullptr, "Open", "", ""), "a.gen");
    EXPECT_EQ(prompts().saveFileName(nullptr, "Save", "", ""), "");
    ASSERT_EQ(script.shown.size(), 4u);
    EXPECT_EQ(script.shown[0].text, "Q?");
  }
  EXPECT_EQ(&prompts(), real);
}

TEST(MainWindow, FreshStartCaptionStatusAndEnablement) {
  WindowRig rig;
  MainWindow& w = rig.make();
  EXPECT_EQ(w.windowTitle(), "Vorlund");
  EXPECT_EQ(w.statusText(0), "Status: stopped");
  EXPECT_EQ(w.statusText(1), "Steps: 0  (0 / sec.)");
  // The panels keep one size, so a long run's text must fit it from the start.
  int stepPanels = 0;
  for (const QLabel* panel : w.statusBar()->findChildren<QLabel*>()) {
    if (!panel->text().startsWith("Steps:")) continue;
    ++stepPanels;
    const QString late = toQt(stepsText(1'234'567'890, 1'234'567));
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(late), panel->contentsRect().width());
  }
  EXPECT_EQ(stepPanels, 1);
  EXPECT_EQ(w.videoText(), "Video: 0 FPS");
  EXPECT_EQ(w.genotypesList()->windowTitle(), "Genotypes: 0");
  EXPECT_EQ(w.individualsList()->windowTitle(), "Individuals in the world: 0");
  EXPECT_FALSE(w.action(MainAction::SaveGenotypes)->isEnabled());
  EXPECT_FALSE(w.action(MainAction::Stop)->isEnabled());
  EXPECT_TRUE(w.action(MainAction::Run)->isEnabled());
  EXPECT_EQ(w.refreshChoice()->currentText(), MainWindow::kWatchingChoice);
  EXPECT_TRUE(w.toggle(MainToggle::World)->isChecked());
  EXPECT_FALSE(w.toggle(MainToggle::Messages)->isChecked());
  // Closing a window releases its toggle.
  w.worldView()->close();
  EXPECT_FALSE(w.toggle(MainToggle::World)->isChecked());
  w.toggle(MainToggle::World)->click();
  EXPECT_TRUE(w.worldView()->isVisible());
  w.action(MainAction::Help)->trigger();
  ASSERT_EQ(rig.opened.size(), 1u);
  EXPECT_TRUE(rig.opened[0].endsWith("/doc/doc_index.html"));
}

TEST(MainWindow, OneStepWhileStoppedAndRunOnAnEmptyWorld) {
  WindowRig rig;
  MainWindow& w = rig.make();
  w.action(MainAction::OneStep)->trigger();
  EXPECT_EQ(w.sim().stepCount, 1);
  EXPECT_EQ(w.statusText(1).left(9), "Steps: 1 ");
  w.action(MainAction::Run)->trigger();
  // The built-in rules have no death: the box must not promise evolution without saying so.
  ASSERT_FALSE(rig.prompts.shown.empty());
  EXPECT_TRUE(rig.prompts.shown.back().text.startsWith(
      "There were no genotypes nor living organisms in the simulator.\n"
      "For evolution to occur, the world has been seeded with one simplest individual."));
  EXPECT_TRUE(rig.prompts.shown.back().text.contains("\"Death\" is off"));
  EXPECT_EQ(w.sim().creatures.size(), 1);
  EXPECT_EQ(w.statusText(0), "Status: RUNNING");
  EXPECT_TRUE(w.action(MainAction::Stop)->isEnabled());
  rig.waitForSteps(w.sim().stepCount + 20);
  // No stepping while a modal box is open.
  QDialog box(&w);
  box.setModal(true);
  box.show();
  const int frozen = w.sim().stepCount;
  rig.spin(60);
  EXPECT_EQ(w.sim().stepCount, frozen);
  box.hide();
  rig.waitForSteps(frozen + 5);
  // One step while running only stops.
  w.action(MainAction::OneStep)->trigger();
  rig.waitUntil([&] { return !w.running(); });
  const int stopped = w.sim().stepCount;
  EXPECT_FALSE(w.running());
  EXPECT_EQ(w.statusText(0), "Status: stopped");
  rig.spin(30);
  EXPECT_EQ(w.sim().stepCount, stopped);
}

TEST(MainWindow, MainShortcutsWorkFromTheOtherWindows) {
  WindowRig rig;
  MainWindow& w = rig.make();
  // The main window itself first: the keys reach its shortcuts at all, and then from each other window.
  const std::vector<QWidget*> others = {&w, w.genotypesList(), w.messageWindow(), w.worldView()};
  for (QWidget* other : others) {
    other->show();
    QApplication::setActiveWindow(other);  // shortcuts reach the active window's keys
    const int before = w.sim().stepCount;
    QTest::keyClick(other, Qt::Key_E, Qt::ControlModifier);  // One step
    EXPECT_EQ(w.sim().stepCount, before + 1) << other->windowTitle().toStdString();
  }
}

TEST(MainWindow, CriticalMessageStopsTheRun) {
  WindowRig rig;
  MainWindow& w = rig.make();
  w.action(MainAction::Run)->trigger();
  QTimer::singleShot(5, [] { logMessage("Test", "Step", "broken", LOG_CRITICAL); });
  rig.waitUntil([&] { return !w.running(); });
  EXPECT_FALSE(w.running());
  EXPECT_TRUE(test::shown(rig.prompts, "CRITICAL ERROR", ""));
  EXPECT_EQ(w.statusText(0), "Status: stopped");
}

TEST(MainWindow, CommandLineDemoLoadsInOrderAndRuns) {
  WindowRig rig;
  MainWindow& w = rig.make({"-demo", exampleFile("walkers.sim"), exampleFile("seeds.gen"), "notes.txt"});
  EXPECT_EQ(w.sim().pool.size(), 0);  // applied when first shown
  w.show();
  EXPECT_EQ(w.sim().pool.size(), 3);
  EXPECT_EQ(w.context().interface().int_demoon, 80);
  rig.waitUntil([&] { return w.running(); });
  EXPECT_TRUE(w.running());
  EXPECT_TRUE(w.windowTitle().endsWith(" - *** DEMO MODE ***"));
  EXPECT_TRUE(rig.log.has("Start", "Application initialized"));
  // A second show loads nothing again.
  w.hide();
  w.show();
  EXPECT_EQ(w.sim().pool.size(), 3);
}

TEST(MainWindow, CommandLineGoHelpAndLayouts) {
  WindowRig rig;
  MainWindow& w = rig.make({"-go", "-HELP"});
  w.show();
  rig.waitUntil([&] { return w.running(); });
  EXPECT_TRUE(test::shown(rig.prompts, "Information", QString::fromLatin1(kCommandLineHelp)));
  EXPECT_TRUE(w.running());
  EXPECT_EQ(w.refreshChoice()->currentText(), "1:1000");
  EXPECT_EQ(w.individualsList()->updateRateText(), "1:10000");
  for (MainToggle t : {MainToggle::World, MainToggle::Body, MainToggle::Brain, MainToggle::Genotypes,
                       MainToggle::Individuals, MainToggle::Messages})
    EXPECT_FALSE(w.toggle(t)->isChecked());
  EXPECT_FALSE(w.worldView()->isVisible());
  w.stop();

  const QSize screen = w.screen()->availableGeometry().size();
  w.layoutDefault();
  const WindowLayout d = defaultLayout(screen.width(), screen.height());
  expectGeometry(&w, d.main, "main");
  expectGeometry(w.genotypesList(), d.genotypes, "genotypes");
  expectGeometry(w.individualsList(), d.individuals, "individuals");
  expectGeometry(w.worldView(), d.world, "world");
  EXPECT_TRUE(w.individualsList()->followChecked());
  w.layoutDefaultBodyBrain();
  const WindowLayout bb = bodyBrainLayout(screen.width(), screen.height(), 0, 0);
  expectGeometry(w.worldView(), bb.world, "world bb");
  expectGeometry(w.bodyView(), bb.body, "body bb");
}

TEST(MainWindow, LoadAndSaveGenotypesAndSettingsWithFailures) {
  WindowRig rig;
  MainWindow& w = rig.make();
  rig.prompts.fileNames = {rig.exampleQ("seeds.gen")};
  w.loadGenotypes();
  EXPECT_EQ(w.sim().pool.size(), 3);
  EXPECT_EQ(w.windowTitle(), "Vorlund - seeds.gen");
  EXPECT_TRUE(w.action(MainAction::SaveGenotypes)->isEnabled());
  // An unreadable file: no question, pool and caption kept.
  rig.prompts.fileNames = {"missing.gen"};
  rig.prompts.answers = {PromptAnswer::Yes};
  w.loadGenotypes();
  EXPECT_EQ(w.sim().pool.size(), 3);
  EXPECT_EQ(w.windowTitle(), "Vorlund - seeds.gen");
  EXPECT_EQ(rig.prompts.answers.size(), 1u);
  // A text that holds no genotype is refused before the question, with the reason.
  rig.prompts.fileNames = {rig.exampleQ("walkers.sim")};
  w.loadGenotypes();
  EXPECT_EQ(w.sim().pool.size(), 3);
  EXPECT_EQ(w.windowTitle(), "Vorlund - seeds.gen");
  EXPECT_EQ(rig.prompts.answers.size(), 1u);
  EXPECT_TRUE(rig.prompts.shown.back().text.endsWith("holds no genotypes (no \"org:\" record): nothing was loaded."));
  EXPECT_TRUE(w.statusBar()->currentMessage().contains("holds no genotypes"));  // the latest error, named
  // Yes clears before loading.
  rig.prompts.fileNames = {rig.exampleQ("seeds.gen")};
  w.loadGenotypes();
  EXPECT_EQ(w.sim().pool.size(), 3);
  // A failed save says so and names no file.
  rig.prompts.fileNames = {"no/such/folder/out.gen"};
  w.saveGenotypes();
  EXPECT_TRUE(test::shown(rig.prompts, "Error", "Cannot save the genotypes to no/such/folder/out.gen"));
  EXPECT_EQ(w.windowTitle(), "Vorlund - seeds.gen");
  rig.prompts.fileNames = {"out"};
  w.saveGenotypes();
  EXPECT_EQ(w.windowTitle(), "Vorlund - out.gen");
  EXPECT_TRUE(std::filesystem::exists("out.gen"));
  // Settings: saved, changed, loaded back.
  rig.prompts.fileNames = {"mine"};
  w.saveSimParams();
  ASSERT_TRUE(std::filesystem::exists("mine.sim"));
  const long before = w.sim().evol.MaxCreated;
  w.sim().evol.MaxCreated = before + 1;
  rig.prompts.fileNames = {"mine.sim"};
  w.loadSimParams();
  EXPECT_EQ(w.sim().evol.MaxCreated, before);
  w.sim().evol.MaxCreated = before + 1;
  rig.prompts.fileNames = {rig.exampleQ("seeds.gen")};
  w.loadSimParams();
  EXPECT_EQ(w.sim().evol.MaxCreated, before + 1);
  EXPECT_TRUE(rig.prompts.shown.back().text.endsWith("holds no simulator parameters (no \"sim_params:\" record): nothing was changed."));
}

TEST(MainWindow, RefusedActionsSayWhy) {
  WindowRig rig;
  MainWindow& w = rig.make({"nosuchfile.gen", "nosuch.sim", exampleFile("seeds.gen")});
  w.show();
  ASSERT_FALSE(rig.prompts.shown.empty());
  EXPECT_EQ(rig.prompts.shown.back().text,
            "Not every file of the command line was loaded:\n\n"
            "Cannot read the file nosuchfile.gen: no such file.\nCannot read the file nosuch.sim: no such file.");
  EXPECT_EQ(w.sim().pool.size(), 3);
  // Simulate on an invalid genotype.
  w.sim().pool.add(std::make_unique<przodek>(&w.sim().geneticsContext(), "X(X,", "broken", ""));
  w.genotypesList()->selectRow(3);
  w.genotypesList()->findChild<QPushButton*>("Simulate")->click();
  EXPECT_TRUE(test::shown(rig.prompts, "Simulate", "Not simulated:\n'broken': the genotype is invalid (error near position 5)"));
  EXPECT_EQ(w.sim().creatures.size(), 0);
  // Phylogeny without history.
  w.action(MainAction::AnalyzePhylogeny)->trigger();
  EXPECT_TRUE(rig.prompts.shown.back().text.startsWith("There is no history of genetic operations to analyze."));
  // A desktop that cannot open the manual.
  rig.documentOpens = false;
  w.action(MainAction::Help)->trigger();
  EXPECT_EQ(rig.prompts.shown.back().title, "Error opening HTML file");
  EXPECT_TRUE(rig.prompts.shown.back().text.startsWith("HTML Association invalid\n\nThe manual: "));
}

TEST(MainWindow, CloseQueryAndSettingsFile) {
  WindowRig rig;
  {
    MainWindow& w = rig.make();
    w.show();
    w.action(MainAction::Run)->trigger();
    rig.prompts.answers = {PromptAnswer::No};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.running());
    w.context().interface().int_demoon = 50;
    w.context().interface().int_maxfps = 33;
    rig.prompts.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.running());
  }
  std::string text = test_support::ScratchDir::read("Default.par");
  EXPECT_NE(text.find("int_maxfps:33"), std::string::npos) << text;
  EXPECT_EQ(text.find("int_demoon"), std::string::npos);
  {
    MainWindow& w = rig.make();  // read back at start
    EXPECT_EQ(w.context().interface().int_maxfps, 33);
    w.context().interface().int_soe = 0;
    w.context().interface().int_maxfps = 10;
    rig.prompts.answers = {PromptAnswer::Yes};
    w.close();
  }
  EXPECT_EQ(test_support::ScratchDir::read("Default.par"), text);  // "Save on exit" off: nothing written
}

TEST(MainWindow, TerminationSignalsEndAsAnsweredExitWithoutTheQuestion) {
  for (const int sig : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(sig);
    WindowRig rig;
    MainWindow& w = rig.make();
    w.show();
    w.action(MainAction::Run)->trigger();
    w.context().interface().int_maxfps = 29;
    bool closed = false;
    QObject::connect(&w, &MainWindow::closed, [&closed] { closed = true; });
    std::raise(sig);
    rig.waitUntil([&] { return closed; });
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w.running());
    for (const auto& box : rig.prompts.shown) EXPECT_NE(box.text, "Exit Vorlund ?");
    EXPECT_NE(test_support::ScratchDir::read("Default.par").find("int_maxfps:29"), std::string::npos);
  }
}

// "Default.par" and the tables that join it, the message tree, the file
// associations and the seeded run.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "core/random.h"
#include "core/record.h"
#include "main_window_rig.h"
#include "ui/file_associations.h"
#include "ui/message_window.h"
#include "ui/settings_chain.h"
#include "view/camera.h"
#include "view/display_settings.h"

using namespace vorlund;
using namespace vorlund::ui;
using test_support::exampleFile;
namespace fs = std::filesystem;

namespace {

std::string slurp(const std::string& path) { return test_support::ScratchDir::read(path); }

}  // namespace

TEST(SettingsChain, KeepsItsOrderRoundTripsAndWritesAtomically) {
  WindowRig rig;  // for the scratch folder and the captured messages
  InterfaceSettings a;
  InterfaceParams head(&a);
  Camera camera;
  param& x1 = camera.parameters();
  NeuronDisplayFields neuronFields;
  NeuronDisplayParams x2(&neuronFields);
  SettingsChain chain(&head);
  chain.join(ChainSlot::PovRay, &x2);  // joined out of order
  chain.join(ChainSlot::Camera, &x1);
  EXPECT_EQ(head.next(), &x1);
  EXPECT_EQ(x1.next(), &x2);
  a.int_maxfps = 40;
  camera.settings.ka_zoom = 1.75;
  ASSERT_TRUE(chain.write("Default.par"));
  a.int_maxfps = 0;
  camera.settings.ka_zoom = 1;
  ASSERT_TRUE(chain.read("Default.par"));
  EXPECT_EQ(a.int_maxfps, 40);
  EXPECT_EQ(camera.settings.ka_zoom, 1.75);
  chain.leave(ChainSlot::Camera);
  EXPECT_EQ(head.next(), &x2);

  // A failed write keeps the previous file and says so.
  const std::string before = slurp("Default.par");
  fs::create_directory("Default.par.tmp" + std::to_string(::getpid()));
  a.int_maxfps = 7;
  EXPECT_FALSE(chain.write("Default.par"));
  EXPECT_EQ(slurp("Default.par"), before);
  EXPECT_EQ(rig.log.entries.back().level, LOG_WARNING);
  // A settings "file" that is a folder is not read.
  fs::create_directory("folder.par");
  EXPECT_FALSE(chain.read("folder.par"));
  EXPECT_EQ(a.int_maxfps, 7);
}

TEST(MessageWindow, SharedNodesRaisedMarksAndCollapsing) {
  WindowRig rig;
  MainWindow& w = rig.make();
  MessageWindow& m = *w.messageWindow();
  QTreeWidget& t = *m.tree();
  t.clear();
  m.add("MainProgram", "Start", "one", 0);
  m.add("MainProgram", "Start", "two", 0);
  ASSERT_EQ(t.topLevelItemCount(), 1);
  QTreeWidgetItem* source = t.topLevelItem(0);
  ASSERT_EQ(source->childCount(), 1);
  EXPECT_EQ(source->child(0)->childCount(), 2);
  EXPECT_EQ(MessageWindow::markLevel(source), -1);  // plain messages mark only their leaves
  m.add("MainProgram", "Start", "careful", LOG_WARNING);
  EXPECT_EQ(MessageWindow::markLevel(source), LOG_WARNING);
  EXPECT_EQ(MessageWindow::markLevel(source->child(0)->child(2)), LOG_WARNING);
  m.add("MainProgram", "Load", "other function", 0);
  EXPECT_EQ(source->childCount(), 2);
  EXPECT_FALSE(source->child(0)->isExpanded());  // only the newest branch is open
  EXPECT_TRUE(source->child(1)->isExpanded());
  m.add("Simulator", "Load", "other source", LOG_ERROR);
  ASSERT_EQ(t.topLevelItemCount(), 2);
  EXPECT_FALSE(source->isExpanded());
  EXPECT_EQ(MessageWindow::markLevel(t.topLevelItem(1)), LOG_ERROR);
  // Closing the window only hides it and releases the toggle.
  w.toggle(MainToggle::Messages)->click();
  EXPECT_TRUE(m.isVisible());
  m.close();
  EXPECT_FALSE(w.toggle(MainToggle::Messages)->isChecked());
  // Closed, it counts what is new for the button; a flood of one line stays one leaf.
  for (int i = 0; i < 3; ++i) m.add("Simulator", "creator", "GM.Validate #1 failed!", LOG_WARNING);
  QTreeWidgetItem* flood = t.topLevelItem(1)->child(1);
  ASSERT_EQ(flood->childCount(), 1);
  EXPECT_EQ(flood->child(0)->text(0), "GM.Validate #1 failed! (repeated 3 times)");
  EXPECT_EQ(w.toggle(MainToggle::Messages)->text(), "Messages (3)");
  w.toggle(MainToggle::Messages)->click();
  EXPECT_EQ(w.toggle(MainToggle::Messages)->text(), "Messages");
}

TEST(PovSoundWindow, ExporterJoinsTheSettingsChainAndSoundsHearTheWorld) {
  WindowRig rig;
  MainWindow& w = rig.make();
  param& chain = w.context().settingsChain().head();
  ASSERT_GE(chain.findId("pov_skip"), 0);
  EXPECT_EQ(chain.findId("pov_act") + 1, chain.findId("pov_stick"));
  w.povExporter().vars.pov_act = 1;
  std::ostringstream written;
  writeRecord(chain, written);
  EXPECT_EQ(written.str().find("pov_act"), std::string::npos);
  EXPECT_NE(written.str().find("pov_skip:3"), std::string::npos);
  w.povExporter().vars.pov_act = 0;

  org ball(&w.sim().geneticsContext(), "*");
  ball.typ = ORG_FOOD;
  for (const OrgHook& h : w.sim().startedHooks) h.fn(h.arg, &ball);
  EXPECT_EQ(rig.audio.calls, std::vector<std::string>{"play 5 0"});
}

namespace {

struct XdgRig {
  QTemporaryDir dir;
  XdgFolders folders{dir.path() + "/data", dir.path() + "/config", {dir.path() + "/system"}};
  std::vector<QString> ran;
  FileAssociations assoc{folders, [this](const QString& program, const QStringList& args) {
                           ran.push_back(program + " " + args.join(' '));
                           return 0;
                         }};
  void systemGlob(const char* line) {
    fs::create_directories((dir.path() + "/system/mime").toStdString());
    std::ofstream((dir.path() + "/system/mime/globs2").toStdString(), std::ios::app) << line << "\n";
  }
  std::string file(const char* rel) { return slurp((dir.path() + "/data/" + rel).toStdString()); }
};

}  // namespace

TEST(FileAssociations, FreshTakenOverAndLeftAloneExtensions) {
  {
    XdgRig r;  // neither extension known: both taken, the option switched on
    int keep = 0;
    r.assoc.apply(keep, "/opt/my apps/vorlund");
    EXPECT_EQ(keep, 1);
    const std::string pkg = r.file("mime/packages/vorlund.xml");
    EXPECT_NE(pkg.find("<glob pattern=\"*.gen\" weight=\"80\"/>"), std::string::npos);
    EXPECT_NE(pkg.find("<glob pattern=\"*.sim\" weight=\"80\"/>"), std::string::npos);
    EXPECT_NE(r.file("applications/vorlund.desktop").find("Exec=\"/opt/my apps/vorlund\" %f\n"), std::string::npos);
    EXPECT_EQ(r.ran.size(), 4u);  // database, desktop entries, two defaults
    r.ran.clear();
    r.assoc.apply(keep, "/opt/my apps/vorlund");
    EXPECT_EQ(r.ran.size(), 2u);  // unchanged files are not rewritten
  }
  {
    XdgRig r;  // ".gen" belongs to another type: left alone, ".sim" taken
    r.systemGlob("50:application/x-other-rom:*.gen");
    int keep = 0;
    r.assoc.apply(keep, "/usr/bin/vorlund");
    EXPECT_EQ(keep, 0);
    const std::string pkg = r.file("mime/packages/vorlund.xml");
    EXPECT_NE(pkg.find("<glob pattern=\"*.gen\" weight=\"20\"/>"), std::string::npos);
    EXPECT_NE(pkg.find("<glob pattern=\"*.sim\" weight=\"80\"/>"), std::string::npos);
    keep = 1;  // "Keep extensions associated": taken over
    r.assoc.apply(keep, "/usr/bin/vorlund");
    EXPECT_NE(r.file("mime/packages/vorlund.xml").find("<glob pattern=\"*.gen\" weight=\"80\"/>"), std::string::npos);
  }
  EXPECT_EQ(FileAssociations::quoteExecArgument("/a \"b\"/$c"), "\"/a \\\\\"b\\\\\"/\\\\$c\"");
}

TEST(MainWindowDeterminism, SameSeedEvolvesAsTheCommandLineRunner) {
  WindowRig rig;
  constexpr int kSteps = 1500;
  seedRandom(11);
  MainWindow& w = rig.make({exampleFile("walkers.sim"), exampleFile("seeds.gen")});
  w.context().interface().int_threads = 2;  // the terminal runner steps on one thread
  w.show();
  // Half the run with the world on the screen, step by step, and half
  // without it, in stretches of steps the window leaves alone.
  ASSERT_TRUE(w.toggle(MainToggle::World)->isChecked());
  w.runSteps(kSteps / 2);
  w.toggle(MainToggle::World)->click();
  ASSERT_FALSE(w.toggle(MainToggle::World)->isChecked());
  w.runSteps(kSteps - kSteps / 2);
  ASSERT_EQ(w.sim().stepCount, kSteps);
  EXPECT_EQ(w.sim().stepThreads(), 2);
  ASSERT_EQ(w.sim().save("window.gen", FILE_GENOTYPES), 0);
  rig.window.reset();

  const test_support::ToolRun cli = test_support::runTool({"run", "--quiet", "--seed", "11", "--steps",
                                                           std::to_string(kSteps), exampleFile("walkers.sim"),
                                                           exampleFile("seeds.gen"), "--save", "cli.gen"});
  ASSERT_EQ(cli.code, 0) << cli.err;
  const auto body = [](const std::string& text) { return text.substr(text.find('\n') + 1); };
  EXPECT_EQ(body(slurp("window.gen")), body(slurp("cli.gen")));
}

// Plain logic of the desktop program: pacing, throttle, demo timetable,
// status texts, layouts and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "support/scratch.h"
#include "ui/command_line.h"
#include "ui/demo_scheduler.h"
#include "ui/message_tally.h"
#include "ui/run_pacing.h"
#include "ui/status_texts.h"
#include "ui/window_layouts.h"

using namespace vorlund::ui;

TEST(RunPacing, DigitGroupsCountFromTheRight) {
  const std::map<long, std::string> cases = {{0, "0"},         {999, "999"},           {1000, "1 000"},
                                             {1234567, "1 234 567"}, {-12345, "-12 345"}, {100000, "100 000"}};
  for (const auto& [n, text] : cases) EXPECT_EQ(groupDigits(n), text) << n;
  EXPECT_EQ(stepsText(1234567, 85), "Steps: 1 234 567  (85 / sec.)");
}

TEST(RunPacing, RefreshChoicesGiveRatiosAndNeverZero) {
  const std::map<std::string, int> redraw = {{"8x slow-down", -8}, {"2x slow-down", -2}, {"Every frame", 1},
                                             {"1:4", 4},           {"1:1000", 1000},     {"1:0", 1},
                                             {"1:", 1},            {"", 1},              {"0x slow-down", 1}};
  for (const auto& [text, d] : redraw) EXPECT_EQ(parseRedrawChoice(text), d) << text;
  const std::map<std::string, long> update = {{"Ever", 1}, {"1:10", 10}, {"1:10000", 10000}, {"1:0", 1}, {"junk", 1}};
  for (const auto& [text, u] : update) EXPECT_EQ(parseUpdateChoice(text), u) << text;
}

TEST(RunPacing, WatchingPacesKeepStepsToTheClockWithoutCatchingUp) {
  const std::map<std::string, double> watch = {
      {"Watch: 1x speed", 1}, {"Watch: 4x speed", 4}, {"Watch: x speed", 0}, {"1:4", 0}, {"Every frame", 0}};
  for (const auto& [text, n] : watch) EXPECT_EQ(parseWatchChoice(text), n) << text;
  StepPacer p;
  p.start(1000, 40);  // a step every 25 ms
  EXPECT_EQ(p.due(1020), 0);
  EXPECT_NEAR(p.msToNext(1020), 5, 1e-9);
  EXPECT_EQ(p.due(1100), 4);
  p.stepped(4);
  EXPECT_EQ(p.due(1110), 0);
  EXPECT_NEAR(p.msToNext(1110), 15, 1e-9);
  // A stall of two seconds owes 80 steps; only the backlog's 4 (+1) run, and the pace goes on from there.
  EXPECT_EQ(p.due(3100), 5);
  p.stepped(5);
  EXPECT_EQ(p.due(3110), 0);
  EXPECT_EQ(p.due(3150), 2);
  p.start(0, 0);  // no watching pace: nothing is due by the clock
  EXPECT_EQ(p.due(1e6), 0);
}

TEST(RunPacing, FastBatchesLookAtTheClockEveryFewStepsSlowOnesEveryStep) {
  BatchChecks checks;
  EXPECT_TRUE(checks.due(1));
  checks.batchDone(100 * BatchChecks::kChecksPerBatch);  // a fast world: many steps in one batch
  EXPECT_FALSE(checks.due(99));
  EXPECT_TRUE(checks.due(100));
  EXPECT_EQ(checks.stepsToNextLook(0), 100);
  EXPECT_EQ(checks.stepsToNextLook(99), 1);
  EXPECT_EQ(checks.stepsToNextLook(100), 100);
  checks.batchDone(3);  // then slow steps: every one is looked after again
  EXPECT_TRUE(checks.due(1));
  EXPECT_EQ(checks.stepsToNextLook(5), 1);
}

TEST(RunPacing, ListsLookOnUthStepsAboutAThousandTimesASecond) {
  struct Case {
    long step, u, stepsPerSecond, next;
  };
  const Case cases[] = {
      {0, 1, 0, 1},              // pace not known yet: the next step
      {7, 5, 0, 10},             // the next U-th step, not U steps on
      {10, 5, 0, 15},
      {1000, 1, 400000, 1400},   // a fast world: 400 steps to a look
      {1000, 3, 400000, 1401},   // and on a U-th step still
      {1000, 1000, 400000, 2000},  // U itself is sparser than the thinning
      {1000, 1, 1500, 1001},
  };
  for (const Case& c : cases)
    EXPECT_EQ(nextListLook(c.step, c.u, c.stepsPerSecond), c.next) << c.step << " " << c.u << " " << c.stepsPerSecond;
}

TEST(RunPacing, FramesPerStepFollowTheRatio) {
  EXPECT_EQ(framesForStep(-8, 7), 8);  // a slow-down draws every step several times
  EXPECT_EQ(framesForStep(1, 7), 1);
  EXPECT_EQ(framesForStep(4, 8), 1);
  EXPECT_EQ(framesForStep(4, 9), 0);
}

TEST(RunPacing, ThrottleGrowsWhileTooFastShrinksToOneAndResetsWithoutLimit) {
  FrameRateMeter m(0xFFFFFF00u);  // the tick clock wraps during this test
  for (int i = 0; i < 60; ++i) m.frameDrawn();
  EXPECT_FALSE(m.measure(0xFFFFFF00u + 500, 25));  // not yet more than 500 ms
  ASSERT_TRUE(m.measure(0xFFFFFF00u + 600, 25));
  EXPECT_DOUBLE_EQ(m.rate(), 100.0);
  EXPECT_DOUBLE_EQ(m.throttle(), 1.1);
  EXPECT_EQ(m.sleepMs(25), 1);
  EXPECT_EQ(m.sleepMs(0), 0);
  for (int i = 0; i < 60; ++i) m.frameDrawn();
  ASSERT_TRUE(m.measure(0xFFFFFF00u + 1200, 25));
  EXPECT_NEAR(m.throttle(), 1.21, 1e-12);
  ASSERT_TRUE(m.measure(0xFFFFFF00u + 1800, 25));  // no frames: too slow now
  EXPECT_NEAR(m.throttle(), 1.1, 1e-12);
  ASSERT_TRUE(m.measure(0xFFFFFF00u + 2400, 25));
  ASSERT_TRUE(m.measure(0xFFFFFF00u + 3000, 25));
  EXPECT_DOUBLE_EQ(m.throttle(), 1.0);  // never below 1
  for (int i = 0; i < 60; ++i) m.frameDrawn();
  m.measure(0xFFFFFF00u + 3600, 25);
  ASSERT_GT(m.throttle(), 1.0);
  m.measure(0xFFFFFF00u + 4200, 0);
  EXPECT_DOUBLE_EQ(m.throttle(), 1.0);
}

// Captions and the run status are checked on the main window itself.
TEST(StatusTexts, VideoMarksTheThrottleAndTheSlowDown) {
  EXPECT_EQ(videoText(24.9, 1.0, 0, true), "Video: 24 FPS");
  EXPECT_EQ(videoText(24.9, 1.3, 2, true), "Video: 24 FPS \u00ab (x3)");
  EXPECT_EQ(videoText(24.9, 1.3, 0, false), "Video: 24 FPS \u00bb");
}

TEST(WindowLayouts, DefaultAndBodyBrainFromTheScreen) {
  const WindowLayout l = defaultLayout(1200, 960);
  EXPECT_EQ(l.main, (LayoutRect{0, 0, 400, 400}));
  EXPECT_EQ(l.genotypes, (LayoutRect{0, 400, 1200, 320}));
  EXPECT_EQ(l.individuals, (LayoutRect{0, 720, 1200, 240}));
  EXPECT_EQ(l.world, (LayoutRect{400, 0, 600, 400}));
  EXPECT_EQ(l.body, (LayoutRect{1000, 0, 200, 200}));
  EXPECT_EQ(l.brain, (LayoutRect{1000, 200, 200, 200}));
  EXPECT_EQ(l.messages, (LayoutRect{600, 320, 600, 640}));
  const WindowLayout bb = bodyBrainLayout(1200, 960, 10, 30);
  EXPECT_EQ(bb.brain, (LayoutRect{1000, 0, 200, 400}));
  EXPECT_EQ(bb.body, (LayoutRect{620, 0, 380, 400}));  // inside 370 x 370
  EXPECT_EQ(bb.world, (LayoutRect{400, 0, 220, 400}));
  // A tall narrow screen would give the world view a negative width.
  const WindowLayout odd = bodyBrainLayout(300, 2000, 10, 30);
  for (const LayoutRect& r : {odd.main, odd.world, odd.body, odd.brain, odd.messages}) {
    EXPECT_GE(r.w, 0);
    EXPECT_GE(r.h, 0);
  }
}

TEST(CommandLine, OptionsFilesInOrderSeedAndIgnoredArguments) {
  const CommandLine cl = parseCommandLine({"-DEMO", "a.SIM", "notes.txt", "--seed", "42", "b.gen", "-Go", "/?"});
  EXPECT_TRUE(cl.demo);
  EXPECT_TRUE(cl.go);
  EXPECT_TRUE(cl.help);
  ASSERT_EQ(cl.files.size(), 2u);
  EXPECT_EQ(cl.files[0].path, "a.SIM");
  EXPECT_TRUE(cl.files[0].settings);
  EXPECT_FALSE(cl.files[1].settings);
  EXPECT_EQ(cl.seed, 42u);
  EXPECT_EQ(cl.text, "-DEMO a.SIM notes.txt b.gen -Go /?");
  EXPECT_FALSE(parseCommandLine({"--seed=x"}).seed.has_value());
  EXPECT_FALSE(parseCommandLine({"x.gen.bak", "-gox"}).go);
  EXPECT_TRUE(parseCommandLine({"x.gen.bak"}).files.empty());
  for (const char* ask : {"--help", "-H"}) {
    const CommandLine usage = parseCommandLine({ask});
    EXPECT_TRUE(usage.usage && !usage.help) << ask;
  }
}

TEST(MessageTally, RepeatsCountOnlyWhenEveryPartMatchesAndNewsOnlyWhileUnwatched) {
  MessageTally t;
  EXPECT_EQ(t.add("Simulator", "creator", "GM.Validate #1 failed!", 0, false), 1);
  EXPECT_EQ(t.add("Simulator", "creator", "GM.Validate #1 failed!", 0, false), 2);
  EXPECT_EQ(t.add("Simulator", "creator", "GM.Validate #1 failed!", 1, false), 1);  // another level
  EXPECT_EQ(t.add("Simulator", "Load", "GM.Validate #1 failed!", 1, false), 1);     // another function
  EXPECT_EQ(t.add("Simulator", "Load", "GM.Validate #1 failed!", 2, true), 1);
  EXPECT_EQ(t.unseen(), 2);  // plain and watched messages are no news
  EXPECT_EQ(t.worstUnseen(), 1);
  t.seen();
  EXPECT_EQ(t.unseen(), 0);
  EXPECT_EQ(MessageTally::leafText("x", 1), "x");
  EXPECT_EQ(MessageTally::leafText("x", 464), "x (repeated 464 times)");
}

TEST(CommandLine, HelpNamesTheRealProgramOptionsAndShippedExamples) {
  const std::string help = kCommandLineHelp;
  EXPECT_EQ(help.find(".exe"), std::string::npos);
  for (const char* part : {"   vorlund   [-go", "--seed N", "--help"}) EXPECT_NE(help.find(part), std::string::npos) << part;
  for (std::size_t at = help.find("examples/"); at != std::string::npos; at = help.find("examples/", at + 1)) {
    const std::string name = help.substr(at + 9, help.find_first_of(" \n", at) - at - 9);
    EXPECT_TRUE(std::filesystem::is_regular_file(vorlund::test_support::exampleFile(name.c_str()))) << name;
  }
}

namespace {

// A stage that records what the scheduler did to it.
struct FakeStage : DemoStage {
  int rows = 3;
  bool measuring = true;
  int neurons = 4;
  std::vector<std::string> log;
  int rowCount() override { return rows; }
  bool rowMeasuring(int) override { return measuring; }
  void newCameraMotion() override { log.push_back("motion"); }
  void keepCameraAboveGround() override {}
  void clearSelection() override { log.push_back("clear"); }
  void selectRow(int row) override { log.push_back("row" + std::to_string(row)); }
  int neuronCount() override { return neurons; }
  void selectNeuron(int i) override { log.push_back("neuron" + std::to_string(i)); }
  void checkFollow() override { log.push_back("follow"); }
  void showWorld() override { log.push_back("world"); }
  bool empty = false;
  bool selectionEmpty() override { return empty; }
};

struct DemoRig {
  long now = 1000;
  int next = 0;  // the fake random numbers count up
  DemoScheduler demo{[this] { return now; }, [this] { return next++; }};
  FakeStage stage;
};

}  // namespace

TEST(DemoScheduler, ShowingsWithinTheBudgetThenPauseUntilTheNextPeriod) {
  DemoRig r;
  DemoSettings s;
  s.demoOn = 50;  // budget 10 s of every 20 s
  s.timeBase = 20;
  s.maxCreated = 2;  // showings of 10 / 2 = 5 s
  EXPECT_FALSE(r.demo.tick(s, r.stage));
  EXPECT_EQ(r.stage.log, (std::vector<std::string>{"motion", "clear", "row0", "neuron3", "follow", "world"}));
  r.now += 3;
  r.stage.log.clear();
  EXPECT_FALSE(r.demo.tick(s, r.stage));  // the showing lasts
  EXPECT_TRUE(r.stage.log.empty());
  r.stage.empty = true;  // its creature died: another one takes the rest of the showing
  r.demo.tick(s, r.stage);
  EXPECT_EQ(r.stage.log, (std::vector<std::string>{"row1", "follow"}));
  r.stage.empty = false;
  r.now += 1;
  r.stage.log.clear();
  r.now += 1;
  EXPECT_FALSE(r.demo.tick(s, r.stage));  // ends, the second showing starts at once
  EXPECT_FALSE(r.stage.log.empty());
  r.now += 5;
  EXPECT_TRUE(r.demo.tick(s, r.stage));  // budget spent: pause
  EXPECT_TRUE(r.demo.paused());
  r.now += 11;
  EXPECT_FALSE(r.demo.tick(s, r.stage));  // a new period, a new showing
  EXPECT_FALSE(r.demo.paused());
}

TEST(DemoScheduler, ZeroCreaturesAllowedHalvedWaitingShowingsAndAlwaysOn) {
  DemoRig r;
  DemoSettings s;
  s.demoOn = 100;
  s.timeBase = 10;
  s.maxCreated = 0;  // counted as one
  r.stage.measuring = false;
  EXPECT_FALSE(r.demo.tick(s, r.stage));  // 10 s for one creature, halved while it waits: 5
  r.now += 4;
  r.stage.log.clear();
  r.demo.tick(s, r.stage);
  EXPECT_TRUE(r.stage.log.empty());
  r.now += 1;
  EXPECT_FALSE(r.demo.tick(s, r.stage));  // at 100 % there is never a pause
  EXPECT_FALSE(r.stage.log.empty());
  r.stage.rows = 0;
  r.now += 100;
  EXPECT_FALSE(r.demo.tick(s, r.stage));
}

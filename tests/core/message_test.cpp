// The process-wide services: the message log with its presenters and alerts,
// and the random generator of the evolution.
#include "core/message.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <vector>

#include "core/random.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

// Sends the log to a file in a scratch folder and restores the sink afterwards.
class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPath_ = logFilePath();
    savedStderr_ = stderrLevel();
    setLogFilePath(log_);
    setStderrLevel(-1);
    setRunFlag(true);
  }
  void TearDown() override {
    setLogFilePath(savedPath_);
    setStderrLevel(savedStderr_);
    setAlertHandler(nullptr);
    setCriticalHandler(nullptr);
    setRunFlag(true);
  }
  std::string logText() const { return test_support::ScratchDir::read(log_); }
  test_support::ScratchDir dir_;
  const std::string log_ = dir_.file("messages.out");
  std::string savedPath_;
  int savedStderr_ = 0;
};

TEST_F(MessageTest, LinesCarryLevelPrefixes) {
  logMessage("Simulator", "Save", "Error while saving", LOG_WARNING);
  logMessage("Simulator", "Load", "Settings loaded", LOG_PLAIN);
  logMessage("GenMan", "Mutate", "bad", LOG_ERROR);
  logMessage("M", "F", "odd level", 7);
  const std::string big(25000, 'x');  // long messages are written whole
  logMessage("m", "f", big, LOG_PLAIN);
  EXPECT_EQ(logText(),
            "  Warning: Simulator::Save - Error while saving\n"
            "Simulator::Load - Settings loaded\n"
            "    Error: GenMan::Mutate - bad\n"
            "M::F - odd level\n"
            "m::f - " + big + "\n");
}

TEST_F(MessageTest, WarningsAndWorseAlertOnceEachPlainDoesNot) {
  std::vector<int> alerts;
  setAlertHandler([&](int level) { alerts.push_back(level); });
  logMessage("a", "b", "plain", LOG_PLAIN);
  logMessage("a", "b", "warn", LOG_WARNING);
  logMessage("a", "b", "err", LOG_ERROR);
  logMessage("a", "b", "crit", LOG_CRITICAL);
  EXPECT_EQ(alerts, (std::vector<int>{1, 2, 3}));
}

TEST_F(MessageTest, CriticalStopsRunAndOnlyBoxMentionsSaving) {
  std::string box;
  setCriticalHandler([&](const std::string& text) { box = text; });
  logMessage("debug", "go", "bad mass", LOG_CRITICAL);
  EXPECT_FALSE(runFlag());
  EXPECT_EQ(logText(), "        *** CRITICAL ERROR *** debug::go - bad mass\n");
  EXPECT_EQ(box, std::string("        *** CRITICAL ERROR *** debug::go - bad mass") + kCriticalSuffix);
}

TEST_F(MessageTest, PresentersSeeEveryMessageUntilRemovedEvenWhenTheLogIsUnwritable) {
  std::vector<std::string> seen;
  const int id = addMessagePresenter([&](const LogEntry& e) { seen.push_back(e.module + "/" + e.message); });
  logMessage("one", "f", "first", LOG_PLAIN);
  removeMessagePresenter(id);
  logMessage("two", "f", "second", LOG_PLAIN);
  EXPECT_EQ(seen, (std::vector<std::string>{"one/first"}));

  // An unwritable log still reaches them.
  setLogFilePath("/nonexistent-folder/messages.out");
  int count = 0;
  const int second = addMessagePresenter([&](const LogEntry&) { ++count; });
  logMessage("m", "f", "x", LOG_ERROR);
  removeMessagePresenter(second);
  EXPECT_EQ(count, 1);
  setLogFilePath(log_);
}

TEST_F(MessageTest, RemoveLogFileClearsEarlierRun) {
  logMessage("m", "f", "old run", LOG_PLAIN);
  removeLogFile();
  EXPECT_FALSE(std::ifstream(log_).good());
}

TEST(Random, RangesAndResolution) {
  seedRandom(42);
  int lo15 = R15_MAX, hi15 = 0;
  std::set<int> distinct;
  int32_t hi31 = 0;
  for (int i = 0; i < 200000; ++i) {
    const int a = r15();
    lo15 = std::min(lo15, a);
    hi15 = std::max(hi15, a);
    distinct.insert(a);
    const int32_t b = r31();
    ASSERT_GE(b, 0);
    hi31 = std::max(hi31, b);
    const double u = rndUnit();
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
  EXPECT_EQ(lo15, 0);
  EXPECT_EQ(hi15, R15_MAX);
  EXPECT_GT(distinct.size(), 32000u);
  EXPECT_GT(hi31, 1 << 30);  // the high bit of 31 is used
  EXPECT_EQ(rndBelow(0), 0);
}

TEST(Random, SameSeedRepeatsDifferentSeedsDiffer) {
  seedRandom(7);
  const int a1 = r15(), a2 = r31();
  seedRandom(7);
  EXPECT_EQ(r15(), a1);
  EXPECT_EQ(r31(), a2);
  seedRandom(8);
  const int b1 = r15(), b2 = r31();
  EXPECT_FALSE(a1 == b1 && a2 == b2);
}

}  // namespace
}  // namespace vorlund

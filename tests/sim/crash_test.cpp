// A run killed at any moment leaves a checkpoint and a pool that load, and
// resuming from the checkpoint ends with the pool of a run never killed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "genepool/pool_files.h"
#include "sim/checkpoint.h"
#include "sim/symulator.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

using test_support::exampleFile;
using test_support::ScratchRun;
using test_support::withoutFirstLine;
namespace fs = std::filesystem;

constexpr int kKills = 30;
constexpr const char* kSteps = "200";
constexpr const char* kSaveEvery = "25";  // both the pool and the checkpoint

// Starts the tool in a child process of this one, its output discarded.
pid_t startRun(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    ::_exit(test_support::runTool(args).code);
  }
  return pid;
}

TEST(KilledRun, LeavesFilesThatLoadAndResumesToThePoolOfARunNeverKilled) {
  ScratchRun dir;
  const std::vector<std::string> saving = {"run",    "--quiet",  "--steps",      kSteps,           "--save",
                                           "p.gen",  "--save-every", kSaveEvery, "--checkpoint", "c.ckpt",
                                           "--checkpoint-every", kSaveEvery};
  std::vector<std::string> fresh = saving;
  fresh.insert(fresh.end(), {"--seed", "9", exampleFile("walkers.sim"), exampleFile("seeds.gen")});
  std::vector<std::string> resume = saving;
  resume.insert(resume.end(), {"--resume", "c.ckpt"});

  // The run never killed; its length spreads the kills over a run.
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(test_support::runTool(fresh).code, 0);
  const auto runLength = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
  const std::string expected = withoutFirstLine("p.gen");

  std::mt19937 random(28);
  // The moments to kill at lie within the run's length; a run that ended before
  // its kill (a loaded machine makes the measured length a poor guess) halves it.
  long window = runLength.count();
  int kills = 0;
  for (int attempt = 0; attempt < 3 * kKills && kills < kKills; ++attempt) {
    SCOPED_TRACE(attempt);
    fs::remove("p.gen");
    fs::remove("c.ckpt");
    const pid_t child = startRun(fresh);
    ASSERT_GT(child, 0);
    // Killed after its first checkpoint, so that every kill leaves files to look at.
    int status = 0;
    bool ended = false;
    while (!fs::exists("c.ckpt") && !(ended = ::waitpid(child, &status, WNOHANG) == child))
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    if (!ended) {
      std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<long>(0, window)(random)));
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
    }
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
      ++kills;
    else
      window = std::max(window / 2, 1L);

    symulator atKill;
    int64_t steps = 0;
    std::string error;
    ASSERT_TRUE(loadCheckpoint(atKill, "c.ckpt", steps, error)) << error;
    // The pool is whole: every record it holds is read, the last one to its end.
    const std::string poolText = test_support::ScratchDir::read("p.gen");
    int records = 0;
    for (std::size_t at = poolText.find("\norg:"); at != std::string::npos; at = poolText.find("\norg:", at + 1))
      ++records;
    symulator pool;
    pool.load("p.gen", FILE_GENOTYPES);
    EXPECT_GT(records, 0);
    EXPECT_EQ(pool.pool.size(), records);
    EXPECT_TRUE(poolText.ends_with("\n\n"));
    ASSERT_EQ(test_support::runTool(resume).code, 0);
    ASSERT_EQ(withoutFirstLine("p.gen"), expected);
  }
  EXPECT_EQ(kills, kKills);
}

}  // namespace
}  // namespace vorlund

// Replacing files: the order of syncs and renames, and what a failure at each step leaves.
#include "core/durable_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "support/scratch.h"

namespace vorlund {
namespace {

using test_support::ScratchDir;

struct StepLog {
  StepLog() {
    setDurableStepHook([this](DurableStep s, const std::string&) {
      steps.push_back(s);
      return s != failAt;
    });
  }
  ~StepLog() { setDurableStepHook({}); }
  std::vector<DurableStep> steps;
  DurableStep failAt = static_cast<DurableStep>(-1);
};

TEST(DurableFile, SyncsTheFileBeforeTheRenameAndTheFolderAfterIt) {
  using S = DurableStep;
  // Syncing or not, and the steps taken.
  const std::pair<bool, std::vector<S>> cases[] = {
      {true, {S::Open, S::Write, S::SyncFile, S::Close, S::KeepOld, S::Rename, S::SyncFolder}},
      {false, {S::Open, S::Write, S::Close, S::KeepOld, S::Rename}},
  };
  for (const auto& [sync, steps] : cases) {
    ScratchDir dir;
    const std::string path = dir.write("a.gen", "old");
    StepLog log;
    std::string error;
    ASSERT_TRUE(replaceFileDurably(path, "new", error, {.temp = "", .keepOldAs = path + "_old", .sync = sync})) << error;
    EXPECT_EQ(log.steps, steps);
    EXPECT_EQ(ScratchDir::read(path), "new");
    EXPECT_EQ(ScratchDir::read(path + "_old"), "old");
    EXPECT_FALSE(std::filesystem::exists(path + ".saving~"));
  }
}

TEST(DurableFile, AFailureAtEachStepFailsTheSaveAndLeavesNoTemporaryFile) {
  for (int i = 0; i <= static_cast<int>(DurableStep::SyncFolder); ++i) {
    const auto failAt = static_cast<DurableStep>(i);
    SCOPED_TRACE(durableStepName(failAt));
    ScratchDir dir;
    const std::string path = dir.write("a.sim", "old");
    StepLog log;
    log.failAt = failAt;
    std::string error;
    EXPECT_FALSE(replaceFileDurably(path, "new", error, {.temp = "", .keepOldAs = path + "_old", .sync = true}));
    EXPECT_NE(error.find(durableStepName(failAt)), std::string::npos) << error;
    EXPECT_EQ(log.steps.back(), failAt);
    EXPECT_FALSE(std::filesystem::exists(path + ".saving~"));
    // Until the rename the old file is untouched; a failed folder sync comes after it, with the new file whole.
    EXPECT_EQ(ScratchDir::read(path), failAt == DurableStep::SyncFolder ? "new" : "old");
  }
}

TEST(DurableFile, AnUnwritableFolderFailsAtTheFirstStepWithTheSystemsReason) {
  std::string error;
  EXPECT_FALSE(replaceFileDurably("/nonexistent/dir/a.gen", "x", error));
  EXPECT_EQ(error, "cannot create /nonexistent/dir/a.gen.saving~: No such file or directory");
}

}  // namespace
}  // namespace vorlund

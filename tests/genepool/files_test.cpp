#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/record.h"
#include "genepool/pool_files.h"
#include "genepool/symstat.h"
#include "pool_fixture.h"
#include "sim/symparam.h"
#include "support/message_capture.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;
using testing::PoolFixture;

// A pool with its rules, statistics and file state, as the simulator wires them.
struct FilePool : PoolFixture {
  FileSettings files;
  FileState state;
  symstat stats{fit};
  symparam rules{evol, sim, files, &pool};
  SimFileTarget target{pool, &genetics, &rules, &stats, files, state};
};

using TempDir = test_support::ScratchDir;
std::string slurp(const std::string& path) { return TempDir::read(path); }

std::string recordText(przodek& rec) {
  std::ostringstream out;
  writeRecord(rec.parameters(), out);
  return out.str();
}

TEST(Files, GenotypesRoundTrip) {
  TempDir dir;
  FilePool a;
  przodek* r1 = a.add("X(X,X)", 3, 1520.33, 4.56);
  r1->name = "Avo Hi";
  r1->info = "first";
  a.add("XX", 1, 7, 0.5)->vertpos = 0.25;
  const std::string path = dir.file("pool.gen");
  ASSERT_EQ(saveSimFile(a.target, path, FILE_GENOTYPES), 0);
  EXPECT_EQ(a.state.fileName, path);

  const std::string text = slurp(path);
  EXPECT_EQ(text.rfind("# created ", 0), 0u);
  EXPECT_NE(text.find("\n# by Vorlund simulator (30-May-00) [MS Windows]\nstats:\nst_num_sp:2\n"), std::string::npos);
  EXPECT_EQ(text.find("sim_params:"), std::string::npos);
  EXPECT_FALSE(fs::exists(path + kSavingSuffix));

  FilePool b;
  b.state.backupCounter = 4;
  loadSimFile(b.target, path, FILE_GENOTYPES);
  ASSERT_EQ(b.pool.size(), 2);
  for (int i = 0; i < 2; ++i) EXPECT_EQ(recordText(*b.pool.get(i)), recordText(*a.pool.get(i)));
  EXPECT_EQ(b.pool.get(1)->num, 2);
  EXPECT_EQ(b.pool.nextNumber, 3);
  EXPECT_EQ(b.state.fileName, path);
  EXPECT_EQ(b.state.backupCounter, 0);
  EXPECT_EQ(b.state.changeFlags & CHANGED_GENEPOOL, CHANGED_GENEPOOL);
}

TEST(Files, SettingsRoundTripAndGenotypeLoadLeavesThemAlone) {
  TempDir dir;
  FilePool a;
  a.rules.set(a.rules.findId("capacity"), "77");
  a.rules.set(a.rules.findId("AutoKill"), "1");
  const std::string path = dir.file("rules.sim");
  ASSERT_EQ(saveSimFile(a.target, path, FILE_SETTINGS | FILE_GENOTYPES), 0);
  EXPECT_NE(slurp(path).find("sim_params:\nmodel:1\noldneurons:0\ncapacity:77\ndelrule:0\n"), std::string::npos);

  FilePool b;
  loadSimFile(b.target, path, FILE_GENOTYPES);
  EXPECT_EQ(b.evol.capacity, 1000);
  EXPECT_EQ(b.sim.AutoKill, 0);

  loadSimFile(b.target, path, FILE_SETTINGS);
  EXPECT_EQ(b.evol.capacity, 77);
  EXPECT_EQ(b.sim.AutoKill, 1);
  // No genotypes came from it: the file name stays.
  EXPECT_EQ(b.state.fileName, kUntitledFileName);
}

TEST(Files, KeepsThePreviousFileAsOldWhenNotOverwriting) {
  TempDir dir;
  FilePool a;
  a.add("X", 1, 1);
  const std::string path = dir.file("a.gen");
  { std::ofstream(path) << "previous\n"; }
  { std::ofstream(path + "_old") << "older still\n"; }
  a.files.overwrite = 0;
  ASSERT_EQ(saveSimFile(a.target, path, FILE_GENOTYPES), 0);
  EXPECT_EQ(slurp(path + "_old"), "previous\n");
  EXPECT_NE(slurp(path).find("org:"), std::string::npos);

  a.files.overwrite = 1;
  ASSERT_EQ(saveSimFile(a.target, path, FILE_GENOTYPES), 0);
  EXPECT_EQ(slurp(path + "_old"), "previous\n");
}

TEST(Files, BackupNamesAndHeader) {
  EXPECT_EQ(backupFileName("evolution.gen", 1), "evolution_001.gen");
  EXPECT_EQ(backupFileName("evolution.gen", 2), "evolution_002.gen");
  EXPECT_EQ(backupFileName("run", 1), "run_001");
  EXPECT_EQ(backupFileName(".hidden", 12), ".hidden_012");
  EXPECT_EQ(backupFileName("dir.d/run", 1000), "dir_1000.d/run");  // the last dot, wherever it is

  TempDir dir(true);
  FilePool a;
  a.add("X", 1, 1);
  a.files.autosave = 1;
  ASSERT_EQ(saveSimFile(a.target, a.state.fileName, FILE_GENOTYPES | FILE_BACKUP), 0);
  const std::string text = slurp("untitled_001.gen");
  EXPECT_NE(text.find("\n\n# automatic backup #1 (1000000 iterations)\n# original file: untitled.gen\nstats:"),
            std::string::npos);
  EXPECT_EQ(a.state.fileName, kUntitledFileName);
  EXPECT_EQ(a.state.backupCounter, 1);
}

TEST(Files, FailedSaveLeavesTheTargetUntouched) {
  TempDir dir;
  FilePool a;
  a.add("X", 1, 1);
  EXPECT_EQ(saveSimFile(a.target, dir.file("missing/dir/a.gen"), FILE_GENOTYPES), 1);
  EXPECT_EQ(a.state.fileName, kUntitledFileName);

  // A target that cannot be replaced (a folder with contents) stays as it was.
  const std::string blocked = dir.file("blocked.gen");
  fs::create_directories(fs::path(blocked) / "inside");
  EXPECT_EQ(saveSimFile(a.target, blocked, FILE_GENOTYPES), 1);
  EXPECT_TRUE(fs::is_directory(fs::path(blocked) / "inside"));
  EXPECT_FALSE(fs::exists(blocked + kSavingSuffix));
  EXPECT_EQ(a.state.fileName, kUntitledFileName);
}

TEST(Files, LoadingMissingOrForeignFilesChangesNothing) {
  TempDir dir;
  FilePool a;
  a.add("X", 1, 1);
  loadSimFile(a.target, dir.file("nope.gen"), FILE_GENOTYPES | FILE_SETTINGS);
  EXPECT_EQ(a.pool.size(), 1);
  const std::string junk = dir.write("junk.gen", "# a comment\nstats:\nst_num_sp:4\n\n"
                                                 "random words\norg:x\n");
  test_support::MessageCapture log;
  loadSimFile(a.target, junk, FILE_GENOTYPES | FILE_SETTINGS);
  EXPECT_EQ(a.pool.size(), 1);
  EXPECT_TRUE(log.has("Load", "No usable record in " + junk));
  EXPECT_EQ(a.state.fileName, kUntitledFileName);
}

TEST(Files, EchoesCommentsOnlyWhenAskedAndNotInsideRecords) {
  TempDir dir;
  const std::string path = dir.write("c.gen", "# first\norg:\n# inside\ngenotype:X\n\n#second\n");
  test_support::MessageCapture log;
  const std::vector<LogEntry>& seen = log.entries;
  FilePool quiet;
  loadSimFile(quiet.target, path, FILE_GENOTYPES);
  for (const LogEntry& e : seen) EXPECT_NE(e.function, ">");
  log.entries.clear();
  FilePool talkative;
  talkative.files.filecomm = 1;
  loadSimFile(talkative.target, path, FILE_GENOTYPES);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0].message, "Comments read from " + path + " follows:");
  EXPECT_EQ(seen[1].function, ">");
  EXPECT_EQ(seen[1].message, " first");
  EXPECT_EQ(seen[2].message, "second");
  EXPECT_EQ(seen[3].message, "1 genotype(s) loaded");
  EXPECT_EQ(talkative.pool.get(0)->genotype, "X");
}

}  // namespace
}  // namespace vorlund

// The gene pool: its records, their numbers, order and names, the fitness and
// statistics computed over them, and the genotype and settings files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "core/record.h"
#include "genepool/listaprz.h"
#include "genepool/make_name.h"
#include "genepool/pool_files.h"
#include "genepool/symstat.h"
#include "genetics/genman.h"
#include "genetics/genoconv.h"
#include "pool_fixture.h"
#include "sim/symparam.h"
#include "support/message_capture.h"
#include "support/scratch.h"
#include "world/org.h"
#include "world/sim_settings.h"

namespace vorlund {
namespace {

constexpr const char* kOneStick = "/*0*/\np:\np:1\nj:0, 1";

struct PoolTest : ::testing::Test {
  PoolTest() {
    registerStandardOperators(genman);
    genman.setConverters(&converters);
    genetics.genman = &genman;
    genetics.settings = &settings;
  }
  std::unique_ptr<przodek> record(const std::string& text, int num = 0) {
    auto r = std::make_unique<przodek>(&genetics, text, "", "");
    r->num = num;
    return r;
  }
  GenMan genman;
  GenoConvManager converters;
  SimSettings settings;
  Genetics genetics;
  listaprz pool{&genetics};
};

TEST_F(PoolTest, Pool_FoldsTwoLivesIntoAverageAndWhitespaceVariantIntoSameRecord) {
  int changes = 0;
  pool.changedListeners.add([](void* arg, int) { ++*static_cast<int*>(arg); }, &changes);
  org first(&genetics, kOneStick);
  first.lifespan = 10;
  first.distance = 4;
  przodek* rec = pool.foldPerformance(first);
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(rec->num, 1);
  EXPECT_EQ(rec->stnum, 1);
  EXPECT_DOUBLE_EQ(rec->strsiz, 1.0);

  org second(&genetics, "/*0*/\n p:\np:1\n\tj:0,  1");
  second.lifespan = 20;
  EXPECT_EQ(pool.foldPerformance(second), rec);
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(rec->popsiz, 2);
  EXPECT_DOUBLE_EQ(rec->lifespan, 15);
  EXPECT_DOUBLE_EQ(rec->distance, 2);
  EXPECT_DOUBLE_EQ(rec->strsiz, 1.0);  // structural, not averaged with the creature's
  EXPECT_EQ(changes, 1);

  org nobody(&genetics, "");
  EXPECT_EQ(pool.foldPerformance(nobody), nullptr);
  EXPECT_EQ(pool.size(), 1);
}

TEST_F(PoolTest, Pool_NumbersAfterTheLargestNumberSeenAndRemovesIndividualsMarkingAllStale) {
  przodek* a = pool.add(record("/*0*/\np:"));
  przodek* b = pool.add(record("/*0*/\np:\np:", 7));
  przodek* c = pool.add(record("/*0*/\np:\np:\np:"));
  EXPECT_EQ(a->num, 1);
  EXPECT_EQ(b->num, 7);
  EXPECT_EQ(c->num, 8);
  pool.clear();
  EXPECT_EQ(pool.add(record("/*0*/\np:"))->num, 1);
  pool.clear();

  // Removing individuals marks everything stale.
  a = pool.add(record(kOneStick));
  b = pool.add(record("/*0*/\np:"));
  a->popsiz = 2;
  b->popsiz = 1;
  a->simiStale = b->simiStale = 0;
  pool.similaritiesComputed();
  pool.statsStale = false;
  int removed = -1;
  pool.removedListeners.add([](void* arg, int i) { *static_cast<int*>(arg) = i; }, &removed);
  pool.removeIndividual(a);
  EXPECT_EQ(pool.size(), 2);
  EXPECT_EQ(a->popsiz, 1);
  pool.removeIndividual(b);  // destroyed with the record
  EXPECT_EQ(pool.size(), 1);
  EXPECT_EQ(removed, 1);
  EXPECT_TRUE(pool.statsStale);
  EXPECT_EQ(a->simiStale, 1);

  pool.clearPerformance();
  EXPECT_EQ(a->popsiz, 0);
}

TEST_F(PoolTest, Pool_InsertsSortedAfterEqualsAndResortsOnChange) {
  prz_param sorter(nullptr);
  const int lifespan = sorter.findId("lifespan");
  pool.setSort(&sorter, lifespan, false);
  auto make = [&](double life, const char* text) {
    auto r = record(text);
    r->lifespan = life;
    return pool.add(std::move(r));
  };
  przodek* r5 = make(5, "/*0*/\np:");
  przodek* r1 = make(1, "/*0*/\np:\np:");
  przodek* r5b = make(5, "/*0*/\np:\np:\np:");
  ASSERT_EQ(pool.size(), 3);
  EXPECT_EQ(pool.get(0), r1);
  EXPECT_EQ(pool.get(1), r5);
  EXPECT_EQ(pool.get(2), r5b);
  r1->lifespan = 9;
  pool.changed(0);
  EXPECT_EQ(pool.get(2), r1);
  EXPECT_EQ(r1->num, 2);  // moving keeps the record and its number
}

TEST_F(PoolTest, Genotype_RegeneratesNameAndStructureOnSet) {
  przodek rec(&genetics, kOneStick, "Bob", "");
  param& acc = rec.parameters();
  const int nameIndex = acc.findId("name");
  EXPECT_EQ(acc.set(nameIndex, ""), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(rec.name, makeGenotypeNamePart(kOneStick) + " Hih");
  EXPECT_EQ(acc.set(nameIndex, "   "), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(rec.name, makeGenotypeNamePart(kOneStick) + " Hih");

  EXPECT_NE(acc.set(acc.findId("genotype"), "/*0*/\np:\np:1\np:2\nj:0,1\nj:1,2\nneu:1\ninp:0\ninp:0,1"), 0);
  EXPECT_EQ(rec.neunum, 1);
  EXPECT_DOUBLE_EQ(rec.nnsiz, 2);
  EXPECT_DOUBLE_EQ(rec.strsiz, 2);
  EXPECT_EQ(acc.getText(acc.findId("stnum")), "2");
  EXPECT_EQ(acc.getText(acc.findId("energ0")), "200");
  EXPECT_EQ(acc.set(acc.findId("stnum"), "5"), PSET_RONLY);
  // The conversion column shows the registry's answer.
  EXPECT_EQ(acc.getText(acc.findId("f0genotype")).rfind("/*0*/", 0), 0u);
}

TEST(MakeName, GenotypePartHashesSignedCharactersBodyPartInterleavesMassAndInputs) {
  EXPECT_EQ(makeGenotypeNamePart("X"), "Uwuwit");
  EXPECT_EQ(makeGenotypeNamePart("\xe9"), "Ykykaf");
  EXPECT_EQ(makeGenotypeNamePart(""), "Aaa");
  // The body part interleaves consonants of mass runs with vowels of input runs.
  org single(nullptr, "/*0*/\np:");
  single.Build();
  EXPECT_EQ(makeBodyNamePart(single), "Hi");

  // Five ends (two runs by mass: 1 and 3), two neurons with 0 and 2 inputs.
  org body(nullptr, "/*0*/\np:\np:1\np:2,m=3\np:3\np:4\nj:0,1\nj:1,2\nneu:0\nneu:1\ninp:1\ninp:1");
  body.Build();
  ASSERT_EQ(body.neuroCount(), 2);
  // k = 2: runs end at 0, 2, 4 -> masses 1, 3, 1 -> "hkh"; l = 1: runs [0], [1] -> "ya".
  EXPECT_EQ(makeBodyNamePart(body), "Hykah");
  EXPECT_EQ(makeName(body), makeGenotypeNamePart(body.genotype) + " Hykah");
}

using testing::PoolFixture;

TEST(Fitness, NormalisationZeroesCriteriaWithoutSpread) {
  PoolFixture f;
  f.evol.cr_norm = 1;
  f.evol.cr_di = 2;
  przodek* a = f.add("X", 1, 50, 1);
  przodek* b = f.add("XX", 1, 50, 3);
  // Life span is equal everywhere: only distance, scaled to 0..1, counts.
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*a), 0.0);
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*b), 2.0);
  // A record with no individuals does not stretch the range.
  f.add("XXX", 0, 900, 100);
  EXPECT_DOUBLE_EQ(f.fit.rawFitness(*b), 2.0);
  // Through the table, as the lists show it.
  EXPECT_DOUBLE_EQ(b->parameters().getDouble(b->parameters().findId("fit")), 2.0);
}

TEST(Fitness, FinalFitnessMapsThresholdMeanAndBest) {
  PoolFixture f;
  f.evol.fitfun = 1;
  f.evol.fitm = 1;
  f.evol.fitma = 2;
  przodek* low = f.add("X", 1, 0);
  przodek* mid = f.add("XX", 1, 1);
  przodek* best = f.add("XXX", 1, 2);
  EXPECT_NEAR(f.fit.finalFitness(*low), 0.0, 1e-12);  // below mean - stddev
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*mid), 1.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*best), 2.0);
  const PoolStatistics& s = f.pool.stats;
  EXPECT_NEAR(s.stddev, std::sqrt(2.0 / 3.0), 1e-12);
  EXPECT_NEAR(s.threshold, 1 - std::sqrt(2.0 / 3.0), 1e-12);

  EXPECT_DOUBLE_EQ(best->parameters().getDouble(best->parameters().findId("fit2")), 2.0);

  // Exactly at the threshold (mean 1, stddev 1, fitm 1) maps to 0.
  PoolFixture g;
  g.evol.fitfun = 1;
  g.evol.fitm = 1;
  przodek* atThreshold = g.add("X", 1, 0);
  g.add("XX", 1, 2);
  EXPECT_NEAR(g.fit.finalFitness(*atThreshold), 0.0, 1e-12);
}

TEST(Fitness, EqualFitnessEverywhereScalesToOne) {
  PoolFixture f;
  f.evol.fitfun = 1;
  // 0.1 does not survive a weighted mean exactly; the scaling must not notice.
  przodek* a = f.add("X", 3, 0.1);
  przodek* b = f.add("XX", 7, 0.1);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*a), 1.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*b), 1.0);
}

TEST(Fitness, NegativeFitnessWithoutScalingIsZero) {
  PoolFixture f;
  f.evol.cr_c = -5;
  przodek* a = f.add("X", 1, 2);
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), -3.0);
  EXPECT_DOUBLE_EQ(f.fit.finalFitness(*a), 0.0);
  // The "fit" column is the raw criteria sum, without cr_c.
  EXPECT_DOUBLE_EQ(a->parameters().getDouble(a->parameters().findId("fit")), 2.0);
}

TEST(Fitness, EnergyRatioDividesByStartingEnergyAndSurvivesZero) {
  PoolFixture f;
  f.evol.cr_energ = 1;
  przodek* a = f.add("X", 1, 200);
  a->stickCount = 2;
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 1.0);  // 200 / (2 x 100)
  f.sim.Energy0 = 0;
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 200.0);
}

TEST(Fitness, ThresholdSimilarityCountsOnlyCloseGenotypes) {
  PoolFixture f(0.2f);
  f.evol.cr_simi = SIMI_THRESHOLD;
  f.evol.xov_mins = 0.5;
  przodek* a = f.add("X", 4, 8);
  f.add("XX", 3, 1);
  f.add("/*4*/ABC", 0, 1);  // another format counts as similar, with at least one individual
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 4.0 + 1.0);
  EXPECT_DOUBLE_EQ(f.fit.fitness(*a), 8.0 / 5.0);

  // Linear: the pair values themselves, weighted by individuals.
  f.evol.cr_simi = SIMI_LINEAR;
  f.pool.changed(-1);
  EXPECT_NEAR(f.fit.similarity(*a), 4.0 + 3 * 0.2 + 1.0, 1e-6);
  // The cache answers until the pool changes.
  a->simi = 99;
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 99.0);
  f.add("XXX", 1, 1);
  EXPECT_NEAR(f.fit.similarity(*a), 4.0 + 3 * 0.2 + 1.0 + 0.2, 1e-6);
}

TEST(Fitness, SimilaritySumNearZeroCountsAsOne) {
  PoolFixture f(0.0f);
  f.evol.cr_simi = SIMI_THRESHOLD;
  f.evol.xov_mins = 2;  // nothing, not even the record itself, is that similar
  przodek* a = f.add("X", 1, 3);
  EXPECT_DOUBLE_EQ(f.fit.similarity(*a), 1.0);
}

TEST(Symstat, IsReadOnlyAndReportsZerosForAnEmptyPool) {
  PoolFixture f;
  symstat st(f.fit);
  EXPECT_EQ(st.set(0, "5"), PSET_RONLY);

  // An empty pool reports zeros everywhere.
  for (int i = 0; i < st.paramCount(); ++i) EXPECT_EQ(st.getDouble(i), 0.0) << st.id(i);
}

TEST(Symstat, SummarisesThePool) {
  PoolFixture f;
  f.evol.fitm = 1;
  f.add("X", 1, 10);
  f.add("XX", 2, 20);
  f.add("XXX", 3, 40);
  symstat st(f.fit);
  EXPECT_EQ(st.getInt(st.findId("st_num_sp")), 3);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_avg_popsiz")), 2.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_min_lifespan")), 10.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_max_lifespan")), 40.0);
  EXPECT_DOUBLE_EQ(st.getDouble(st.findId("st_avg_lifespan")), (10 + 40 + 120) / 6.0);
  const double mean = (10 + 40 + 120) / 6.0;
  const double sd = std::sqrt((std::pow(10 - mean, 2) + 2 * std::pow(20 - mean, 2) + 3 * std::pow(40 - mean, 2)) / 6);
  EXPECT_NEAR(st.getDouble(st.findId("st_stdev_f")), sd, 1e-4);
  EXPECT_NEAR(st.getDouble(st.findId("st_shift")), mean - sd, 1e-4);
  // Only the record of 10 lies at or below mean - stddev.
  EXPECT_NEAR(st.getDouble(st.findId("st_atzero")), 1.0 / 6.0, 1e-12);
}

namespace fs = std::filesystem;

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
  // What a caller asks before clearing the pool for a load.
  EXPECT_EQ(fileRecordKinds(junk), 0);
  EXPECT_EQ(fileRecordKinds(dir.file("nope.gen")), -1);
  EXPECT_EQ(fileRecordKinds(dir.write("both.sim", "sim_params:\r\ncapacity:3\n\norg:\ngenes:X\n")),
            FILE_GENOTYPES | FILE_SETTINGS);
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

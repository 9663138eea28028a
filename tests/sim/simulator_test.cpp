// The simulator (settings chain, parent tournament, births, deletion, autosave)
// and the command-line run driving it: seeds, inputs, settings, phylogeny, and
// checkpoints (resuming equals not stopping; damaged files are refused).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/random.h"
#include "core/record.h"
#include "sim/checkpoint.h"
#include "sim/run_summary.h"
#include "sim/symparam.h"
#include "sim/symulator.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

przodek* addRecord(symulator& s, const std::string& genotype, int popsiz, double lifespan) {
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), genotype, "", "");
  rec->popsiz = popsiz;
  rec->lifespan = lifespan;
  return s.pool.add(std::move(rec));
}

long individuals(const symulator& s) {
  long n = 0;
  for (int i = 0; i < s.pool.size(); ++i) n += s.pool.get(i)->popsiz;
  return n;
}

// Fitness is life span alone, so tests can rank records directly.
void lifeSpanOnly(symulator& s) {
  s.evol.cr_di = 0;
  s.evol.cr_gl = 0;
}

TEST(Simulator, OneSettingsChainSurvivesASaveAndLoad) {
  symulator s;
  // Rules, world, genetics and converter switches answer through one accessor, in that order.
  param& p = s.parameters();
  const int world = p.findId("wrldsiz");
  EXPECT_GT(world, p.findId("filecomm"));
  EXPECT_GT(p.findId("genkonw0"), world);
  p.set(world, "80");
  EXPECT_DOUBLE_EQ(s.world.vars.wrldsiz, 80);

  // The whole chain survives a save and load.
  test_support::ScratchDir dir;
  const std::string path = dir.file("rules.sim");
  p.set(p.findId("MaxCreated"), "7");
  p.set(p.findId("e_meta"), "0.25");
  ASSERT_EQ(s.save(path, FILE_SETTINGS), 0);

  symulator b;
  b.load(path, FILE_SETTINGS);
  std::ostringstream ra, rb;
  writeRecord(s.parameters(), ra);
  writeRecord(b.parameters(), rb);
  EXPECT_EQ(ra.str(), rb.str());
  EXPECT_EQ(b.evol.MaxCreated, 7);
  EXPECT_NE(b.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

TEST(Simulator, TournamentTakesTheFirstOverEmptyCountsElseTheFitterOfTwoDraws) {
  symulator s;
  przodek* first = addRecord(s, "X", 0, 1);
  addRecord(s, "XX", 0, 50);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(s.wylosujprzodka(nullptr), first);
  EXPECT_EQ(symulator().wylosujprzodka(nullptr), nullptr);

  // With counts, it prefers the fitter of two draws.
  symulator t;
  lifeSpanOnly(t);
  seedRandom(11);
  addRecord(t, "X", 1, 1);
  przodek* strong = addRecord(t, "XX", 1, 100);
  int strongWins = 0;
  for (int i = 0; i < 400; ++i) strongWins += t.wylosujprzodka(nullptr) == strong ? 1 : 0;
  // The weak one wins only when both draws fall on it: about a quarter.
  EXPECT_GT(strongWins, 250);
  EXPECT_LT(strongWins, 350);
  // Among genotypes similar to an encoding-4 text, the encoding-1 records all count (other format).
  t.evol.xov_mins = 0.9;
  const std::string other = "/*4*/X>";
  EXPECT_NE(t.wylosujprzodka(&other), nullptr);
}

TEST(Simulator, NothingIsBornWithAllSharesZeroButBallsStillCome) {
  symulator s;
  addRecord(s, "X", 1, 1);
  s.evol.p_nop = s.evol.p_mut = s.evol.p_xov = 0;
  s.evol.feed = 2;
  for (int i = 0; i < 5; ++i) s.jedenkrok();
  EXPECT_EQ(s.creatures.size(), 0);
  EXPECT_EQ(s.food.size(), 2);

  symulator t;
  addRecord(t, "X", 1, 1);
  t.evol.MaxCreated = 0;
  t.evol.feed = 1;
  t.jedenkrok();
  EXPECT_EQ(t.creatures.size(), 0);
  EXPECT_EQ(t.food.size(), 1);
}

TEST(Simulator, UnchangedOffspringAreBornUpToMaxCreated) {
  symulator s;
  addRecord(s, "XX", 1, 1);
  s.evol.p_mut = s.evol.p_xov = 0;
  s.evol.MaxCreated = 3;
  for (int i = 0; i < 10; ++i) s.jedenkrok();
  EXPECT_EQ(s.creatures.size(), 3);
  EXPECT_EQ(s.creatures.get(0)->genotype, "XX");
  EXPECT_NE(s.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

TEST(Simulator, DeletesDownToCapacityByEachRule) {
  for (int rule = DELETE_RANDOMLY; rule <= DELETE_WORST; ++rule) {
    symulator s;
    lifeSpanOnly(s);
    seedRandom(3 + rule);
    s.evol.capacity = 10;
    s.evol.delrule = rule;
    przodek* worst = addRecord(s, "X", 1, 1);
    addRecord(s, "XX", 2, 5);
    addRecord(s, "XXX", 9, 50);
    s.deleteOverCapacity();
    EXPECT_EQ(individuals(s), 10) << "rule " << rule;
    if (rule == DELETE_WORST) {
      // The worst record had one individual and went; the next worst lost one.
      EXPECT_EQ(s.pool.find(worst), -1);
      ASSERT_EQ(s.pool.size(), 2);
      EXPECT_EQ(s.pool.get(0)->popsiz, 1);
    }
  }
  // A pool loaded far over capacity is trimmed over several steps, not in one stall.
  symulator huge;
  huge.evol.capacity = 10;
  huge.evol.delrule = DELETE_WORST;
  addRecord(huge, "X", 25000, 1);
  huge.deleteOverCapacity();
  EXPECT_EQ(individuals(huge), 15000);
  huge.deleteOverCapacity();
  huge.deleteOverCapacity();
  EXPECT_EQ(individuals(huge), 10);

  symulator unlimited;
  unlimited.evol.capacity = 0;
  addRecord(unlimited, "X", 5000, 1);
  unlimited.deleteOverCapacity();
  EXPECT_EQ(individuals(unlimited), 5000);

  // A pool found within capacity is summed again once it or the capacity changes.
  symulator within;
  within.evol.capacity = 10;
  within.evol.delrule = DELETE_WORST;
  addRecord(within, "X", 8, 1);
  within.deleteOverCapacity();
  EXPECT_EQ(individuals(within), 8);
  addRecord(within, "XX", 4, 2);
  within.deleteOverCapacity();
  EXPECT_EQ(individuals(within), 10);
  within.evol.capacity = 6;
  within.deleteOverCapacity();
  EXPECT_EQ(individuals(within), 6);
}

TEST(Simulator, ClearRemovesWhatTheMaskSays) {
  symulator s;
  addRecord(s, "X", 1, 1);
  s.addBall(Vec3(5, 5, 0));
  s.clear(CLEAR_OBJECTS);
  EXPECT_EQ(s.food.size(), 0);
  EXPECT_EQ(s.pool.size(), 1);
  s.clear(CLEAR_GENOTYPES);
  EXPECT_EQ(s.pool.size(), 0);
  EXPECT_EQ(s.fileState.changeFlags & 3u, 3u);
}

// A fast run passes 2^31 steps in hours: the counter, the backup counter
// and the CSV go on past it.
TEST(Simulator, AutosaveWritesABackupAfterItsStepsAndCountersPassThirtyOneBits) {
  test_support::ScratchDir dir(true);
  {
    symulator s;
    s.stepCount = INT32_MAX;
    addRecord(s, "X", 1, 1);
    s.evol.p_nop = s.evol.p_mut = s.evol.p_xov = 0;
    s.files.autosave = 1;
    s.fileState.backupSteps = kAutosaveStepUnit - 2;
    s.jedenkrok();
    EXPECT_FALSE(fs::exists("untitled_001.gen"));
    s.jedenkrok();
    EXPECT_TRUE(fs::exists("untitled_001.gen"));
    EXPECT_EQ(s.fileState.backupCounter, 1);
    EXPECT_EQ(s.fileState.backupSteps, 0);
    EXPECT_EQ(s.fileState.fileName, "untitled.gen");
    EXPECT_EQ(s.stepCount, int64_t{INT32_MAX} + 2);
  }
  EXPECT_EQ(csvRow(int64_t{3} << 32, RunSummary{}).rfind("12884901888,0,0,", 0), 0u);
}

TEST(Simulator, MutatedOffspringDifferFromTheirParent) {
  symulator s;
  seedRandom(21);
  addRecord(s, "X(X,X)", 1, 1);
  s.evol.p_nop = s.evol.p_xov = 0;
  s.evol.MaxCreated = 5;
  for (int i = 0; i < 40 && s.creatures.size() < 5; ++i) s.jedenkrok();
  ASSERT_GT(s.creatures.size(), 0);
  for (int i = 0; i < s.creatures.size(); ++i) EXPECT_NE(s.creatures.get(i)->genotype, "X(X,X)");
}

TEST(Simulator, AGenotypeWithoutStickEndsGivesNoCreature) {
  symulator s;
  const przodek empty(&s.geneticsContext(), "", "", "", true);
  EXPECT_EQ(s.createCreature(empty), nullptr);
  EXPECT_EQ(s.all.size(), 0);
  EXPECT_EQ(s.fileState.changeFlags & CHANGED_CREATURES, 0u);
}

struct Rules {
  EvolSettings evol;
  SimSettings sim;
  FileSettings files;
  listaprz pool;
  symparam acc{evol, sim, files, &pool};
};

// The evolution and world rules are reached through this table in the settings file tests.
TEST(SimulationRules, SettingReachesTheFileRulesAndClamps) {
  Rules r;
  param& p = r.acc;
  p.set(p.findId("overwrite"), "0");
  EXPECT_EQ(r.files.overwrite, 0);
  EXPECT_EQ(p.set(p.findId("testvel"), "1"), PSET_CHANGED | PSET_HITMIN);
  EXPECT_EQ(r.sim.testvel, 2);
}

void countChange(void* arg, int index) {
  if (index == -1) ++*static_cast<int*>(arg);
}

TEST(SimulationRules, SelectionChangesRemarkThePool) {
  Rules r;
  param& p = r.acc;
  int wholePool = 0;
  r.pool.changedListeners.add(countChange, &wholePool);
  r.pool.statsStale = false;
  p.set(p.findId("capacity"), "10");
  EXPECT_EQ(wholePool, 0);
  EXPECT_FALSE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");
  EXPECT_EQ(wholePool, 1);
  EXPECT_TRUE(r.pool.statsStale);
  p.set(p.findId("cr_v"), "3");  // unchanged: no re-marking
  EXPECT_EQ(wholePool, 1);
  p.set(p.findId("fitfun"), "1");
  EXPECT_EQ(wholePool, 2);
}

using test_support::exampleFile;
using test_support::ScratchRun;
using test_support::withoutFirstLine;

// Writing CSV rows only reads the run: the pool comes out the same without them.
TEST(RunCommand, SameSeedGivesTheSameGenePool) {
  ScratchRun r(
      {"run", "--quiet", "--seed", "7", "--steps", "3000", exampleFile("walkers.sim"), exampleFile("seeds.gen")});
  ASSERT_EQ(r.run({"--save", "a.gen", "--csv", "a.csv", "--every", "1000"}), 0) << r.err.str();
  ASSERT_EQ(r.run({"--save", "b.gen"}), 0) << r.err.str();
  EXPECT_EQ(withoutFirstLine("a.gen"), withoutFirstLine("b.gen"));
  EXPECT_NE(withoutFirstLine("a.gen").find("org:"), std::string::npos);
}

TEST(RunCommand, PhylogenyOptionDrawsTheRunsGeneticOperations) {
  ScratchRun r;
  ASSERT_EQ(r.run({"run", "--quiet", "--seed", "3", "--steps", "20000", "--phylogeny", "tree.svg",
                   "--phylogeny-scatter", "1", exampleFile("walkers.sim"), exampleFile("seeds.gen")}),
            0)
      << r.err.str();
  const std::string svg = test_support::ScratchDir::read("tree.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  // Every mutation or crossover of the run adds a point: far more than the seed genotypes.
  std::size_t ellipses = 0;
  for (std::size_t at = svg.find("<ellipse"); at != std::string::npos; at = svg.find("<ellipse", at + 1)) ++ellipses;
  EXPECT_GT(ellipses, 10u);
  EXPECT_NE(r.run({"run", "--steps", "1", "--phylogeny-show", "5"}), 0);
}

TEST(RunCommand, SeedsAnEmptyWorldAndRejectsBadInput) {
  ScratchRun r;
  EXPECT_EQ(r.run({"run", "--steps", "5", "--every", "5"}), 0);
  EXPECT_NE(r.out.str().find("starting from the genotype X"), std::string::npos);
  EXPECT_NE(r.out.str().find("5 steps in"), std::string::npos);

  EXPECT_EQ(r.run({"run", "--steps", "5", "notes.txt"}), 1);
  EXPECT_EQ(r.run({"run", "--steps", "5", "absent.gen"}), 1);
  EXPECT_EQ(r.run({"run", "--steps", "5", "--every", "0"}), 1);
  EXPECT_EQ(r.run({"run", "--steps", "5", "--csv", "no/such/dir/x.csv"}), 1);
}

// --steps 0 loads and saves back without stepping; a file of no use does not stop it.
TEST(RunCommand, ZeroStepsRunsNoStepAndAUselessFileDoesNotStopTheRun) {
  ScratchRun r;
  { std::ofstream("junk.sim") << "nothing here\n"; }  // said so by the loader, and the run goes on
  ASSERT_EQ(r.run({"run", "--steps", "0", "--save", "same.gen", exampleFile("seeds.gen"), "junk.sim"}), 0);
  EXPECT_NE(r.out.str().find("0 steps in"), std::string::npos);
  EXPECT_NE(test_support::ScratchDir::read("same.gen").find("name:Long legs"), std::string::npos);
}

TEST(RunCommand, DefaultSimIsReadFirstAndParamsPrintsTheRecord) {
  ScratchRun r;
  { std::ofstream("Default.sim") << "sim_params:\ncapacity:123\nwrldsiz:42\n\n"; }
  ASSERT_EQ(r.run({"run", "--quiet", "--steps", "1", "--save", "p.gen"}), 0);
  ASSERT_EQ(r.run({"params", "--sim", "Default.sim"}), 0);
  const std::string rec = r.out.str();
  EXPECT_NE(rec.find("\ncapacity:123\n"), std::string::npos);
  EXPECT_NE(rec.find("\nwrldsiz:42\n"), std::string::npos);
  ASSERT_EQ(r.run({"params"}), 0);
  EXPECT_NE(r.out.str().find("\ncapacity:1000\n"), std::string::npos);
}

// Busy worlds: creatures are born and die quickly, hurt each other and eat the balls.
constexpr const char* kBusyRules =
    "sim_params:\nAutoKill:1\ncapacity:60\ndelrule:1\ncr_v:50\nMaxCreated:12\np_nop:20\np_mut:60\np_xov:20\n"
    "Energy0:12\ne_meta:2\nfeed:12\nfeede0:15\ndescol:1\ncorpsen:1\ngen_hist:1\n";
struct World {
  const char* name;
  const char* terrain;
};
const World kWorlds[] = {
    {"flat", "wrldtyp:0\nwrldsiz:8\nwrldwat:0.5\nwrldbnd:1\nfeed:6\ne_meta:4\n\n"},
    {"blocks", "wrldmap:r 8 8 3\nwrldtyp:1\nwrldsiz:16\nwrldwat:1.5\nwrldbnd:2\n\n"},
};

std::string fileText(const std::string& path) { return test_support::ScratchDir::read(path); }

// What happened during an interval of a run.
struct Events {
  int hits = 0, births = 0, meals = 0;
  long deaths = 0;
};

// Every death takes a creature off the living list.
void countDeath(void* arg, int) { ++static_cast<Events*>(arg)->deaths; }

void stepWatching(symulator& s, int steps, Events& e) {
  s.hitHooks.push_back({[](void* arg, org*, org*) { ++static_cast<Events*>(arg)->hits; }, &e});
  s.startedHooks.push_back({[](void* arg, org*) { ++static_cast<Events*>(arg)->births; }, &e});
  s.creatures.removedListeners.add(countDeath, &e);
  for (int i = 0; i < steps; ++i) {
    s.jedenkrok();
    for (int c = 0; c < s.creatures.size(); ++c)
      for (const auto& end : s.creatures.get(c)->l_ses) e.meals += (end->state & SES_ATE) != 0;
  }
  s.creatures.removedListeners.remove(countDeath, &e);
  s.hitHooks.clear();
  s.startedHooks.clear();
}

class ResumeTest : public ::testing::TestWithParam<World> {};

// The whole state after resuming equals the uninterrupted run's, not just what the files show.
TEST_P(ResumeTest, ResumedWorldEqualsTheUninterruptedOne) {
  ScratchRun dir({"run", "--quiet"});
  std::ofstream(std::string("busy.sim")) << kBusyRules << GetParam().terrain;
  constexpr int kBefore = 1000, kInterval = 1500;
  std::string atCheckpoint, uninterrupted;
  Events seen;
  {
    symulator a;
    seedRandom(11);
    ASSERT_TRUE(a.load("busy.sim", FILE_SETTINGS));
    ASSERT_TRUE(a.load(exampleFile("seeds.gen"), FILE_GENOTYPES));
    for (int i = 0; i < kBefore; ++i) a.jedenkrok();
    atCheckpoint = checkpointText(a, kBefore);
    stepWatching(a, kInterval, seen);
    uninterrupted = checkpointText(a, kBefore + kInterval);
  }
  EXPECT_GT(seen.hits, 0);
  EXPECT_GT(seen.births, 0);
  EXPECT_GT(seen.deaths, 0);
  EXPECT_GT(seen.meals, 0);

  seedRandom(99);  // whatever the generator did since, the checkpoint's state wins
  symulator b;
  int64_t steps = 0;
  std::string error;
  ASSERT_TRUE(restoreCheckpoint(b, atCheckpoint, steps, error)) << error;
  EXPECT_EQ(steps, kBefore);
  EXPECT_EQ(checkpointText(b, kBefore), atCheckpoint);
  for (int i = 0; i < kInterval; ++i) b.jedenkrok();
  EXPECT_EQ(checkpointText(b, kBefore + kInterval), uninterrupted);
}

INSTANTIATE_TEST_SUITE_P(Worlds, ResumeTest, ::testing::ValuesIn(kWorlds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Checkpoint, InterruptedAndResumedRunWritesTheSamePoolAndRows) {
  ScratchRun dir({"run", "--quiet"});
  std::ofstream(std::string("busy.sim")) << kBusyRules << kWorlds[1].terrain;
  const std::vector<std::string> inputs = {"busy.sim", exampleFile("seeds.gen")};
  auto whole = inputs;
  whole.insert(whole.end(), {"--seed", "5", "--steps", "3000", "--every", "250", "--csv", "a.csv", "--save", "a.gen"});
  ASSERT_EQ(dir.run(whole), 0) << dir.err.str();

  auto first = inputs;
  first.insert(first.end(), {"--seed", "5", "--steps", "1750", "--every", "250", "--csv", "b.csv", "--save", "b.gen",
                             "--checkpoint", "b.ckpt", "--checkpoint-every", "1000"});
  ASSERT_EQ(dir.run(first), 0) << dir.err.str();
  ASSERT_EQ(dir.run({"--resume", "b.ckpt", "--steps", "3000", "--every", "250", "--csv", "b.csv", "--save", "b.gen"}),
            0)
      << dir.err.str();
  EXPECT_EQ(withoutFirstLine("a.gen"), withoutFirstLine("b.gen"));
  EXPECT_EQ(fileText("a.csv"), fileText("b.csv"));
}

TEST(Checkpoint, DamagedTruncatedAndForeignFilesAreRefusedWithoutTouchingAnything) {
  ScratchRun dir({"run", "--quiet"});
  ASSERT_EQ(dir.run({exampleFile("walkers.sim"), exampleFile("seeds.gen"), "--seed", "3", "--steps", "300", "--checkpoint",
                     "good.ckpt"}),
            0);
  const std::string good = fileText("good.ckpt");
  std::string damaged = good;
  damaged[damaged.find("ses:") + 6] ^= 1;
  std::string otherVersion = good;
  otherVersion.replace(otherVersion.find(":1\n"), 3, ":99\n");
  // The file, what it holds and what the refusal says.
  const std::tuple<const char*, std::string, const char*> cases[] = {
      {"damaged.ckpt", damaged, "damaged"},
      {"truncated.ckpt", good.substr(0, good.size() / 2), "truncated"},
      {"newer.ckpt", otherVersion, "format 99"},
      {"pool.ckpt", fileText(exampleFile("seeds.gen")), "not a checkpoint"},
  };
  for (const auto& [file, text, says] : cases) {
    std::ofstream(file, std::ios::binary) << text;
    std::ofstream("rows.csv", std::ios::trunc) << "kept\n";
    EXPECT_EQ(dir.run({"--resume", file, "--steps", "600", "--csv", "rows.csv", "--checkpoint", file}), 1) << file;
    EXPECT_NE(dir.err.str().find(says), std::string::npos) << dir.err.str();
    EXPECT_EQ(fileText(file), text) << file;
    EXPECT_EQ(fileText("rows.csv"), "kept\n") << file;
  }
}

// Damage that keeps the checksum right (a faulty writer, a hand edit) must be
// refused or read, never crash: every line loses a character in turn.
TEST(Checkpoint, ResealedDamageIsRefusedOrReadButNeverCrashes) {
  symulator a;
  seedRandom(4);
  ASSERT_TRUE(a.load(exampleFile("walkers.sim"), FILE_SETTINGS));
  ASSERT_TRUE(a.load(exampleFile("seeds.gen"), FILE_GENOTYPES));
  for (int i = 0; i < 300; ++i) a.jedenkrok();
  std::string body = checkpointText(a, 300);
  body.erase(body.rfind("checksum:"));
  std::vector<std::size_t> lineStarts;
  for (std::size_t at = body.find("run:"); at + 2 < body.size(); at = body.find('\n', at) + 1) lineStarts.push_back(at);
  constexpr std::size_t kSamples = 120;
  int refused = 0;
  for (std::size_t k = 0; k < lineStarts.size(); k += std::max<std::size_t>(1, lineStarts.size() / kSamples)) {
    std::string damaged = body;
    damaged.erase(lineStarts[k] + 1, 1);
    damaged += checkpointChecksumLine(damaged);
    symulator b;
    int64_t steps = 0;
    std::string error;
    if (!restoreCheckpoint(b, damaged, steps, error)) {
      ++refused;
      EXPECT_NE(error.find("line "), std::string::npos) << error;
    }
  }
  EXPECT_GT(refused, 50);
}

// SIGTERM (a shutdown, `kill`) stops the run as Ctrl-C does.
TEST(Checkpoint, CtrlCAndSigtermWriteALastCheckpointToResumeFrom) {
  for (const int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig);
    ScratchRun dir({"run", "--quiet"});
    std::thread interrupt([sig] {
      // Raised before the run catches it, the signal would end the test program: a loaded
      // machine may take longer than any fixed wait to load the files.
      struct sigaction now {};
      for (int i = 0; i < 3000 && sigaction(sig, nullptr, &now) == 0 && now.sa_handler == SIG_DFL; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      std::raise(sig);
    });
    const int code =
        dir.run({exampleFile("walkers.sim"), exampleFile("seeds.gen"), "--seed", "2", "--checkpoint", "c.ckpt"});
    interrupt.join();
    EXPECT_EQ(code, 130);
    symulator s;
    int64_t steps = 0;
    std::string error;
    ASSERT_TRUE(loadCheckpoint(s, "c.ckpt", steps, error)) << error;
    EXPECT_GT(steps, 0);
    EXPECT_EQ(dir.run({"--resume", "c.ckpt", "--steps", std::to_string(steps + 50), "--checkpoint", "c.ckpt"}), 0)
        << dir.err.str();
    symulator resumed;
    int64_t after = 0;
    ASSERT_TRUE(loadCheckpoint(resumed, "c.ckpt", after, error)) << error;
    EXPECT_EQ(after, steps + 50);
  }
}

TEST(Checkpoint, GenotypeTextsWithAnyCharacterSurvive) {
  symulator a;
  const std::string odd = "X(X,X)\n# a tilde ~ and a backslash \\ inside, and a long line that goes on and on";
  auto rec = std::make_unique<przodek>(&a.geneticsContext(), odd, "name ~ with tilde", "", true);
  rec->popsiz = 3;
  rec->velocity = 1.0 / 3.0;
  a.pool.add(std::move(rec));
  const std::string text = checkpointText(a, 0);
  symulator b;
  int64_t steps = -1;
  std::string error;
  ASSERT_TRUE(restoreCheckpoint(b, text, steps, error)) << error;
  ASSERT_EQ(b.pool.size(), 1);
  EXPECT_EQ(b.pool.get(0)->genotype, odd);
  EXPECT_EQ(b.pool.get(0)->name, "name ~ with tilde");
  EXPECT_EQ(b.pool.get(0)->velocity, 1.0 / 3.0);
  EXPECT_EQ(checkpointText(b, 0), text);
}

}  // namespace
}  // namespace vorlund

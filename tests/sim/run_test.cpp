// The command-line run: seeds, inputs, settings and phylogeny of a run, and its
// checkpoints (resuming equals not stopping; damaged files are refused).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "core/random.h"
#include "sim/checkpoint.h"
#include "sim/symulator.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

using test_support::ScratchRun;
using test_support::withoutFirstLine;

std::string examples(const char* name) { return test_support::exampleFile(name); }

// Writing CSV rows only reads the run: the pool comes out the same without them.
TEST(RunCommand, SameSeedGivesTheSameGenePool) {
  ScratchRun r({"run", "--quiet", "--seed", "7", "--steps", "3000", examples("walkers.sim"), examples("seeds.gen")});
  ASSERT_EQ(r.run({"--save", "a.gen", "--csv", "a.csv", "--every", "1000"}), 0) << r.err.str();
  ASSERT_EQ(r.run({"--save", "b.gen"}), 0) << r.err.str();
  EXPECT_EQ(withoutFirstLine("a.gen"), withoutFirstLine("b.gen"));
  EXPECT_NE(withoutFirstLine("a.gen").find("org:"), std::string::npos);
}

TEST(RunCommand, PhylogenyOptionDrawsTheRunsGeneticOperations) {
  ScratchRun r;
  ASSERT_EQ(r.run({"run", "--quiet", "--seed", "3", "--steps", "20000", "--phylogeny", "tree.svg",
                   "--phylogeny-scatter", "1", examples("walkers.sim"), examples("seeds.gen")}),
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
  ASSERT_EQ(r.run({"run", "--steps", "0", "--save", "same.gen", examples("seeds.gen"), "junk.sim"}), 0);
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

using test_support::exampleFile;

std::string fileText(const std::string& path) { return test_support::ScratchDir::read(path); }

// The tool's "run" in a scratch folder.
struct Scratch : test_support::ScratchRun {
  Scratch() : ScratchRun({"run", "--quiet"}) {}
};

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
  Scratch dir;
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
  Scratch dir;
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
  Scratch dir;
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

TEST(Checkpoint, CtrlCWritesALastCheckpointToResumeFrom) {
  Scratch dir;
  std::thread interrupt([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::raise(SIGINT);
  });
  const int code = dir.run({exampleFile("walkers.sim"), exampleFile("seeds.gen"), "--seed", "2", "--checkpoint", "c.ckpt"});
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

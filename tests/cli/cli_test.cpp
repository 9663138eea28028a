// The command-line tool's subcommands, run in-process, and the island runs' pools.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <tuple>
#include <string>

#include "cli.h"
#include "core/random.h"
#include "genetics/phylogeny/evolstudy.h"
#include "island_exchange.h"
#include "island_pools.h"
#include "island_run.h"
#include "islands.h"
#include "phylogeny_demo.h"
#include "sim/checkpoint.h"
#include "sim/run_summary.h"
#include "sim/symulator.h"
#include "support/message_capture.h"
#include "support/scratch.h"
#include <nlohmann/json.hpp>

namespace vorlund::cli {
namespace {

using test_support::runTool;
using test_support::ToolRun;
namespace fs = std::filesystem;

TEST(Cli, SmallCommandsAnswerAsDocumented) {
  const std::string stick = "/*0*/\np:\np:1\nj:0, 1";
  // The arguments, the exit code, standard output and (when not empty) standard error.
  const std::tuple<std::vector<std::string>, int, std::string, std::string> cases[] = {
      {{"format", "/*4*/X"}, 0, "4\n", ""},
      {{"same", "X (X)", "X(X)"}, 0, "0\n", ""},
      {{"convert", "--to", "1", "X("}, 0, "X(", ""},
      {{"convert", "--to", "4", "X"}, 1, "/* converter not found */", ""},
      {{"convert", "--to", "0", "X"}, 0, "/*0*/\n\np:\np:1\nj:0, 1\n", ""},
      {{"convert", "--to", "1", "/*4*/\n<<X>X>X"}, 0, "X(X,X)", ""},
      {{"convert", "--to", "0", "/*4*/\nX<X>X"}, 1, "/* f4->f0 conversion failed (Tovi: f4->f0) */", ""},
      {{"check", "X(X,X),X"}, 0, "7\n", ""},
      {{"check", "/*9*/X"}, 0, "-2\n", ""},
      {{"check", "   "}, 0, "4\n", ""},  // white space only is wrong past its end
      {{"validate", "X)"}, 0, "X", ""},
      {{"validate", "X(X,X),X"}, 1, "", "-3\n"},
      {{"similarity", "X", "XX"}, 0, "0.625\n", ""},
      {{"style", "X[S:1]"}, 0, "0 X 00000000\n1 [ 000000c8\n2 S 02009600\n3 : 000000c8\n4 1 000000c8\n5 ] 000000c8\n", ""},
      {{"info", stick}, 0, "format: 0\nsticks: 1\nneurons: 0\nstick ends: 2\nbody size: 1\nbrain size: 0\nname: Ufotug Hih\n", ""},
      {{"name", stick}, 0, "Ufotug Hih\n", ""},
      {{"info", "X(X"}, 1, "", "the genotype is invalid\n"},  // only the error, no summary of an empty body
      {{"mutate", "--seed", "1", "X(X,X),X"}, 1, "", ""},
  };
  for (const auto& [args, code, out, err] : cases) {
    SCOPED_TRACE(args[0] + " " + args.back());
    const ToolRun r = runTool(args);
    EXPECT_EQ(r.code, code);
    EXPECT_EQ(r.out, out);
    if (!err.empty()) {
      EXPECT_EQ(r.err, err);
    }
  }
  // Bytes that are not UTF-8 do not break the JSON output.
  EXPECT_EQ(runTool({"mutate", "--seed", "1", "X\xff"}).code, 1);
}

TEST(Cli, SeededMutantsChildrenAndSimulationsRepeat) {
  const ToolRun a = runTool({"mutate", "--seed", "7", "--count", "3", "X(X[0:1],LX)"});
  ASSERT_EQ(a.code, 0);
  EXPECT_EQ(a.out, runTool({"mutate", "--seed", "7", "--count", "3", "X(X[0:1],LX)"}).out);
  std::istringstream lines(a.out);
  int n = 0;
  for (std::string line; std::getline(lines, line); ++n)
    EXPECT_NE(nlohmann::json::parse(line).at("info").get<std::string>().find("mutation of"), std::string::npos);
  EXPECT_EQ(n, 3);

  const ToolRun x = runTool({"crossover", "--seed", "2", "XX(X,X)", "LLX[*:1]XX"});
  ASSERT_EQ(x.code, 0);
  const nlohmann::json j = nlohmann::json::parse(x.out);
  for (const char* key : {"child1", "info1", "child2", "info2"}) EXPECT_TRUE(j.at(key).is_string()) << key;
  EXPECT_EQ(x.out, runTool({"crossover", "--seed", "2", "XX(X,X)", "LLX[*:1]XX"}).out);

  const ToolRun s = runTool({"simulate", "--seed", "1", "--steps", "300", "X[|G:1]X", "XX"});
  ASSERT_EQ(s.code, 0) << s.err;
  EXPECT_EQ(s.out, runTool({"simulate", "--seed", "1", "--steps", "300", "X[|G:1]X", "XX"}).out);
  std::istringstream rows(s.out);
  n = 0;
  for (std::string line; std::getline(rows, line); ++n) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    ASSERT_GE(words.size(), 6u) << line;
    // The last five are energy, lifespan, distance, velocity and vertical position.
    for (std::size_t i = words.size() - 5; i < words.size(); ++i) EXPECT_TRUE(std::isfinite(std::stod(words[i]))) << line;
    EXPECT_EQ(words[words.size() - 4], "300") << line;
  }
  EXPECT_EQ(n, 2);
  const ToolRun bad = runTool({"simulate", "--seed", "1", "--steps", "10", "XX", "/*9*/whatever"});
  EXPECT_NE(bad.code, 0);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("genotype 2"), std::string::npos);
}

TEST(Cli, SettingsFileSwitchesConvertersOff) {
  test_support::ScratchDir dir;
  const std::string sim = dir.write("off.sim", "# settings\ngkparam:\ngenkonw1:0\n\n");
  const ToolRun r = runTool({"--sim", sim, "convert", "--to", "1", "/*2*/X"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "/* converter not found */");
}

TEST(Cli, MissingArgumentsAndUnknownCommandsFail) {
  test_support::MessageCapture quiet;
  EXPECT_NE(runTool({"format"}).code, 0);
  EXPECT_NE(runTool({"nosuchcommand"}).code, 0);
  EXPECT_NE(runTool({"--sim", "/no/such/file.sim", "format", "X"}).code, 0);
}

// A stand-in encoding-1 operator: mutation appends a letter, crossover swaps tails.
class AppendingOperator : public TGeno_fx {
 public:
  int Validate(std::string&) override { return 0; }
  int Mutate(std::string& body, float& change) override {
    body += static_cast<char>('A' + rndBelow(3));
    change = 0.5f;
    return 0;
  }
  int CrossOver(std::string& a, std::string& b, float& c1, float& c2) override {
    const std::size_t ha = a.size() / 2, hb = b.size() / 2;
    const std::string na = a.substr(0, ha) + b.substr(hb), nb = b.substr(0, hb) + a.substr(ha);
    a = na;
    b = nb;
    c1 = c2 = 0.5f;
    return 0;
  }
};

TEST(PhylogenyDemo, EveryOperationOfTheDemoBecomesPoints) {
  GenMan gm;
  gm.registerOperator('1', std::make_unique<AppendingOperator>());
  seedRandom(4);
  const PhylogenyDemoResult r = runPhylogenyDemo(gm, 40, "X", 0.3);
  EXPECT_FALSE(r.noOperator);
  EXPECT_EQ(r.mutations + r.crossovers + r.failures, 40);
  EXPECT_GT(r.crossovers, 0);
  EXPECT_EQ(gm.history().size(), static_cast<std::size_t>(r.mutations + 2 * r.crossovers));
  EvolStudy study;
  ASSERT_TRUE(study.Analyze(gm.history()));
  // The root, one point per mutant, two per crossover child.
  EXPECT_EQ(study.points().size(), static_cast<std::size_t>(1 + r.mutations + 4 * r.crossovers));

  GenMan bare;
  EXPECT_TRUE(runPhylogenyDemo(bare, 5, "X", 0.3).noOperator);
}

TEST(PhylogenyCommand, SeededEncodingTwoDemoWritesTheSameTreeTwice) {
  test_support::ScratchDir dir;
  const std::string a = dir.file("a.svg"), b = dir.file("b.svg");
  const std::string start = "/*2*/stick (0) (10) 5\nstick (10) (20) 7\nconn G(5) (0) 1";
  const ToolRun r = runTool({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, a});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind(a + ": 26 points", 0), 0u) << r.out;
  ASSERT_EQ(runTool({"phylogeny", "--demo", "25", "--seed", "9", "--crossovers", "0", "--start", start, b}).code, 0);
  const std::string svg = dir.read(a);
  EXPECT_EQ(svg, dir.read(b));
  EXPECT_NE(svg.find("most recent: #26"), std::string::npos);

  EXPECT_NE(runTool({"phylogeny", "--seed", "1", a}).code, 0);  // --demo is required
  EXPECT_NE(runTool({"phylogeny", "--demo", "5", "--show", "3", a}).code, 0);
}

// A short seeded run of the examples in a scratch folder.
struct FilmRun : test_support::ScratchRun {
  FilmRun()
      : ScratchRun({"run", "--quiet", "--seed", "3", "--steps", "9", test_support::exampleFile("walkers.sim"),
                    test_support::exampleFile("seeds.gen")}) {}
};

// Recording only reads the world: the run evolves exactly as without it.
TEST(RunPovFilm, WritesAScenePerSkipPlusOneStepsAndLeavesTheRunAlone) {
  FilmRun r;
  ASSERT_EQ(r.run({"--save", "plain.gen"}), 0) << r.err.str();
  ASSERT_EQ(r.run({"--save", "filmed.gen", "--pov", "film/a b", "--pov-skip", "3"}), 0) << r.err.str();
  for (const char* f : {"world.inc", "vorlund.inc", "povray.ini", "scene0000.pov", "scene0002.pov"})
    EXPECT_TRUE(fs::exists(fs::path("film/a b") / f)) << f;
  EXPECT_FALSE(fs::exists("film/a b/scene0003.pov"));
  EXPECT_NE(test_support::ScratchDir::read("film/a b/scene0002.pov").find("BeginCreature()"), std::string::npos);
  EXPECT_EQ(test_support::withoutFirstLine("plain.gen"), test_support::withoutFirstLine("filmed.gen"));

  fs::create_directories("taken");
  std::ofstream("taken/file") << "x";
  EXPECT_NE(r.run({"--pov", "taken/file"}), 0);
  EXPECT_NE(r.err.str().find("cannot make the scene folder"), std::string::npos);
}

przodek* addRecord(symulator& s, const std::string& genotype, int popsiz, double velocity) {
  auto rec = std::make_unique<przodek>(&s.geneticsContext(), genotype, "", "");
  rec->popsiz = popsiz;
  rec->velocity = velocity;
  return s.pool.add(std::move(rec));
}

// Fitness is velocity alone, so the fittest records are known.
void velocityOnly(symulator& s) {
  s.evol.cr_life = s.evol.cr_di = s.evol.cr_gl = 0;
  s.evol.cr_v = 1;
}

TEST(IslandPools, FittestMigrantsArriveAsOneIndividualAndFoldIntoTheSameGenotype) {
  symulator from, to;
  velocityOnly(from);
  addRecord(from, "X", 4, 1.0);
  addRecord(from, "XX", 2, 3.0);
  addRecord(from, "XXX", 1, 2.0);
  addRecord(to, "XX", 1, 1.0);
  addRecord(to, "X(X,X)", 5, 0.5);

  std::string error;
  EXPECT_EQ(foldPacked(to.pool, packMigrants(from, 2), error), 2) << error;
  ASSERT_EQ(to.pool.size(), 3);  // "XX" folded, "XXX" added, "X" stayed home
  const przodek& folded = *to.pool.get(0);
  EXPECT_EQ(folded.genotype, "XX");
  EXPECT_EQ(folded.popsiz, 2);
  EXPECT_DOUBLE_EQ(folded.velocity, 2.0);  // (1 x 1.0 + 1 x 3.0) / 2
  const przodek& added = *to.pool.get(2);
  EXPECT_EQ(added.genotype, "XXX");
  EXPECT_EQ(added.num, 3);  // numbered by the pool it joined
  EXPECT_EQ(to.pool.nextNumber, 4);

  // A whole pool folds with every individual it averaged.
  EXPECT_EQ(foldPacked(to.pool, packWholePool(from.pool), error), 3);
  EXPECT_EQ(to.pool.get(0)->popsiz, 4);
  EXPECT_EQ(foldPacked(to.pool, "org:\ngenotype:X\n", error), -1);
  EXPECT_FALSE(error.empty());
}

TEST(IslandPools, IslandsWithoutAnMpiLaunchSayWhatTheyNeed) {
  const ToolRun r = runTool({"run", "--islands", "--steps", "10"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("needs an MPI launch"), std::string::npos) << r.err;
}

TEST(IslandPools, IslandZeroKeepsTheSeedAndOthersDiffer) {
  EXPECT_EQ(islandSeed(42, 0), 42u);
  EXPECT_NE(islandSeed(42, 1), islandSeed(42, 2));
  EXPECT_NE(islandSeed(42, 1), islandSeed(43, 1));
}

TEST(IslandExchange, MigrantsArriveOneIntervalLateAndTheFirstMigrationTakesInNothing) {
  symulator a, b;
  velocityOnly(a);
  velocityOnly(b);
  addRecord(a, "X", 1, 1.0);
  addRecord(b, "XX", 3, 2.0);
  IslandExchange ea(2, 1), eb(2, 1);
  const std::string openingOfB = eb.opening("");
  const std::string firstOfB = eb.migrate(b, 1, ea.opening(""), false);
  ea.migrate(a, 1, openingOfB, false);
  EXPECT_EQ(ea.arrived(), 0);
  EXPECT_EQ(a.pool.size(), 1);

  addRecord(b, "XXX", 1, 9.0);  // fittest now, but after migration 1 was posted
  eb.migrate(b, 2, ea.inFlight(), false);
  ea.migrate(a, 2, firstOfB, false);
  EXPECT_EQ(ea.arrived(), 1);
  ASSERT_EQ(a.pool.size(), 2);
  EXPECT_EQ(a.pool.get(1)->genotype, "XX");
  EXPECT_EQ(a.pool.get(1)->popsiz, 1);

  // An unreadable packet folds nothing, says so and stops no one.
  test_support::MessageCapture messages;
  ea.migrate(a, 3, "org:\n", false);
  EXPECT_EQ(a.pool.size(), 2);
  EXPECT_TRUE(messages.has("migrate", "migrants from the previous island were unreadable: no stop line"));
  EXPECT_FALSE(ea.stopsAt(3));
}

TEST(IslandExchange, EveryIslandStopsAtTheSameMigrationAfterTheWordGoesRound) {
  struct Case {
    int count;
    std::vector<std::pair<int, int64_t>> wants;  // island, first migration at which it wants to stop
    int64_t stopsAt;
  };
  const Case cases[] = {
      {2, {{1, 1}}, 2},          {3, {{0, 4}}, 6},          {8, {{5, 4}}, 11},
      {8, {{2, 5}, {6, 3}}, 10}, {8, {{0, 2}, {7, 2}}, 9},
  };
  for (const Case& c : cases) {
    std::vector<StopAgreement> ring(static_cast<std::size_t>(c.count), StopAgreement(c.count));
    std::vector<int64_t> posted(ring.size(), kNoStop), stoppedAt(ring.size(), kNoStop);
    for (int64_t k = 1; k <= 20; ++k) {
      std::vector<int64_t> next(ring.size());
      for (std::size_t r = 0; r < ring.size(); ++r) {
        bool wants = false;
        for (const auto& [island, from] : c.wants) wants = wants || (island == static_cast<int>(r) && k >= from);
        next[r] = ring[r].update(k, posted[(r + ring.size() - 1) % ring.size()], wants);
        if (stoppedAt[r] == kNoStop && ring[r].stopsAt(k)) stoppedAt[r] = k;
      }
      posted = next;
    }
    for (int64_t at : stoppedAt) EXPECT_EQ(at, c.stopsAt) << c.count << " islands";
  }
}

TEST(IslandExchange, PacketsAndTheCheckpointCarryWhatIsInFlight) {
  MigrationPacket p;
  std::string error;
  for (const char* bad : {"", "stop_at:\n", "stop_at:x\n", "stop_at:-2\n", "stop_at:5", "org:\n"})
    EXPECT_FALSE(decodePacket(bad, p, error)) << bad;
  ASSERT_TRUE(decodePacket(encodePacket({7, "org:\ngenotype:X\n\n"}), p, error));
  EXPECT_EQ(p.stopAt, 7);
  EXPECT_EQ(p.migrants, "org:\ngenotype:X\n\n");

  // A resumed island posts what it held, without the stop that ended the run it continues.
  IslandExchange e(2, 1);
  ASSERT_TRUE(decodePacket(e.opening(encodePacket({7, "org:\ngenotype:X\n\n"})), p, error));
  EXPECT_EQ(p.stopAt, kNoStop);
  EXPECT_EQ(p.migrants, "org:\ngenotype:X\n\n");

  symulator a;
  addRecord(a, "X", 1, 1.0);
  const std::string plain = checkpointText(a, 5);
  EXPECT_EQ(plain.find("runner:"), std::string::npos);
  const std::string held = e.inFlight();
  symulator b;
  int64_t steps = 0;
  std::string runner = "stale";
  ASSERT_TRUE(restoreCheckpoint(b, checkpointText(a, 5, held), steps, error, &runner)) << error;
  EXPECT_EQ(runner, held);
  symulator c;
  ASSERT_TRUE(restoreCheckpoint(c, plain, steps, error, &runner)) << error;
  EXPECT_EQ(runner, "");
}

TEST(IslandExchange, WaitingLineGivesTheRingsShareAndTheWorstIslands) {
  EXPECT_EQ(waitingLine({{1, 10}, {3, 10}, {0, 0}}), "islands waited 20.0 % of the time, worst island 30.0 %\n");
  EXPECT_EQ(waitingLine({{0, 0}}), "islands waited 0.0 % of the time, worst island 0.0 %\n");
}

}  // namespace
}  // namespace vorlund::cli

namespace vorlund::cli {
namespace {

TEST(RunSummary, NamesThePoolFileOnlyWhenTheSaveWorkedAndARateOnlyWhenMeasured) {
  test_support::ScratchRun dir({"run", "--steps", "3", test_support::exampleFile("seeds.gen"), "--save"});
  EXPECT_EQ(dir.run({"/nonexistent/dir/a.gen"}), 1);
  EXPECT_EQ(dir.out.str().find("gene pool saved"), std::string::npos) << dir.out.str();
  EXPECT_EQ(dir.run({"a.gen"}), 0);
  EXPECT_NE(dir.out.str().find("gene pool saved to a.gen\n"), std::string::npos) << dir.out.str();

  // Steps, milliseconds and the summary's first line.
  const std::tuple<int64_t, int64_t, const char*> rates[] = {
      {9, 0, "9 steps in 0.0 s\n"},
      {0, 40, "0 steps in 0.0 s\n"},
      {9, 500, "9 steps in 0.5 s (18 steps/s)\n"},
  };
  for (const auto& [steps, ms, line] : rates) {
    const std::string text = summaryText(steps, ms, RunSummary{}, "");
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), line);
  }
}

}  // namespace
}  // namespace vorlund::cli

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/message_capture.h"
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

// --steps 0 loads and saves back without stepping; a file of no use is named.
TEST(RunCommand, ZeroStepsRunsNoStepAndUselessFilesAreNamed) {
  ScratchRun r;
  { std::ofstream("junk.sim") << "nothing here\n"; }
  test_support::MessageCapture log;
  ASSERT_EQ(r.run({"run", "--steps", "0", "--save", "same.gen", examples("seeds.gen"), "junk.sim"}), 0);
  EXPECT_NE(r.out.str().find("0 steps in"), std::string::npos);
  EXPECT_TRUE(log.has("Load", "No usable record in junk.sim"));
  const std::string saved = test_support::ScratchDir::read("same.gen");
  EXPECT_NE(saved.find("name:Long legs"), std::string::npos);
}

TEST(RunCommand, DefaultSimIsReadFirstAndParamsPrintsTheRecord) {
  ScratchRun r;
  { std::ofstream("Default.sim") << "sim_params:\ncapacity:123\nwrldsiz:42\n\n"; }
  ASSERT_EQ(r.run({"run", "--quiet", "--steps", "1", "--save", "p.gen"}), 0);
  ASSERT_EQ(r.run({"params", "--sim", "Default.sim"}), 0);
  const std::string rec = r.out.str();
  EXPECT_EQ(rec.rfind("sim_params:\nmodel:1\n", 0), 0u);
  EXPECT_NE(rec.find("\ncapacity:123\n"), std::string::npos);
  EXPECT_NE(rec.find("\nwrldsiz:42\n"), std::string::npos);
  EXPECT_NE(rec.find("\nfilecomm:0\n"), std::string::npos);
  ASSERT_EQ(r.run({"params"}), 0);
  EXPECT_NE(r.out.str().find("\ncapacity:1000\n"), std::string::npos);
}

}  // namespace
}  // namespace vorlund

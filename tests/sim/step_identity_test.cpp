// The same seed and files give the same pool, CSV and checkpoint bytes
// whatever the step is split over and whichever path the step's sines take.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "core/strutil.h"
#include "support/scratch.h"
#include "world/life.h"
#include "world/step_trig.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

struct RunFiles {
  std::string pool, csv, checkpoint;
};

using test_support::withoutCreationDate;

// "flat, no fights" is the flat world with destructive collisions off: a
// shared step then handles the contacts while other threads already move
// the objects no contact touches.
RunFiles seededRun(const std::string& world, int threads) {
  const bool noFights = world == "flat, no fights";
  const std::string sim = noFights ? "flat" : world;
  const fs::path dir = fs::temp_directory_path() /
                       ("vorlund_identity_" + std::to_string(::getpid()) + "_" + sim + (noFights ? "_nofights_" : "_") +
                        std::to_string(threads));
  fs::create_directories(dir);
  const fs::path saved = fs::current_path();
  fs::current_path(dir);  // the tool writes its message log where it runs
  const std::string source = VORLUND_SOURCE_DIR;
  std::vector<std::string> args = {"vorlund-cli", "run", "--quiet", "--seed", "5", "--steps", "2500", "--every", "500",
                                   "--threads", std::to_string(threads), "--save", "out.gen", "--csv", "out.csv",
                                   "--checkpoint", "out.ckpt", source + "/tests/sim/golden/" + sim + ".sim"};
  if (noFights) {
    std::ofstream("nofights.sim") << "sim_params:\ndescol:0\n";
    args.push_back("nofights.sim");
  }
  args.push_back(source + "/examples/seeds.gen");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  EXPECT_EQ(cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
  RunFiles files{withoutCreationDate(dir / "out.gen"), withoutCreationDate(dir / "out.csv"),
                 withoutCreationDate(dir / "out.ckpt")};
  fs::current_path(saved);
  fs::remove_all(dir);
  return files;
}

void expectSame(const RunFiles& got, const RunFiles& want, const std::string& what) {
  EXPECT_EQ(got.pool, want.pool) << what;
  EXPECT_EQ(got.csv, want.csv) << what;
  EXPECT_EQ(got.checkpoint, want.checkpoint) << what;
}

class StepIdentity : public ::testing::TestWithParam<const char*> {};

// The flat world steps its bookkeeping on the workers; the block world, with
// teleporting edges, fights and splits bodies, keeps it on one thread.
TEST_P(StepIdentity, ThreadCountsAndTrigPathsGiveTheSameFiles) {
  const std::string world = GetParam();
  const TrigPath before = trigPath();
  ASSERT_TRUE(setTrigPath(TrigPath::Scalar));
  const RunFiles reference = seededRun(world, 1);
  ASSERT_FALSE(reference.checkpoint.empty());
  for (TrigPath path : {TrigPath::Sse2, TrigPath::Avx, TrigPath::Avx512}) {
    if (!setTrigPath(path)) continue;  // a processor without AVX or AVX-512VL
    expectSame(seededRun(world, 1), reference, std::string(trigPathName(path)));
  }
  // The golden worlds are small: shared anyway, they show what sharing does.
  const long bar = Life::minWorkToShare;
  Life::minWorkToShare = 0;
  for (int threads : {2, 3}) expectSame(seededRun(world, threads), reference, std::to_string(threads) + " threads");
  Life::minWorkToShare = bar;
  setTrigPath(before);
}

INSTANTIATE_TEST_SUITE_P(FlatAndBlocks, StepIdentity, ::testing::Values("flat", "blocks", "flat, no fights"));

}  // namespace
}  // namespace vorlund

// Seeded runs whose saved gene pools and CSV rows were recorded as golden
// files: any change to what the simulation computes (an optimisation that
// reorders arithmetic included) shows up here as a byte difference.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "core/strutil.h"
#include "support/scratch.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

const std::string kGolden = std::string(VORLUND_SOURCE_DIR) + "/tests/sim/golden/";

using test_support::withoutCreationDate;

class GoldenRun : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenRun, SeededRunReproducesTheRecordedPoolAndCsv) {
  const std::string world = GetParam();
  const fs::path dir = fs::temp_directory_path() / ("vorlund_golden_" + std::to_string(::getpid()) + "_" + world);
  fs::create_directories(dir);
  const fs::path saved = fs::current_path();
  fs::current_path(dir);  // the tool writes its message log where it runs

  std::vector<std::string> args = {"vorlund-cli", "run", "--quiet", "--seed", "5", "--steps", "6000",
                                   "--every", "1000", "--save", "out.gen", "--csv", "out.csv",
                                   kGolden + world + ".sim", std::string(VORLUND_SOURCE_DIR) + "/examples/seeds.gen"};
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  EXPECT_EQ(cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
  EXPECT_EQ(withoutCreationDate(dir / "out.gen"), withoutCreationDate(kGolden + world + ".gen"));
  EXPECT_EQ(withoutCreationDate(dir / "out.csv"), withoutCreationDate(kGolden + world + ".csv"));

  fs::current_path(saved);
  fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(FlatAndBlocks, GoldenRun, ::testing::Values("flat", "blocks"));

}  // namespace
}  // namespace vorlund

#include <gtest/gtest.h>

#include <sstream>

#include "cli.h"

namespace vorlund {
namespace {

TEST(CliCreature, InfoAndNameDescribeFormatZeroGenotype) {
  std::ostringstream out, err;
  const char* info[] = {"vorlund-cli", "info", "/*0*/\np:\np:1\nj:0, 1"};
  EXPECT_EQ(cli::runCli(3, info, out, err), 0);
  EXPECT_EQ(out.str(),
            "format: 0\nsticks: 1\nneurons: 0\nstick ends: 2\nbody size: 1\nbrain size: 0\nname: Ufotug Hih\n");
  std::ostringstream out2, err2;
  const char* name[] = {"vorlund-cli", "name", "/*0*/\np:\np:1\nj:0, 1"};
  EXPECT_EQ(cli::runCli(3, name, out2, err2), 0);
  EXPECT_EQ(out2.str(), "Ufotug Hih\n");
}

}  // namespace
}  // namespace vorlund

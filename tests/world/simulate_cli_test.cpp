#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"

namespace vorlund {
namespace {

struct CliRun {
  int code;
  std::string out, err;
};

CliRun simulate(std::vector<const char*> args) {
  args.insert(args.begin(), {"vorlund-cli", "simulate"});
  std::ostringstream out, err;
  const int code = cli::runCli(static_cast<int>(args.size()), args.data(), out, err);
  return {code, out.str(), err.str()};
}

TEST(SimulateCli, SameSeedSameFiniteLinePerCreature) {
  const CliRun a = simulate({"--seed", "1", "--steps", "300", "X[|G:1]X", "XX"});
  ASSERT_EQ(a.code, 0) << a.err;
  std::istringstream lines(a.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    ASSERT_GE(words.size(), 6u) << line;
    // The last five are energy, lifespan, distance, velocity and vertical position.
    for (std::size_t i = words.size() - 5; i < words.size(); ++i)
      EXPECT_TRUE(std::isfinite(std::stod(words[i]))) << line;
    EXPECT_EQ(words[words.size() - 4], "300") << line;
  }
  EXPECT_EQ(count, 2);
  EXPECT_EQ(simulate({"--seed", "1", "--steps", "300", "X[|G:1]X", "XX"}).out, a.out);
}

TEST(SimulateCli, GenotypeThatBuildsNothingIsReportedAndNothingRuns) {
  const CliRun r = simulate({"--seed", "1", "--steps", "10", "XX", "/*9*/whatever"});
  EXPECT_NE(r.code, 0);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("genotype 2"), std::string::npos);
}

}  // namespace
}  // namespace vorlund

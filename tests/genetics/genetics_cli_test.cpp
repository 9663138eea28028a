// The genetics subcommands of the command-line tool.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "cli.h"
#include "core/message.h"

namespace vorlund {
namespace {

struct CliRun {
  int code;
  std::string out, err;
};

CliRun run(std::vector<const char*> args) {
  args.insert(args.begin(), "vorlund-cli");
  std::ostringstream out, err;
  const int level = stderrLevel();
  setStderrLevel(-1);
  const int code = cli::runCli(static_cast<int>(args.size()), args.data(), out, err);
  setStderrLevel(level);
  return {code, out.str(), err.str()};
}

TEST(GeneticsCli, CheckValidateSimilarityAndStyle) {
  EXPECT_EQ(run({"check", "X(X,X),X"}).out, "7\n");
  EXPECT_EQ(run({"check", "X[1:1]"}).out, "-1\n");
  EXPECT_EQ(run({"check", "/*9*/X"}).out, "-2\n");
  const CliRun v = run({"validate", "X)"});
  EXPECT_EQ(v.code, 0);
  EXPECT_EQ(v.out, "X");
  const CliRun bad = run({"validate", "X(X,X),X"});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "-3\n");
  EXPECT_EQ(run({"similarity", "X", "XX"}).out, "0.625\n");
  EXPECT_EQ(run({"style", "X[S:1]"}).out,
            "0 X 00000000\n1 [ 000000c8\n2 S 02009600\n3 : 000000c8\n4 1 000000c8\n5 ] 000000c8\n");
}

TEST(GeneticsCli, SeededMutantsAndChildrenRepeat) {
  const CliRun a = run({"mutate", "--seed", "7", "--count", "3", "X(X[0:1],LX)"});
  const CliRun b = run({"mutate", "--seed", "7", "--count", "3", "X(X[0:1],LX)"});
  ASSERT_EQ(a.code, 0);
  EXPECT_EQ(a.out, b.out);
  std::istringstream lines(a.out);
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) {
    const nlohmann::json j = nlohmann::json::parse(line);
    EXPECT_TRUE(j.at("genotype").is_string());
    EXPECT_NE(j.at("info").get<std::string>().find("mutation of"), std::string::npos);
    ++n;
  }
  EXPECT_EQ(n, 3);

  const CliRun x = run({"crossover", "--seed", "2", "XX(X,X)", "LLX[*:1]XX"});
  ASSERT_EQ(x.code, 0);
  const nlohmann::json j = nlohmann::json::parse(x.out);
  for (const char* key : {"child1", "info1", "child2", "info2"}) EXPECT_TRUE(j.at(key).is_string()) << key;
  EXPECT_EQ(x.out, run({"crossover", "--seed", "2", "XX(X,X)", "LLX[*:1]XX"}).out);

  const CliRun m = run({"mutate", "--seed", "1", "X(X,X),X"});
  EXPECT_EQ(m.code, 1);
  EXPECT_EQ(m.out, "");
  // Bytes that are not UTF-8 do not break the JSON output.
  const CliRun u = run({"mutate", "--seed", "1", "X\xff"});
  EXPECT_EQ(u.code, 1);
}

}  // namespace
}  // namespace vorlund

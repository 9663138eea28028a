// The command-line tool's subcommands, run in-process.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/message_capture.h"
#include "support/scratch.h"

namespace vorlund::cli {
namespace {

using test_support::runTool;
using test_support::ToolRun;

TEST(Cli, SmallCommandsAnswerAsDocumented) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string out, err;
  };
  const std::string stick = "/*0*/\np:\np:1\nj:0, 1";
  const Case cases[] = {
      {{"format", "/*4*/X"}, 0, "4\n", ""},
      {{"format", "X(X)"}, 0, "1\n", ""},
      {{"same", "X (X)", "X(X)"}, 0, "0\n", ""},
      {{"same", "X", "XX"}, 0, "1\n", ""},
      {{"convert", "--to", "1", "X("}, 0, "X(", ""},
      {{"convert", "--to", "4", "X"}, 1, "/* converter not found */", ""},
      {{"convert", "--to", "0", "X"}, 0, "/*0*/\n\np:\np:1\nj:0, 1\n", ""},
      {{"convert", "--to", "1", "/*4*/\n<<X>X>X"}, 0, "X(X,X)", ""},
      {{"convert", "--to", "0", "/*4*/\nX<X>X"}, 1, "/* f4->f0 conversion failed (Tovi: f4->f0) */", ""},
      {{"check", "X(X,X),X"}, 0, "7\n", ""},
      {{"check", "X[1:1]"}, 0, "-1\n", ""},
      {{"check", "/*9*/X"}, 0, "-2\n", ""},
      {{"check", "   "}, 0, "4\n", ""},  // white space only is wrong past its end
      {{"check", ""}, 0, "1\n", ""},
      {{"validate", "X)"}, 0, "X", ""},
      {{"validate", "X(X,X),X"}, 1, "", "-3\n"},
      {{"similarity", "X", "XX"}, 0, "0.625\n", ""},
      {{"style", "X[S:1]"}, 0, "0 X 00000000\n1 [ 000000c8\n2 S 02009600\n3 : 000000c8\n4 1 000000c8\n5 ] 000000c8\n", ""},
      {{"info", stick}, 0, "format: 0\nsticks: 1\nneurons: 0\nstick ends: 2\nbody size: 1\nbrain size: 0\nname: Ufotug Hih\n", ""},
      {{"name", stick}, 0, "Ufotug Hih\n", ""},
      {{"info", "X(X"}, 1, "", "the genotype is invalid\n"},  // only the error, no summary of an empty body
      {{"mutate", "--seed", "1", "X(X,X),X"}, 1, "", ""},
  };
  for (const Case& c : cases) {
    const ToolRun r = runTool(c.args);
    EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.args.back();
    EXPECT_EQ(r.out, c.out) << c.args[0] << " " << c.args.back();
    if (!c.err.empty()) {
      EXPECT_EQ(r.err, c.err) << c.args[0] << " " << c.args.back();
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

}  // namespace
}  // namespace vorlund::cli

#include "cli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "core/message.h"

namespace vorlund::cli {
namespace {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun run(std::vector<std::string> args) {
  args.insert(args.begin(), "vorlund-cli");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int saved = stderrLevel();
  setStderrLevel(-1);
  const int code = runCli(static_cast<int>(argv.size()), argv.data(), out, err);
  setStderrLevel(saved);
  return {code, out.str(), err.str()};
}

TEST(Cli_Format, PrintsFormatCharacter) {
  EXPECT_EQ(run({"format", "/*4*/X"}).out, "4\n");
  EXPECT_EQ(run({"format", "X(X)"}).out, "1\n");
}

TEST(Cli_Same, ComparesIgnoringWhiteSpace) {
  EXPECT_EQ(run({"same", "X (X)", "X(X)"}).out, "0\n");
  EXPECT_EQ(run({"same", "X", "XX"}).out, "1\n");
}

TEST(Cli_Convert, SameFormatSucceedsUnknownTargetFails) {
  CliRun same = run({"convert", "--to", "1", "X("});
  EXPECT_EQ(same.code, 0);
  EXPECT_EQ(same.out, "X(");
  CliRun none = run({"convert", "--to", "4", "X"});
  EXPECT_EQ(none.code, 1);
  EXPECT_EQ(none.out, "/* converter not found */");
}

TEST(Cli_Sim, SettingsFileSwitchesConvertersOff) {
  {
    std::ofstream f("cli_test.sim");
    f << "# settings\ngkparam:\ngenkonw1:0\n\n";
  }
  CliRun r = run({"--sim", "cli_test.sim", "convert", "--to", "1", "/*2*/X"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "/* converter not found */");
  std::remove("cli_test.sim");
}

TEST(Cli_Errors, MissingArgumentsAndUnknownCommandsFail) {
  EXPECT_NE(run({"format"}).code, 0);
  EXPECT_NE(run({"nosuchcommand"}).code, 0);
  EXPECT_NE(run({"--sim", "/no/such/file.sim", "format", "X"}).code, 0);
}

}  // namespace
}  // namespace vorlund::cli

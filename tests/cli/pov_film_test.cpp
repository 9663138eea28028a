#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "core/strutil.h"

namespace vorlund {
namespace {

namespace fs = std::filesystem;

struct FilmRun {
  FilmRun() {
    dir = fs::temp_directory_path() / ("vorlund_film_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    saved = fs::current_path();
    fs::current_path(dir);
  }
  ~FilmRun() {
    fs::current_path(saved);
    fs::remove_all(dir);
  }
  int run(std::vector<std::string> args) {
    args.insert(args.begin(), {"vorlund-cli", "run", "--quiet", "--seed", "3", "--steps", "9",
                               std::string(VORLUND_SOURCE_DIR) + "/examples/walkers.sim",
                               std::string(VORLUND_SOURCE_DIR) + "/examples/seeds.gen"});
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    return cli::runCli(static_cast<int>(argv.size()), argv.data(), out, err);
  }
  static std::string text(const fs::path& p) {
    std::string t;
    readWholeFile(p.string(), t);
    return t;
  }
  fs::path dir, saved;
  std::ostringstream out, err;
};

// Recording only reads the world: the run evolves exactly as without it.
TEST(RunPovFilm, WritesAScenePerSkipPlusOneStepsAndLeavesTheRunAlone) {
  FilmRun r;
  ASSERT_EQ(r.run({"--save", "plain.gen"}), 0) << r.err.str();
  ASSERT_EQ(r.run({"--save", "filmed.gen", "--pov", "film/a b", "--pov-skip", "3"}), 0) << r.err.str();
  for (const char* f : {"world.inc", "vorlund.inc", "povray.ini", "scene0000.pov", "scene0002.pov"})
    EXPECT_TRUE(fs::exists(r.dir / "film/a b" / f)) << f;
  EXPECT_FALSE(fs::exists(r.dir / "film/a b/scene0003.pov"));
  EXPECT_NE(r.text(r.dir / "film/a b/scene0002.pov").find("BeginCreature()"), std::string::npos);
  const std::string plain = r.text(r.dir / "plain.gen"), filmed = r.text(r.dir / "filmed.gen");
  EXPECT_EQ(plain.substr(plain.find('\n')), filmed.substr(filmed.find('\n')));

  fs::create_directories(r.dir / "taken");
  std::ofstream(r.dir / "taken/file") << "x";
  EXPECT_NE(r.run({"--pov", "taken/file"}), 0);
  EXPECT_NE(r.err.str().find("cannot make the scene folder"), std::string::npos);
}

}  // namespace
}  // namespace vorlund

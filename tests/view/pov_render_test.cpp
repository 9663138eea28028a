// Real renders of exported scenes with our own include file: the scenes must
// parse without a warning and the pictures must show what was exported.
#include <gtest/gtest.h>

#include <cstdlib>

#include "pov_test_support.h"
#include "view/bmp_image.h"
#include "view/pov/pov_exporter.h"
#include "view/pov/shell_command.h"

namespace vorlund {
namespace {

using pov_test::ScratchDir;
using pov_test::stickCreature;

// Small pictures keep the renders quick.
constexpr int kWidth = 96;
constexpr int kHeight = 72;

bool haveRayTracer() { return runShellScript("command -v povray >/dev/null 2>&1", {}) == 0; }

// Renders `scene` in its folder (so the folder's povray.ini applies).
RgbImage render(const std::filesystem::path& scene, std::string& log) {
  const int code = runShellScript(
      "cd \"$1\" && povray +I\"$2\" +O\"$2.bmp\" +FB -D -P +W" + std::to_string(kWidth) + " +H" +
          std::to_string(kHeight) + " >\"$2.log\" 2>&1",
      {scene.parent_path().string(), scene.filename().string()});
  log = ScratchDir::read(scene.string() + ".log");
  EXPECT_EQ(code, 0) << log;
  bool failed = true;
  const RgbImage picture = readTextureFile(scene.string() + ".bmp", failed);
  EXPECT_FALSE(failed);
  return picture;
}

// Renders two scenes and counts the pixels whose colour differs clearly; the
// ray tracer must read the second without a warning.
int differingPixels(const std::filesystem::path& before, const std::filesystem::path& after) {
  std::string log;
  const RgbImage a = render(before, log), b = render(after, log);
  EXPECT_EQ(log.find("Warning:"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error:"), std::string::npos) << log;
  if (b.width != kWidth || b.height != kHeight || a.pixels.size() != b.pixels.size()) return -1;
  int n = 0;
  for (std::size_t i = 0; i + 2 < a.pixels.size(); i += 3) {
    int d = 0;
    for (std::size_t c = 0; c < 3; ++c) d += std::abs(a.pixels[i + c] - b.pixels[i + c]);
    if (d > 30) ++n;
  }
  return n;
}

// Writes one scene of `w` as frame `frame` into `dir`, seen from `view`.
void exportFrame(testing_life::World& w, const std::filesystem::path& dir, int frame, PovViewpoint view) {
  PovExporter pov(w.life);
  pov.vars.pov_dir = dir.string() + "/";
  pov.vars.pov_file = "f%d.pov";
  pov.vars.pov_fr = frame;
  pov.setCameraSource([view] { return view; });
  pov.parameters().set(POV_ACT, "1");
  pov.Frame();
  ASSERT_EQ(pov.vars.pov_act, 1);
}

TEST(PovRender, FlatWorldWithACreatureAndABall) {
  if (!haveRayTracer()) GTEST_SKIP() << "povray is not installed (scripts/install-deps.sh installs it)";
  ScratchDir dir;
  testing_life::World w;
  const PovViewpoint view{{25, 25, 0.5}, {23, 21, 3}};
  exportFrame(w, dir.path, 0, view);
  org* c = stickCreature(w, {24, 24, 0.3}, {25.5, 25, 0.3});
  c->addNeuro(c->getEst(0))->typster = NEURO_MUSCLE_BEND;
  w.ball({26, 23.5, 0.3}, 10);
  exportFrame(w, dir.path, 1, view);
  EXPECT_GT(differingPixels(dir.path / "f0.pov", dir.path / "f1.pov"), kWidth * kHeight / 50);
}

TEST(PovRender, BlocksWorldWithWater) {
  if (!haveRayTracer()) GTEST_SKIP() << "povray is not installed (scripts/install-deps.sh installs it)";
  // Every folder has one world.inc: the flat world for comparison goes into a folder of its own.
  ScratchDir dir;
  const std::filesystem::path flatDir = dir.path / "flat";
  std::filesystem::create_directory(flatDir);
  testing_life::World w;
  const PovViewpoint view{{25, 25, 0}, {5, -5, 30}};
  exportFrame(w, flatDir, 0, view);
  world& g = w.life.world;
  g.vars.wrldtyp = WORLD_BLOCKS;
  g.vars.wrldmap = "m 4 4 9-19 5|55 1555 3-79";
  g.vars.wrldwat = 0.5;
  g.build();
  ASSERT_EQ(g.activeType(), WORLD_BLOCKS);
  stickCreature(w, {25, 25, 2}, {26, 25, 2});
  exportFrame(w, dir.path, 1, view);
  EXPECT_GT(differingPixels(flatDir / "f0.pov", dir.path / "f1.pov"), kWidth * kHeight / 10);
}

}  // namespace
}  // namespace vorlund

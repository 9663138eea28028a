// Real renders of exported scenes with our own include file: the scenes must
// parse without a warning and the pictures must show what was exported.
#include <gtest/gtest.h>

#include <cstdlib>

#include "pov_test_support.h"
#include "view/pov/pov_exporter.h"
#include "view/pov/shell_command.h"

namespace vorlund {
namespace {

using pov_test::readAll;
using pov_test::ScratchDir;
using pov_test::stickCreature;

// Small pictures keep the renders quick.
constexpr int kWidth = 96;
constexpr int kHeight = 72;

bool haveRayTracer() { return runShellScript("command -v povray >/dev/null 2>&1", {}) == 0; }

struct Picture {
  int width = 0, height = 0;
  std::string rgb;  // width x height x 3 bytes
};

// Reads a binary PPM ("P6") as the ray tracer writes it.
Picture readPpm(const std::string& bytes) {
  Picture p;
  std::size_t pos = 0;
  auto token = [&]() {
    while (pos < bytes.size() && (std::isspace(static_cast<unsigned char>(bytes[pos])) || bytes[pos] == '#')) {
      if (bytes[pos] == '#')
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      else
        ++pos;
    }
    const std::size_t start = pos;
    while (pos < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
    return bytes.substr(start, pos - start);
  };
  if (token() != "P6") return p;
  const int w = std::atoi(token().c_str()), h = std::atoi(token().c_str());
  if (token() != "255") return p;
  ++pos;
  if (bytes.size() - pos != static_cast<std::size_t>(w) * h * 3) return p;
  p.width = w;
  p.height = h;
  p.rgb = bytes.substr(pos);
  return p;
}

// Pixels whose colour differs clearly between two pictures of the same size.
int differingPixels(const Picture& a, const Picture& b) {
  int n = 0;
  for (std::size_t i = 0; i + 2 < a.rgb.size(); i += 3) {
    int d = 0;
    for (int c = 0; c < 3; ++c)
      d += std::abs(static_cast<unsigned char>(a.rgb[i + c]) - static_cast<unsigned char>(b.rgb[i + c]));
    if (d > 30) ++n;
  }
  return n;
}

// Renders `scene` in its folder (so the folder's povray.ini applies); the
// ray tracer's messages land in `log`.
Picture render(const ScratchDir& dir, const std::string& scene, std::string& log) {
  const int code = runShellScript(
      "cd \"$1\" && povray +I\"$2\" +O\"$2.ppm\" +FP -D -P +W" + std::to_string(kWidth) + " +H" +
          std::to_string(kHeight) + " >\"$2.log\" 2>&1",
      {dir.path().string(), scene});
  log = readAll(dir.path() / (scene + ".log"));
  EXPECT_EQ(code, 0) << log;
  return readPpm(readAll(dir.path() / (scene + ".ppm")));
}

// Writes one scene of `w` as frame `frame`, looking at `target` from `eye`.
void exportFrame(testing_life::World& w, const ScratchDir& dir, int frame, PovViewpoint view) {
  PovExporter pov(w.life);
  pov.vars.pov_dir = dir.prefix();
  pov.vars.pov_file = "f%d.pov";
  pov.vars.pov_fr = frame;
  pov.setCameraSource([view] { return view; });
  pov.parameters().set(POV_ACT, "1");
  pov.Frame();
  ASSERT_EQ(pov.vars.pov_act, 1);
}

void expectNoWarning(const std::string& log) {
  EXPECT_EQ(log.find("Warning:"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error:"), std::string::npos) << log;
}

TEST(PovRender, FlatWorldWithACreatureAndABall) {
  if (!haveRayTracer()) GTEST_SKIP() << "povray is not installed (scripts/install-deps.sh installs it)";
  ScratchDir dir("render-flat");
  testing_life::World w;
  const PovViewpoint view{{25, 25, 0.5}, {23, 21, 3}};
  exportFrame(w, dir, 0, view);
  org* c = stickCreature(w, {24, 24, 0.3}, {25.5, 25, 0.3});
  c->addNeuro(c->getEst(0))->typster = NEURO_MUSCLE_BEND;
  w.ball({26, 23.5, 0.3}, 10);
  exportFrame(w, dir, 1, view);

  std::string emptyLog, fullLog;
  const Picture empty = render(dir, "f0.pov", emptyLog);
  const Picture full = render(dir, "f1.pov", fullLog);
  expectNoWarning(fullLog);
  ASSERT_EQ(full.width, kWidth);
  ASSERT_EQ(empty.width, kWidth);
  EXPECT_GT(differingPixels(empty, full), kWidth * kHeight / 50);
}

TEST(PovRender, BlocksWorldWithWater) {
  if (!haveRayTracer()) GTEST_SKIP() << "povray is not installed (scripts/install-deps.sh installs it)";
  // Every folder has one world.inc: the flat world for comparison goes elsewhere.
  ScratchDir flatDir("render-blocks-flat"), dir("render-blocks");
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
  exportFrame(w, dir, 1, view);

  std::string flatLog, blocksLog;
  const Picture flat = render(flatDir, "f0.pov", flatLog);
  const Picture blocks = render(dir, "f1.pov", blocksLog);
  expectNoWarning(blocksLog);
  ASSERT_EQ(blocks.height, kHeight);
  EXPECT_GT(differingPixels(flat, blocks), kWidth * kHeight / 10);
}

}  // namespace
}  // namespace vorlund

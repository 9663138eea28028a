#include <gtest/gtest.h>

#include <cmath>

#include "core/strutil.h"
#include "pov_test_support.h"
#include "support/message_capture.h"
#include "view/camera.h"
#include "view/grab.h"
#include "view/pov/pov_exporter.h"
#include "view/pov_binding.h"
#include "view/pov/pov_text.h"

namespace vorlund {
namespace {

using pov_test::prefix;
using pov_test::ScratchDir;
using pov_test::stickCreature;
using test_support::MessageCapture;

// An exporter on a small world, writing "sNNN.pov" into a scratch folder.
struct Recording {
  Recording() : pov(w.life) {
    pov.vars.pov_dir = prefix(dir);
    pov.vars.pov_file = "s%03d.pov";
  }
  void switchOn() { pov.parameters().set(POV_ACT, "1"); }
  // One world step as the exporter sees it: the after-step hooks run.
  void step() {
    for (const StepHook& h : w.life.stepHooks) h.fn(h.arg);
  }
  bool has(const std::string& file) const { return std::filesystem::exists(dir.path / file); }
  // Switched on to write every step: the scene of the first step.
  std::string firstScene() {
    pov.vars.pov_skip = 0;
    switchOn();
    step();
    return ScratchDir::read(dir.path / "s000.pov");
  }

  testing_life::World w;
  ScratchDir dir;
  PovExporter pov;
};

TEST(PovWorldInclude, FlatWorldIncludesOursAndHasNoBlocks) {
  testing_life::World w;
  const std::string t = worldIncludeText(w.life.world);
  EXPECT_NE(t.find("#include \"vorlund.inc\"\n"), std::string::npos);
  EXPECT_NE(t.find("#declare WorldType=WORLD_FLAT;\n"), std::string::npos);
  EXPECT_NE(t.find("#declare WaterLevel=-1;\nBeginWorld()\nEndWorld()\n"), std::string::npos);
}

// Blocks sit where the ground is: the cell of the map's first column starts one
// cell width in, and the ring of level cells around the map is written too.
TEST(PovWorldInclude, SmallBlocksMapTilesTheSquareWhereThePhysicsPutsIt) {
  testing_life::World w;
  world& g = w.life.world;
  g.vars.wrldtyp = WORLD_BLOCKS;
  g.vars.wrldmap = "m 3 1 3-7";
  g.vars.wrldwat = 2;
  g.vars.wrldbnd = BOUNDARY_TELEPORT;
  g.build();
  ASSERT_DOUBLE_EQ(g.height(25, 20), 0.0);  // the ramp's middle
  ASSERT_DOUBLE_EQ(g.height(15, 20), -2.0);
  const std::string t = worldIncludeText(g);
  const std::string expected =
      "#declare WorldType=WORLD_BLOCKS;\n"
      "#declare WorldSize=50;\n"
      "#declare WorldBorder=BORDER_TELEPORT;\n"
      "#declare WaterLevel=2;\n"
      "BeginWorld()\n"
      "#declare WorldBlockX=10;\n"
      "#declare WorldBlockY=16.6667;\n"
      "FlatBlock(0,0,0)\nFlatBlock(10,0,0)\nFlatBlock(20,0,0)\nFlatBlock(30,0,0)\nFlatBlock(40,0,0)\n"
      "FlatBlock(0,16.6667,0)\nFlatBlock(10,16.6667,-2)\nSlideBlockX(20,16.6667,-2,2)\n"
      "FlatBlock(30,16.6667,2)\nFlatBlock(40,16.6667,0)\n"
      "FlatBlock(0,33.3333,0)\nFlatBlock(10,33.3333,0)\nFlatBlock(20,33.3333,0)\nFlatBlock(30,33.3333,0)\n"
      "FlatBlock(40,33.3333,0)\n"
      "EndWorld()\n";
  ASSERT_NE(t.find("#declare WorldType"), std::string::npos);
  EXPECT_EQ(t.substr(t.find("#declare WorldType")), expected);
}

TEST(PovExport, StartWritesTheWorldAndOurIncludeButKeepsTheUsersOwn) {
  Recording r;
  std::ofstream(r.dir.path / "vorlund.inc") << "// mine\n";
  r.switchOn();
  EXPECT_TRUE(r.has("world.inc"));
  EXPECT_TRUE(r.has("povray.ini"));
  EXPECT_EQ(ScratchDir::read(r.dir.path / "vorlund.inc"), "// mine\n");
}

TEST(PovExport, FramesAreNumberedFromTheFirstFrameEverySkipPlusOneSteps) {
  for (int skip : {0, 3}) {
    Recording r;
    r.pov.vars.pov_fr = 7;
    r.pov.vars.pov_skip = skip;
    r.switchOn();
    std::vector<int> written;
    for (int step = 1; step <= 9; ++step) {
      const int before = r.pov.frameNumber();
      r.step();
      if (r.pov.frameNumber() != before) written.push_back(step);
    }
    const std::vector<int> expected = skip == 0 ? std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9} : std::vector<int>{1, 5, 9};
    EXPECT_EQ(written, expected) << "skip " << skip;
    EXPECT_TRUE(r.has("s007.pov"));
    EXPECT_TRUE(r.has(skip == 0 ? "s015.pov" : "s009.pov"));
    EXPECT_NE(ScratchDir::read(r.dir.path / "s007.pov").find("#declare AnimFrame=7;\n#include \"world.inc\"\n"),
              std::string::npos);
  }
}

TEST(PovExport, CreatureWithBendingMuscleAndEquilibriumReceptor) {
  Recording r;
  org* c = stickCreature(r.w, {1, 2, 0.5}, {2, 2, 0.5});
  est* k = c->getEst(0);
  k->r.z = 0.25;
  c->addNeuro(k)->typster = NEURO_MUSCLE_BEND;
  c->addNeuro(k)->addInput()->typ = WEJ_EQUILIBRIUM;
  r.w.ball({5, 5, 1}, 10);
  r.w.ball({6, 6, 1}, 0.001);  // too weak to show

  const std::string stick =
      "#declare St_Asimil=0.25;\n#declare St_Frict=0.4;\n#declare St_Stamina=0.25;\n#declare St_Ingest=0.25;\n";
  const std::string ends = "CreatureStick(<1,2,0.5>,<2,2,0.5>,<0,0,0>)\n"
                           "CreatureStickEnd(<2,2,0.5>,<0,0,0>)\n"
                           "CreatureStickEnd(<1,2,0.5>,<0,0,0>)\n"
                           "EndCreature()\n";
  const std::string full = "BeginCreature()\n#declare St_Old=0;\n#declare St_Damage=0;\n" + stick +
                           "#declare St_Speed=0.25;\n"
                           "#declare St_BendMuscle=1;\n#declare St_BendMusclePos=0.25;\n"
                           "#declare St_RotMuscle=0;\n"
                           "#declare St_Recept_G=1;\n#declare St_Recept_T=0;\n#declare St_Recept_S=0;\n" +
                           ends + "BeginEnergy()\nEnergy(<5,5,1>,10)\nEndEnergy()\n";
  const std::string scene = r.firstScene();
  ASSERT_NE(scene.find("Camera("), std::string::npos);
  EXPECT_EQ(scene.substr(scene.find("BeginCreature")), full);

  // Below Full quality the neurons are not looked at.
  r.pov.vars.pov_stick = POV_STICK_ATTRIBUTES;
  r.step();
  const std::string plain = ScratchDir::read(r.dir.path / "s001.pov");
  EXPECT_NE(plain.find(stick + "#declare St_BendMuscle=0;\n#declare St_RotMuscle=0;\n#declare St_Recept_G=0;\n"),
            std::string::npos);
}

TEST(PovExport, RemainsAreDamagedWithinZeroToOne) {
  Recording r;
  org* c = stickCreature(r.w, {1, 1, 0}, {2, 1, 0});
  c->typ = ORG_FOOD;
  c->energy = -5;  // a hit can leave remains below zero
  std::string t;
  PovSceneContext ctx{&r.pov.vars, -1, nullptr};
  appendCreatureBlock(*c, ctx, t);
  EXPECT_NE(t.find("#declare St_Old=0;\n#declare St_Damage=1;\n"), std::string::npos);
}

// Rotates v about x, then y, then z (degrees), as the ray tracer's rotate does.
Vec3 rotated(Vec3 v, const Vec3& deg) {
  const double k = M_PI / 180;
  const double ax = deg.x * k, ay = deg.y * k, az = deg.z * k;
  v = {v.x, v.y * std::cos(ax) - v.z * std::sin(ax), v.y * std::sin(ax) + v.z * std::cos(ax)};
  v = {v.x * std::cos(ay) + v.z * std::sin(ay), v.y, -v.x * std::sin(ay) + v.z * std::cos(ay)};
  return {v.x * std::cos(az) - v.y * std::sin(az), v.x * std::sin(az) + v.y * std::cos(az), v.z};
}

TEST(PovAngles, TurnTheAxesOntoTheStickFrame) {
  const std::pair<Vec3, Vec3> cases[] = {
      {{1, 0, 0}, {0, 0, 1}},  {{0, 2, 0}, {0, 0, 1}},   {{0, 0, 1}, {1, 0, 0}},
      {{0, 0, -3}, {0, 1, 0}}, {{1, 1, 1}, {0, 0.3, 1}}, {{-1, 0.2, -0.5}, {0.5, -1, 0.2}},
  };
  for (const auto& [along, up] : cases) {
    const Vec3 a = frameAnglesDegrees(along, up);
    const Vec3 x = rotated({1, 0, 0}, a);
    const Vec3 z = rotated({0, 0, 1}, a);
    EXPECT_NEAR((x - along / along.length()).length(), 0, 1e-9);
    EXPECT_NEAR(dot(z, along), 0, 1e-9);
    EXPECT_GT(dot(z, up), 0);
  }
}

TEST(PovExport, CameraIsPulledOutOfTheTerrainOnlyWhenUnderIt) {
  testing_life::World w;
  const world& g = w.life.world;
  // The default view stands outside the fenced square, above the ground.
  const PovViewpoint v = defaultPovViewpoint(g);
  ASSERT_LT(v.eye.y, 0);
  EXPECT_EQ(povEyeAboveGround(g, v.eye), v.eye);
  const Vec3 under = povEyeAboveGround(g, {10, 10, -2});
  EXPECT_NEAR(under.z, -0.02, 1e-12);
  EXPECT_EQ(povEyeAboveGround(g, {-5, 10, -1}), Vec3(-5, 10, -0.01));
}

TEST(PovExport, ScenesAreSeenThroughTheMainCameraAndShowTheGrab) {
  Recording r;
  org* c = stickCreature(r.w, {10, 10, 0.5}, {11, 10, 0.5});
  Camera camera;
  camera.target = {10, 10, 0};
  Grab grab(r.w.life);
  bindPovExporter(r.pov, camera, &grab);
  std::string scene = r.firstScene();
  const Vec3 eye = camera.eye();
  EXPECT_NE(scene.find(ssprintf("Camera(<%lg,%lg,%lg>,<10,10,0>)\n", eye.x, eye.y, eye.z)), std::string::npos);
  EXPECT_EQ(scene.find("Manipulator"), std::string::npos);
  grab.start(*c, 0);
  r.step();
  scene = ScratchDir::read(r.dir.path / "s001.pov");
  EXPECT_NE(scene.find("Manipulator(<10,10,"), std::string::npos);
}

TEST(PovExport, CreateFailureSwitchesOffAndSwitchingOnAgainRestarts) {
  Recording r;
  MessageCapture log;
  r.pov.toggle();  // Shift+E
  EXPECT_EQ(r.pov.vars.pov_act, 1);
  r.pov.toggle();
  EXPECT_EQ(r.pov.vars.pov_act, 0);
  r.pov.vars.pov_dir = prefix(r.dir) + "missing/";
  r.pov.vars.pov_fr = 4;
  r.switchOn();
  EXPECT_TRUE(log.has("Save", "Can't create file. Recording disabled."));
  EXPECT_EQ(r.pov.vars.pov_act, 0);

  r.pov.vars.pov_dir = prefix(r.dir);
  r.switchOn();
  EXPECT_EQ(r.pov.vars.pov_act, 1);
  r.step();
  r.step();  // countdown: nothing
  std::filesystem::remove(r.dir.path / "s004.pov");
  std::filesystem::create_directory(r.dir.path / "s005.pov");  // a folder where the scene should go
  r.pov.vars.pov_skip = 0;
  for (int i = 0; i < 4; ++i) r.step();
  EXPECT_EQ(r.pov.vars.pov_act, 0);
  EXPECT_EQ(log.entries.size(), 2u);

  // Switching on again starts from the first frame: world.inc anew, frame 4.
  std::filesystem::remove(r.dir.path / "s005.pov");
  r.switchOn();
  r.step();
  EXPECT_TRUE(r.has("s004.pov"));
  EXPECT_EQ(r.pov.frameNumber(), 5);
}

TEST(PovExport, CommandGetsThePathsAsArgumentsAndItsReturnCodeIsReported) {
  // A folder whose name a shell would run as a second command.
  Recording r;
  const std::filesystem::path odd = r.dir.path / "a b; touch pwned; 'q\"";
  std::filesystem::create_directories(odd);
  r.pov.vars.pov_dir = odd.string() + "/";
  r.pov.vars.pov_sys = 1;
  const std::string out = (r.dir.path / "args.txt").string();
  r.pov.vars.pov_syspar = "cd '" + r.dir.path.string() + "' && printf '%%s|' '%s' %s > args.txt; exit 3";
  MessageCapture log;
  r.switchOn();
  r.step();
  EXPECT_EQ(ScratchDir::read(out), odd.string() + "/s000.pov|" + odd.string() + "/|");
  EXPECT_TRUE(log.has("system()", "Return code 3"));
  EXPECT_FALSE(std::filesystem::exists(r.dir.path / "pwned"));
  EXPECT_FALSE(std::filesystem::exists("pwned"));
}

TEST(PovText, PatternTakesOneIntegerAndTheCommandTwoTexts) {
  EXPECT_EQ(formatFrameName("scene%03d.pov", 7), "scene007.pov");
  EXPECT_EQ(formatFrameName("a%%b%-4i.pov", 12), "a%b12  .pov");
  EXPECT_EQ(formatFrameName("still.pov", 3), "still.pov");
  for (const char* bad : {"", "s%s.pov", "%d%d", "%n", "%ld%", "x%040d", "%.3d", "%x"})
    EXPECT_FALSE(formatFrameName(bad, 1).has_value()) << bad;
  EXPECT_EQ(commandScript("povray +I%s +O\"%s\"x 100%%"), "povray +I\"$1\" +O\"$2\"x 100%");
  EXPECT_EQ(commandScript("echo '%s'"), "echo \"$1\"");
  for (const char* bad : {"%s %s %s", "%d", "50%", "%ls"}) EXPECT_FALSE(commandScript(bad).has_value()) << bad;
}

TEST(PovExport, MalformedPatternIsRefusedAndNothingIsWritten) {
  Recording r;
  MessageCapture log;
  r.pov.vars.pov_file = "s%s.pov";
  r.switchOn();
  r.step();
  EXPECT_EQ(r.pov.vars.pov_act, 0);
  ASSERT_EQ(log.entries.size(), 1u);
  EXPECT_EQ(log.entries[0].level, LOG_WARNING);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(r.dir.path), {}), 3);  // world.inc, vorlund.inc, povray.ini
}

TEST(PovExport, DustRisesFromSlippingEndsAndThinsOut) {
  Recording r;
  org* c = stickCreature(r.w, {1, 1, 0}, {2, 1, 0});
  ses* e = c->getSes(1);
  e->contact = 1;
  e->state = SES_SLIDING;
  e->anchor = e->p + Vec3(0.1, 0, 0);
  e->v = {0.01, 0, 0};
  r.firstScene();
  EXPECT_TRUE(r.pov.dustClouds().empty());  // dust off
  r.pov.vars.pov_dust = 1;
  r.step();
  ASSERT_EQ(r.pov.dustClouds().size(), 1u);
  EXPECT_NE(ScratchDir::read(r.dir.path / "s001.pov").find("DustCloud(<2,1,0>,1,1)\n"), std::string::npos);
  e->state = 0;
  for (int i = 0; i < 10; ++i) r.step();
  EXPECT_TRUE(r.pov.dustClouds().empty());
}

}  // namespace
}  // namespace vorlund

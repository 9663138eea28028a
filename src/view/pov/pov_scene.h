// The text of the exporter's files: the world include file and the pieces of
// a scene (creature blocks, energy balls, dust clouds). Pure text making, so
// that it is checked line by line without touching the disk.
#pragma once

#include <string>
#include <vector>

#include "view/pov/pov_param.h"
#include "world/vec3.h"

namespace vorlund {

class world;
class org;
struct est;

// A cloud of dust raised by a slipping stick end, drifting and growing until
// it has thinned out.
struct PovDustCloud {
  Vec3 p;
  Vec3 v;
  double size = 1.0;
  double amount = 0.0;
  int state = 0;  // 0 drifting; anything else falls (velocity, gravity)
  int age = 0;    // frames written
  bool finished = false;
};

// Bounds that keep a long dusty recording from growing without end.
constexpr std::size_t kPovMaxDustClouds = 500;
constexpr int kPovDustMaxAge = 200;  // frames
// A slip raises dust only above this amount; amounts are capped at 1.
constexpr double kPovDustThreshold = 0.05;
// Drift of a drifting cloud per frame, in world units.
constexpr Vec3 kPovDustDrift{0.03, 0.01, 0.03};
// A cloud is gone when amount / size^3 falls below this.
constexpr double kPovDustThin = 0.05;
// Falling clouds: velocity kept per frame and the fall added to it.
constexpr double kPovDustDamp = 0.93;
constexpr double kPovDustFall = 0.005;
// An energy ball this weak or weaker is not shown.
constexpr double kPovMinBallEnergy = 0.001;
// A stick shorter than this share of its made length is not shown.
constexpr double kPovMinStickShare = 0.1;

// Rotation angles in degrees, applied about x, then y, then z (fixed axes),
// that turn the unit axes onto a frame whose x axis is `along` and whose z
// axis lies in the plane of `along` and `up`.
Vec3 frameAnglesDegrees(const Vec3& along, const Vec3& up);
// The angles of a stick: x from its first end to its second, z from the
// frame the joint gives it (the first end's frame turned by the stick).
Vec3 stickAnglesDegrees(const est& k);

// "world.inc": the world's type, size, border, water and blocks.
std::string worldIncludeText(const world& w);

// Everything a creature block needs besides the creature.
struct PovSceneContext {
  const PovSettings* settings = nullptr;
  double waterLevel = 0.0;
  std::vector<PovDustCloud>* dust = nullptr;  // new clouds are appended when dust is on
};

// Whether every stick end of the object sits at a finite place.
bool finitePositions(const org& o);

// Appends the creature block of `o` (which has sticks) to `out`.
void appendCreatureBlock(const org& o, const PovSceneContext& ctx, std::string& out);
// Appends the line of one cloud and moves it on by one frame.
void appendDustCloud(PovDustCloud& cloud, const PovSettings& s, double waterLevel, std::string& out);

}  // namespace vorlund

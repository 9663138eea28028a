// The static ground of the 3D view as plain geometry: the flat checker, the
// block tops, ramps and walls, the teleport band and the fence. The renderer
// records it into a display list; tests hold it against the world's heights.
#pragma once

#include <vector>

#include "world/vec3.h"
#include "world/world_map.h"

namespace vorlund {

// The ground is drawn this far below where the physics puts it, so that
// objects resting on it are not cut by it.
constexpr double kGroundDrawOffset = -0.1;
// Width of the teleport band around the square.
constexpr double kTeleportBand = 5.0;
// Blocks above this height take the "Heights" texture.
constexpr double kHighGround = 2.5;

// The checker and the fence divide the side into n steps: the side halved
// until it is at most kGridSideMax, truncated.
constexpr double kGridSideMax = 7.0;
struct GroundGrid {
  int n;
  double step;
};
GroundGrid groundGrid(double size);

enum class GroundPart { Tile, Top, WallX, WallY, Band };

struct GroundQuad {
  Vec3 v[4];       // counter-clockwise seen from the side the normal points to
  Vec3 normal;
  GroundPart part;
  int parity;      // checker colour: 0 light, 1 dark
  double height;   // the cell's height (blocks), for the choice of texture
};

struct GroundMesh {
  std::vector<GroundQuad> quads;
  std::vector<WorldBox> fence;  // posts and rails
};

// Everything the ground of `w` shows; flat ground only with `checker`.
GroundMesh buildGroundMesh(const world& w, bool checker);

}  // namespace vorlund

// The world the creatures live in: a square of side `wrldsiz`, flat or made of
// blocks with ramps, a water level and a boundary rule. It answers where the
// ground is (height, and whether a point is inside it and where it should go)
// and owns the accessor of its "World" settings.
#pragma once

#include <span>
#include <string>

#include "world/block_ground_avx.h"
#include "world/block_map.h"
#include "world/vec3.h"
#include "world/world_inhabitants.h"
#include "world/world_settings.h"
#include "world/wrld_param.h"

namespace vorlund {

// An axis-aligned box, as the bounding boxes of creatures are kept.
struct WorldBox {
  Vec3 min;
  Vec3 max;
};

// Whether two boxes share some volume (boxes that only touch do not).
constexpr bool boxesOverlap(const WorldBox& a, const WorldBox& b) {
  return a.min.x < b.max.x && b.min.x < a.max.x && a.min.y < b.max.y && b.min.y < a.max.y && a.min.z < b.max.z &&
         b.min.z < a.max.z;
}

// Margin added to every side of an object's box before it may teleport, so that
// it lands clear of the edge it crossed.
constexpr double kTeleportMargin = 1.0;

class world {
 public:
  world();
  world(const world&) = delete;
  world& operator=(const world&) = delete;

  // The "World" table's fields. Writing them directly takes effect on the next build().
  WorldSettings vars;

  // The accessor bound to `vars`; the simulator chains it behind its own table.
  param& parameters() { return params_; }

  // The creatures that a world change removes; observed, may be null.
  void setInhabitants(WorldInhabitants* inhabitants) { inhabitants_ = inhabitants; }

  // Makes the terrain from the settings. A blocks map that cannot be built leaves
  // a flat world and says why.
  void build();

  // The world-changed rule and a rebuild, after the type, size or map was set:
  // when the settings no longer describe the terrain in effect, the living
  // creatures are removed (they could stand inside a new block), then the terrain
  // is rebuilt. A flat world that only grows keeps them.
  void settingsChanged();

  // --- the terrain in effect ---
  int activeType() const { return activeType_; }
  double activeSize() const { return activeSize_; }
  const std::string& activeMap() const { return activeMap_; }
  double waterLevel() const { return vars.wrldwat; }
  int boundaries() const { return vars.wrldbnd; }
  // The cell grid of a blocks world (empty in a flat one) and its cell sizes.
  const BlockMap& blocks() const { return map_; }
  int columns() const { return map_.columns; }
  int rows() const { return map_.rows; }
  double cellWidth() const { return grid_.cellWidth; }
  double cellDepth() const { return grid_.cellDepth; }

  // Terrain height at (x, y): 0 in a flat world and outside the square.
  double height(double x, double y) const;

  // Whether two points lie in the same cell column of a blocks world (always
  // true in a flat one): a stick between different cells may cross a block side.
  bool sameCell(const Vec3& a, const Vec3& b) const;

  // Whether p lies below the terrain or beyond a fence; `q` receives where the
  // point should be (p itself when the answer is false).
  bool insideGround(const Vec3& p, Vec3& q) const;

  // insideGround for four points at once, p[axis][i] and q[axis][i]: in a
  // blocks world on the AVX paths the points over the grid take the lanes of
  // blockGroundAvx, any other (beyond the square, not a number, in a flat
  // world or without lanes) the test above. Returns the answers as bits,
  // point i as bit i.
  int insideGroundOfFour(const double (&p)[3][kGroundLanes], double (&q)[3][kGroundLanes]) const;
  // The same for points at four addresses (x, y, z and a fourth double
  // readable after them), such as stick ends' positions.
  int insideGroundOfFourAt(const double* const (&at)[kGroundLanes], double (&q)[3][kGroundLanes]) const;
  // !sameCell for four pairs of points, the same way (see otherCellsAvx).
  int otherCellsOfFour(const double* const (&a)[kGroundLanes], const double* const (&b)[kGroundLanes]) const;

  // Teleport across the edges: the shift that brings an object whose box has
  // wholly left the square back in touching the opposite edge. False (shift 0)
  // when nothing has to move, or when the shifted box would overlap one of the
  // `others` (the boxes of the other living creatures); then it waits.
  bool teleportShift(const WorldBox& box, std::span<const WorldBox> others, Vec3& shift) const;

 private:
  // The cell under an inside point and its four neighbours.
  struct CellLookup {
    int i = 0, j = 0;          // world cell
    double fx = 0, fy = 0;     // position within it, 0 .. 1
    const MapCell* c = nullptr;
    const MapCell* left = nullptr;
    const MapCell* right = nullptr;
    const MapCell* down = nullptr;
    const MapCell* up = nullptr;
    double surface = 0;        // terrain height at the point
  };
  bool inSquare(double x, double y) const;
  // Requires a blocks world and a point inside the square.
  CellLookup lookup(double x, double y) const;
  bool insideBlocks(const Vec3& p, Vec3& q) const;

  wrld_param params_;
  WorldInhabitants* inhabitants_ = nullptr;

  int activeType_ = WORLD_FLAT;
  // The type that was asked for when the terrain in effect was built: a blocks
  // map that failed leaves activeType_ flat while this stays blocks.
  int builtType_ = WORLD_FLAT;
  double activeSize_ = kWorldSizeDefault;
  std::string activeMap_;
  BlockMap map_;
  // The cells as lookup and insideGroundOfFour's lanes read them, and their
  // sizes: all zero in a flat world.
  BlockGrid grid_{};
};

// Inline: the motion step asks for every stick end, and in a flat world the
// answer is a few comparisons.
inline bool world::inSquare(double x, double y) const {
  return x >= 0 && x < activeSize_ && y >= 0 && y < activeSize_;
}

inline bool world::insideGround(const Vec3& p, Vec3& q) const {
  q = p;
  bool inside = false;
  const double size = activeSize_;
  if (vars.wrldbnd == BOUNDARY_FENCE) {
    if (p.x < 0) {
      q.x = 0;
      inside = true;
    } else if (p.x > size) {
      q.x = size;
      inside = true;
    }
    if (p.y < 0) {
      q.y = 0;
      inside = true;
    } else if (p.y > size) {
      q.y = size;
      inside = true;
    }
  }
  // Beyond the square, and in a flat world, the ground is the plane z = 0. The
  // far edges themselves count as beyond for the blocks, whose grid ends there.
  // A coordinate that is not a number lands here too, away from the grid.
  const bool onBlocks = activeType_ == WORLD_BLOCKS && inSquare(p.x, p.y);
  if (!onBlocks) {
    if (p.z < 0) {
      q.z = 0;
      inside = true;
    }
    return inside;
  }
  return insideBlocks(p, q);
}

}  // namespace vorlund

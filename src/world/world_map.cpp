#include "world/world_map.h"

#include <algorithm>
#include <cmath>

#include "core/message.h"
#include "core/strutil.h"
#include "world/step_lanes.h"

namespace vorlund {

namespace {

constexpr const char* kModule = "world";
constexpr const char* kWorldChanged = "World changed - all simulated objects removed";

// Moves a point `depth` below a ramp out to the foot of the perpendicular on its
// slope. `along` is its coordinate on the ramp's axis, where the ramp spans cell
// `cell` of width `width` from height `startHeight` to `endHeight`; the ramp
// runs the same way along x and along y.
void outOfRamp(double along, double z, double depth, int cell, double width, double startHeight, double endHeight,
               double& qAlong, double& qz) {
  const double s = endHeight - startHeight;
  const double t = depth * width / (width * width + s * s);
  if (s <= 0) {
    qAlong = std::min(along - s * t, (cell + 1) * width);
    qz = std::max(endHeight, z + width * t);
  } else {
    qAlong = std::max(along - s * t, cell * width);
    qz = std::max(startHeight, z + width * t);
  }
}

}  // namespace

world::world() : params_(*this) { build(); }

void world::build() {
  activeType_ = WORLD_FLAT;
  map_ = BlockMap{};
  grid_ = BlockGrid{};
  // The table keeps the size in range; a direct write may not have.
  if (!(vars.wrldsiz >= kWorldSizeMin && vars.wrldsiz <= kWorldSizeMax)) {
    const double fixed = std::isnan(vars.wrldsiz) ? kWorldSizeDefault
                                                  : std::clamp(vars.wrldsiz, kWorldSizeMin, kWorldSizeMax);
    logMessage(kModule, "build", ssprintf("World size %lg is out of range, using %lg", vars.wrldsiz, fixed),
               LOG_WARNING);
    vars.wrldsiz = fixed;
  }
  builtType_ = vars.wrldtyp;
  if (vars.wrldtyp == WORLD_BLOCKS) {
    std::string problem;
    if (buildBlockMap(vars.wrldmap, map_, problem)) {
      activeType_ = WORLD_BLOCKS;
      grid_ = {map_.cells.data(), map_.columns, map_.nx + 1, map_.ny + 1,
               vars.wrldsiz / (map_.nx + 2), vars.wrldsiz / (map_.ny + 2), vars.wrldsiz};
    } else {
      logMessage(kModule, "build",
                 ssprintf("Cannot use the map \"%s\": %s. The world is flat.", vars.wrldmap.c_str(), problem.c_str()),
                 LOG_WARNING);
    }
  }
  activeMap_ = vars.wrldmap;
  activeSize_ = vars.wrldsiz;
}

void world::settingsChanged() {
  // Compared with what the terrain in effect was built from, so that setting a
  // value again (as loading the same settings does) leaves the creatures alone,
  // also while a bad blocks map keeps the world flat.
  const bool changed = vars.wrldtyp != builtType_ ||
                       (activeType_ == WORLD_BLOCKS && vars.wrldsiz != activeSize_) ||
                       vars.wrldsiz < activeSize_ || vars.wrldmap != activeMap_;
  if (changed && inhabitants_ != nullptr && inhabitants_->anyLiving()) {
    inhabitants_->removeAllLiving();
    logMessage(kModule, "set", kWorldChanged, LOG_PLAIN);
  }
  build();
}

world::CellLookup world::lookup(double x, double y) const {
  CellLookup k;
  const double gx = x / grid_.cellWidth;
  const double gy = y / grid_.cellDepth;
  // Rounding can put a point just below the far edge one cell too far; the
  // neighbour beyond it would lie outside the grid.
  k.i = std::min(static_cast<int>(gx), map_.nx + 1);
  k.j = std::min(static_cast<int>(gy), map_.ny + 1);
  k.fx = gx - k.i;
  k.fy = gy - k.j;
  k.c = &map_.at(k.i + 1, k.j + 1);
  k.left = &map_.at(k.i, k.j + 1);
  k.right = &map_.at(k.i + 2, k.j + 1);
  k.down = &map_.at(k.i + 1, k.j);
  k.up = &map_.at(k.i + 1, k.j + 2);
  switch (k.c->kind) {
    case CELL_RAMP_X:
      k.surface = k.left->height + (k.right->height - k.left->height) * k.fx;
      break;
    case CELL_RAMP_Y:
      k.surface = k.down->height + (k.up->height - k.down->height) * k.fy;
      break;
    default:
      k.surface = k.c->height;
  }
  return k;
}

double world::height(double x, double y) const {
  if (activeType_ != WORLD_BLOCKS || !inSquare(x, y)) return 0.0;
  return lookup(x, y).surface;
}

bool world::sameCell(const Vec3& a, const Vec3& b) const {
  if (activeType_ != WORLD_BLOCKS) return true;
  // Compared as truncated reals: far-away points must not overflow an int.
  return std::trunc(a.x / grid_.cellWidth) == std::trunc(b.x / grid_.cellWidth) &&
         std::trunc(a.y / grid_.cellDepth) == std::trunc(b.y / grid_.cellDepth);
}

bool world::insideBlocks(const Vec3& p, Vec3& q) const {
  const CellLookup k = lookup(p.x, p.y);
  const double w = grid_.cellWidth;
  const double dp = grid_.cellDepth;
  const double hc = k.c->height;
  double d = k.surface - p.z;
  if (!(d >= 0)) return false;

  // Near a side of a higher block a point leaves sideways, through the nearer
  // side, rather than being lifted onto the top.
  bool pushedX = false;
  const double dRight = (k.i + 1) * w - p.x;
  const double dLeft = p.x - k.i * w;
  if (d > dRight && hc > k.right->height) {
    q.x = (k.i + 1) * w;
    q.z = std::max(k.right->height, p.z);
    d = dRight;
    pushedX = true;
  } else if (d > dLeft && hc > k.left->height) {
    q.x = k.i * w;
    q.z = std::max(k.left->height, p.z);
    d = dLeft;
    pushedX = true;
  }

  const double dUp = (k.j + 1) * dp - p.y;
  const double dDown = p.y - k.j * dp;
  if (d > dUp && hc > k.up->height) {
    q.y = (k.j + 1) * dp;
    q.x = p.x;
    q.z = std::max(k.up->height, q.z);
    return true;
  }
  if (d > dDown && hc > k.down->height) {
    q.y = k.j * dp;
    q.x = p.x;
    q.z = std::max(k.down->height, q.z);
    return true;
  }
  if (pushedX) return true;

  // Out through the top: straight up on a level block; on a ramp to the foot of
  // the perpendicular on its slope, so the point lands on the surface whatever
  // the steepness. Never past the cell's lower edge, never below its lower side.
  if (k.c->kind == CELL_RAMP_X)
    outOfRamp(p.x, p.z, d, k.i, w, k.left->height, k.right->height, q.x, q.z);
  else if (k.c->kind == CELL_RAMP_Y)
    outOfRamp(p.y, p.z, d, k.j, dp, k.down->height, k.up->height, q.y, q.z);
  else
    q.z = k.surface;
  return true;
}

namespace {

// The lanes' answers, and the world's own test for the points they gave
// none (beyond the square, not numbers, or every point without lanes).
template <class Point>
int withPlainTests(const world& w, GroundLanes lanes, Point point, double (&q)[3][kGroundLanes]) {
  int inside = lanes.inside;
  for (int i = 0; i < kGroundLanes; ++i) {
    if (!(lanes.offGrid & 1 << i)) continue;
    Vec3 corrected;
    if (w.insideGround(point(i), corrected)) inside |= 1 << i;
    q[0][i] = corrected.x;
    q[1][i] = corrected.y;
    q[2][i] = corrected.z;
  }
  return inside;
}

constexpr GroundLanes kNoGrid{0, (1 << kGroundLanes) - 1};

}  // namespace

int world::insideGroundOfFour(const double (&p)[3][kGroundLanes], double (&q)[3][kGroundLanes]) const {
  const StepLanes* const step = activeType_ == WORLD_BLOCKS ? stepLanes() : nullptr;
  const GroundLanes lanes = step != nullptr ? step->blockGround(grid_, p, q) : kNoGrid;
  return withPlainTests(*this, lanes, [&p](int i) { return Vec3(p[0][i], p[1][i], p[2][i]); }, q);
}

int world::insideGroundOfFourAt(const double* const (&at)[kGroundLanes], double (&q)[3][kGroundLanes]) const {
  const StepLanes* const step = activeType_ == WORLD_BLOCKS ? stepLanes() : nullptr;
  const GroundLanes lanes = step != nullptr ? step->blockGroundAt(grid_, at, q) : kNoGrid;
  return withPlainTests(*this, lanes, [&at](int i) { return Vec3(at[i][0], at[i][1], at[i][2]); }, q);
}

int world::otherCellsOfFour(const double* const (&a)[kGroundLanes], const double* const (&b)[kGroundLanes]) const {
  const StepLanes* const step = activeType_ == WORLD_BLOCKS ? stepLanes() : nullptr;
  if (step != nullptr) return step->otherCells(grid_, a, b);
  int other = 0;
  for (int i = 0; i < kGroundLanes; ++i)
    if (!sameCell(Vec3(a[i][0], a[i][1], a[i][2]), Vec3(b[i][0], b[i][1], b[i][2]))) other |= 1 << i;
  return other;
}

bool world::teleportShift(const WorldBox& box, std::span<const WorldBox> others, Vec3& shift) const {
  const Vec3 margin(kTeleportMargin, kTeleportMargin, kTeleportMargin);
  const WorldBox wide{box.min - margin, box.max + margin};
  const double size = activeSize_;
  shift = Vec3();
  bool moved = false;
  if (wide.min.x > size) {
    shift.x = -wide.min.x;
    moved = true;
  }
  if (wide.min.y > size) {
    shift.y = -wide.min.y;
    moved = true;
  }
  if (wide.max.x < 0) {
    shift.x = size - wide.max.x;
    moved = true;
  }
  if (wide.max.y < 0) {
    shift.y = size - wide.max.y;
    moved = true;
  }
  if (!moved) return false;
  const WorldBox landed{wide.min + shift, wide.max + shift};
  for (const WorldBox& other : others) {
    if (boxesOverlap(landed, other)) {
      shift = Vec3();
      return false;
    }
  }
  return true;
}

}  // namespace vorlund

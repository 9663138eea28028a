#include "view/ground_mesh.h"

#include <cmath>

namespace vorlund {

namespace {

constexpr double kGridStepSlack = 0.0001;
// Fence posts: height as a share of the step and half-thickness; rails:
// half-thickness and height as a share of the step.
constexpr double kPostHeightShare = 0.5;
constexpr double kPostHalf = 0.25;
constexpr double kRailHalf = 0.2;
constexpr double kRailHeightShare = 0.4;
// How far the terrain's outer sides reach below its lowest cell.
constexpr double kSkirtDepth = 1.0;

Vec3 normalOf(const Vec3 (&v)[4]) {
  const Vec3 n = cross(v[1] - v[0], v[2] - v[0]);
  const double len = n.length();
  return len > 0 ? n / len : Vec3(0, 0, 1);
}

GroundQuad quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, GroundPart part, int parity, double height) {
  GroundQuad q{{a, b, c, d}, {}, part, parity, height};
  q.normal = normalOf(q.v);
  return q;
}

// Heights of a cell's top at its four corners: (x0,y0), (x1,y0), (x1,y1), (x0,y1).
struct Corners {
  double h[4];
};

Corners cornersOf(const BlockMap& m, int gi, int gj) {
  const MapCell& c = m.at(gi, gj);
  switch (c.kind) {
    case CELL_RAMP_X: {
      const double l = m.at(gi - 1, gj).height, r = m.at(gi + 1, gj).height;
      return {{l, r, r, l}};
    }
    case CELL_RAMP_Y: {
      const double d = m.at(gi, gj - 1).height, u = m.at(gi, gj + 1).height;
      return {{d, d, u, u}};
    }
    default:
      return {{c.height, c.height, c.height, c.height}};
  }
}

void addBlocks(const world& w, GroundMesh& mesh) {
  const BlockMap& m = w.blocks();
  const double cw = w.cellWidth(), cd = w.cellDepth();
  const double z0 = kGroundDrawOffset;
  // World cell (i, j) is grid cell (i + 1, j + 1); the grid's outer ring
  // lies outside the square, so every neighbour read here exists.
  for (int j = 0; j < m.ny + 2; ++j) {
    for (int i = 0; i < m.nx + 2; ++i) {
      const int gi = i + 1, gj = j + 1;
      const double x0 = i * cw, x1 = (i + 1) * cw, y0 = j * cd, y1 = (j + 1) * cd;
      const Corners c = cornersOf(m, gi, gj);
      const int parity = (i + j) & 1;
      const double h = m.at(gi, gj).height;
      mesh.quads.push_back(quad({x0, y0, c.h[0] + z0}, {x1, y0, c.h[1] + z0}, {x1, y1, c.h[2] + z0},
                                {x0, y1, c.h[3] + z0}, GroundPart::Top, parity, h));
      // The wall between this cell and its +x neighbour, from one top edge to the other.
      if (i + 1 < m.nx + 2) {
        const Corners n = cornersOf(m, gi + 1, gj);
        const double a0 = c.h[1], a1 = c.h[2], b0 = n.h[0], b1 = n.h[3];
        if (std::fabs(a0 - b0) > 1e-9 || std::fabs(a1 - b1) > 1e-9) {
          // Counter-clockwise seen from the lower side's direction.
          const bool faceX = a0 + a1 > b0 + b1;
          GroundQuad q = faceX ? quad({x1, y0, b0 + z0}, {x1, y1, b1 + z0}, {x1, y1, a1 + z0}, {x1, y0, a0 + z0},
                                      GroundPart::WallX, parity, h)
                               : quad({x1, y1, a1 + z0}, {x1, y0, a0 + z0}, {x1, y0, b0 + z0}, {x1, y1, b1 + z0},
                                      GroundPart::WallX, parity, h);
          q.normal = {faceX ? 1.0 : -1.0, 0, 0};
          mesh.quads.push_back(q);
        }
      }
      if (j + 1 < m.ny + 2) {
        const Corners n = cornersOf(m, gi, gj + 1);
        const double a0 = c.h[3], a1 = c.h[2], b0 = n.h[0], b1 = n.h[1];
        if (std::fabs(a0 - b0) > 1e-9 || std::fabs(a1 - b1) > 1e-9) {
          const bool faceY = a0 + a1 > b0 + b1;
          GroundQuad q = faceY ? quad({x1, y1, b1 + z0}, {x0, y1, b0 + z0}, {x0, y1, a0 + z0}, {x1, y1, a1 + z0},
                                      GroundPart::WallY, parity, h)
                               : quad({x0, y1, a0 + z0}, {x1, y1, a1 + z0}, {x1, y1, b1 + z0}, {x0, y1, b0 + z0},
                                      GroundPart::WallY, parity, h);
          q.normal = {0, faceY ? 1.0 : -1.0, 0};
          mesh.quads.push_back(q);
        }
      }
    }
  }
}

// The outer sides of the terrain, from the edge cells' tops down to below
// the lowest cell, so that no view under the edge looks into the blocks.
void addSkirt(const world& w, GroundMesh& mesh) {
  const BlockMap& m = w.blocks();
  const double cw = w.cellWidth(), cd = w.cellDepth();
  const double z0 = kGroundDrawOffset;
  double lowest = 0;
  for (const MapCell& c : m.cells) lowest = std::fmin(lowest, c.height);
  const double floor = lowest + z0 - kSkirtDepth;
  const int lastI = m.nx + 1, lastJ = m.ny + 1;
  const double size = w.activeSize();
  for (int j = 0; j <= lastJ; ++j) {
    const double y0 = j * cd, y1 = (j + 1) * cd;
    const Corners a = cornersOf(m, 1, j + 1), b = cornersOf(m, lastI + 1, j + 1);
    GroundQuad west = quad({0, y1, floor}, {0, y0, floor}, {0, y0, a.h[0] + z0}, {0, y1, a.h[3] + z0},
                           GroundPart::WallX, j & 1, m.at(1, j + 1).height);
    west.normal = {-1, 0, 0};
    mesh.quads.push_back(west);
    GroundQuad east = quad({size, y0, floor}, {size, y1, floor}, {size, y1, b.h[2] + z0}, {size, y0, b.h[1] + z0},
                           GroundPart::WallX, (lastI + j) & 1, m.at(lastI + 1, j + 1).height);
    east.normal = {1, 0, 0};
    mesh.quads.push_back(east);
  }
  for (int i = 0; i <= lastI; ++i) {
    const double x0 = i * cw, x1 = (i + 1) * cw;
    const Corners a = cornersOf(m, i + 1, 1), b = cornersOf(m, i + 1, lastJ + 1);
    GroundQuad south = quad({x0, 0, floor}, {x1, 0, floor}, {x1, 0, a.h[1] + z0}, {x0, 0, a.h[0] + z0},
                            GroundPart::WallY, i & 1, m.at(i + 1, 1).height);
    south.normal = {0, -1, 0};
    mesh.quads.push_back(south);
    GroundQuad north = quad({x1, size, floor}, {x0, size, floor}, {x0, size, b.h[3] + z0}, {x1, size, b.h[2] + z0},
                            GroundPart::WallY, (i + lastJ) & 1, m.at(i + 1, lastJ + 1).height);
    north.normal = {0, 1, 0};
    mesh.quads.push_back(north);
  }
}

void addChecker(double size, GroundMesh& mesh) {
  const GroundGrid g = groundGrid(size);
  const double z = kGroundDrawOffset;
  for (int iy = 0; iy < g.n; ++iy) {
    for (int ix = 0; ix < g.n; ++ix) {
      const double x0 = ix * g.step, y0 = iy * g.step, x1 = x0 + g.step, y1 = y0 + g.step;
      mesh.quads.push_back(quad({x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}, GroundPart::Tile, (ix + iy) & 1, 0));
    }
  }
}

void addTeleportBand(double size, GroundMesh& mesh) {
  const double z = kGroundDrawOffset, lo = -kTeleportBand, hi = size + kTeleportBand;
  auto band = [&](double x0, double y0, double x1, double y1) {
    mesh.quads.push_back(quad({x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}, GroundPart::Band, 0, 0));
  };
  band(lo, lo, hi, 0);
  band(lo, size, hi, hi);
  band(lo, 0, 0, size);
  band(size, 0, hi, size);
}

void addFence(double size, GroundMesh& mesh) {
  const GroundGrid g = groundGrid(size);
  const double postTop = kPostHeightShare * g.step, railZ = kRailHeightShare * g.step;
  const double z0 = kGroundDrawOffset;
  auto box = [&](Vec3 lo, Vec3 hi) { mesh.fence.push_back({lo, hi}); };
  for (int k = 0; k < g.n; ++k) {
    const double t = k * g.step;
    const double t1 = std::fmin(t + g.step, size);
    // Posts at t along the four edges.
    box({t - kPostHalf, -kPostHalf, z0}, {t + kPostHalf, kPostHalf, postTop});
    box({t - kPostHalf, size - kPostHalf, z0}, {t + kPostHalf, size + kPostHalf, postTop});
    box({-kPostHalf, t - kPostHalf, z0}, {kPostHalf, t + kPostHalf, postTop});
    box({size - kPostHalf, t - kPostHalf, z0}, {size + kPostHalf, t + kPostHalf, postTop});
    // Rails from t to the next post.
    box({t, -kRailHalf, railZ - kRailHalf}, {t1, kRailHalf, railZ + kRailHalf});
    box({t, size - kRailHalf, railZ - kRailHalf}, {t1, size + kRailHalf, railZ + kRailHalf});
    box({-kRailHalf, t, railZ - kRailHalf}, {kRailHalf, t1, railZ + kRailHalf});
    box({size - kRailHalf, t, railZ - kRailHalf}, {size + kRailHalf, t1, railZ + kRailHalf});
  }
}

}  // namespace

GroundGrid groundGrid(double size) {
  double s = size;
  while (s > kGridSideMax) s *= 0.5;
  const int n = s >= 1 ? static_cast<int>(s) : 1;
  return {n, size / n + kGridStepSlack};
}

GroundMesh buildGroundMesh(const world& w, bool checker) {
  GroundMesh mesh;
  const double size = w.activeSize();
  if (w.boundaries() == BOUNDARY_FENCE) addFence(size, mesh);
  if (w.boundaries() == BOUNDARY_TELEPORT) addTeleportBand(size, mesh);
  if (w.activeType() == WORLD_BLOCKS && w.columns() > 0) {
    addBlocks(w, mesh);
    addSkirt(w, mesh);
  } else if (checker) {
    addChecker(size, mesh);
  }
  return mesh;
}

}  // namespace vorlund

// Where the ground of a blocks world puts four points at once, one per lane
// of the AVX registers, in a file of its own built for AVX: each lane does
// what the world's test of a point over the grid does, operation for
// operation. Plain types only, as in stick_springs_avx.h.
#pragma once

#include "world/map_cell.h"

namespace vorlund {

// Points looked up together: one per lane.
inline constexpr int kGroundLanes = 4;

// The world's cells as the lanes read them; the world that owns them keeps it.
struct BlockGrid {
  const MapCell* cells;  // row by row, a ring of two level cells around the map's own
  int columns;           // cells per row
  int lastColumn;        // the highest world cell a point can fall in, along x
  int lastRow;           // and along y
  double cellWidth;
  double cellDepth;
  double size;  // side of the square the grid covers
};

// The lanes' answers, lane i as bit i.
struct GroundLanes {
  int inside;   // the point lies inside the ground
  int offGrid;  // beyond the square or not a number: no answer given
};

// Lane i's point is p[axis][i]. For a point over the grid (inside the square),
// writes where the ground puts it to q[axis][i] (the point itself when it is
// above the ground) and says whether it is inside; the caller asks the world
// about the others.
GroundLanes blockGroundAvx(const BlockGrid& grid, const double (&p)[3][kGroundLanes],
                           double (&q)[3][kGroundLanes]);
// The same, built for AVX-512VL (see lane_math_avx.h), the same bits.
GroundLanes blockGroundAvx512(const BlockGrid& grid, const double (&p)[3][kGroundLanes],
                              double (&q)[3][kGroundLanes]);

// The same for points at four addresses (x, y, z, and a fourth double
// readable after them), read straight into the lanes.
GroundLanes blockGroundAtAvx(const BlockGrid& grid, const double* const (&at)[kGroundLanes],
                             double (&q)[3][kGroundLanes]);
GroundLanes blockGroundAtAvx512(const BlockGrid& grid, const double* const (&at)[kGroundLanes],
                                double (&q)[3][kGroundLanes]);

// world::sameCell for four pairs of points, at positions with a fourth
// double readable after them: the bits of the lanes whose points lie in
// different cell columns of the grid (or are not numbers).
int otherCellsAvx(const BlockGrid& grid, const double* const (&a)[kGroundLanes],
                  const double* const (&b)[kGroundLanes]);
int otherCellsAvx512(const BlockGrid& grid, const double* const (&a)[kGroundLanes],
                     const double* const (&b)[kGroundLanes]);

}  // namespace vorlund

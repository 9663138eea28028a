// A blocks terrain as a grid of cells, made from a map text:
//   "m <sizex> <sizey> digits"  a drawn map, top row first;
//   "r <sizex> <sizey> [seed]"  a random map from the seeded terrain generator.
// The grid has a ring of two level cells at height 0 around the map's own cells,
// so that every cell of the map has four neighbours to look at.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "world/map_cell.h"

namespace vorlund {

// Largest number of map cells along either side. Nothing in the world needs more,
// and it keeps a short map text from asking for gigabytes of cells.
constexpr int kMapSideMax = 1000;

// Map heights are digits around this zero: "0" is -5, "5" is 0, "9" is 4.
constexpr int kMapHeightZeroDigit = 5;
// Random maps draw their heights from this many levels, -5 to 4.
constexpr int kRandomMapLevels = 10;

struct BlockMap {
  int nx = 0;       // map cells along x
  int ny = 0;       // map cells along y
  int columns = 0;  // nx + 4
  int rows = 0;     // ny + 4
  std::vector<MapCell> cells;  // row by row: index = columns * row + column

  const MapCell& at(int column, int row) const { return cells[static_cast<std::size_t>(columns * row + column)]; }
  MapCell& at(int column, int row) { return cells[static_cast<std::size_t>(columns * row + column)]; }
};

// Fills `out` with the grid that `text` describes and returns true. A text that
// describes no map leaves `out` empty, says why in `problem` and returns false.
bool buildBlockMap(std::string_view text, BlockMap& out, std::string& problem);

}  // namespace vorlund

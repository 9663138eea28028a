// A cell of a blocks terrain: its kind and height. Plain data, so that the
// AVX lanes that read the cells may include it.
#pragma once

#include <cstdint>

namespace vorlund {

// Kinds of a cell.
constexpr int32_t CELL_LEVEL = 0;   // flat top at the cell's height
constexpr int32_t CELL_RAMP_X = 1;  // slopes from the left to the right neighbour
constexpr int32_t CELL_RAMP_Y = 2;  // slopes from the neighbour below to the one above

struct MapCell {
  int32_t kind = CELL_LEVEL;
  double height = 0.0;  // for a ramp: the middle of its slope
};

}  // namespace vorlund

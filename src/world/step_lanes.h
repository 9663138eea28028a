// The step's AVX lanes on the vector path in use, as one set of entry
// points: the AVX build or the AVX-512VL build of the same lanes (see
// lane_math_avx.h), or none on the paths without lanes. The callers ask here
// rather than for the path itself.
#pragma once

#include "world/block_ground_avx.h"
#include "world/box_sweep_avx.h"
#include "world/end_motion_avx.h"
#include "world/end_pairs_avx.h"
#include "world/stick_springs_avx.h"

namespace vorlund {

struct StepLanes {
  decltype(&stickSpringsAvx) stickSprings;
  decltype(&stickSpringsEightAvx512) stickSpringsEight;  // null where the registers hold four
  decltype(&moveEndsAvx) moveEnds;
  decltype(&moveEightEndsAvx512) moveEightEnds;  // null where the registers hold four
  decltype(&nearEndPairsAvx) nearEndPairs;
  decltype(&blockGroundAvx) blockGround;
  decltype(&blockGroundAtAvx) blockGroundAt;
  decltype(&otherCellsAvx) otherCells;
  decltype(&laterOverlapsAvx) laterOverlaps;
};

// The lanes of trigPath(), switched with it; null on the scalar and SSE2 paths.
const StepLanes* stepLanes();

}  // namespace vorlund

// Built for AVX-512. No header with inline functions here but the lanes' own
// (see stick_springs_avx.h).
//
// Eight sticks at once: three frames multiplied and their errors crossed are
// many products per stick, and eight lanes take each of them once for twice
// the sticks that four do.
#include "world/stick_springs_lanes.h"

namespace vorlund {

static_assert(kWideLanes == kWideSpringLanes);

void stickSpringsEightAvx512(const SpringLane (&lanes)[kWideSpringLanes], const SpringRules& rules,
                             double (&out)[kSpringOutputs][kWideSpringLanes]) {
  springLanes<EightLanes>(lanes, rules, out);
}

}  // namespace vorlund
